#include "engine/ClassResults.h"

#include "documents/CodePages.h"
#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"

#include <algorithm>
#include <array>
#include <map>

namespace tikmeter::engine {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMostBands = 20;

std::u16string windows1252Text(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        text += documents::decodeCodePage(documents::kDefaultCodePage,
                                          static_cast<unsigned char>(byte));
    }
    return text;
}

// One record of a CSV file; `closed` is false when the file ended inside quotes.
struct Record {
    std::vector<std::u16string> fields;
    bool closed = true;
};

// Splits CSV text into records as RFC 4180 does; blank lines are left out. A quote opens
// a quoted field only at the field's start; elsewhere it is an ordinary character.
std::vector<Record> csvRecords(std::u16string_view text, char16_t separator) {
    std::vector<Record> records;
    Record record;
    std::u16string field;
    bool quoted = false;
    bool fieldStarted = false;
    const auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    const auto endRecord = [&] {
        endField();
        if (record.fields.size() > 1 || !record.fields.front().empty()) {
            records.push_back(std::move(record));
        }
        record = Record();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted || fieldStarted || !record.fields.empty()) {
        record.closed = !quoted;
        endRecord();
    }
    return records;
}

// The separator of the header line: a comma, else a semicolon or a tab when the line has
// one and no comma.
char16_t separatorOf(std::u16string_view text) {
    const std::u16string_view line = text.substr(0, text.find_first_of(u"\r\n"));
    for (const char16_t candidate : {u',', u';', u'\t'}) {
        if (line.find(candidate) != std::u16string_view::npos) {
            return candidate;
        }
    }
    return u',';
}

std::u16string_view trimmed(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](auto x, auto y) { return lower(x) == lower(y); });
}

std::optional<ResultColumn> columnNamed(std::u16string_view name) {
    for (std::size_t i = 0; i < kResultColumnCount; ++i) {
        const auto column = static_cast<ResultColumn>(i);
        if (sameName(trimmed(name), resultColumnName(column))) {
            return column;
        }
    }
    return std::nullopt;
}

// A decimal number (full stop or comma as decimal mark) in tenths, rounded half to even.
std::optional<Tenths> tenthsOf(std::u16string_view text) {
    text = trimmed(text);
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative || (!text.empty() && text.front() == u'+')) {
        text.remove_prefix(1);
    }
    long long whole = 0;
    long long fraction = 0; // the decimals read, as a whole number
    long long scale = 1;    // 10 to the number of decimals read
    bool point = false;
    std::size_t digits = 0;
    for (const char16_t c : text) {
        if (c == u'.' || c == u',') {
            if (point) {
                return std::nullopt;
            }
            point = true;
        } else if (c >= u'0' && c <= u'9' && digits < 10) {
            ++digits;
            if (!point) {
                whole = whole * 10 + (c - u'0');
            } else if (scale < 1'000'000) {
                fraction = fraction * 10 + (c - u'0');
                scale *= 10;
            }
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    const long long tenths = whole * 10 + roundHalfEven(fraction * 10, scale);
    return Tenths{negative ? -tenths : tenths};
}

std::optional<long long> wholeOf(std::u16string_view text) {
    const std::optional<Tenths> value = tenthsOf(text);
    const std::u16string_view digits = trimmed(text);
    if (!value || value->tenths % 10 != 0 ||
        digits.find_first_of(u".,") != std::u16string_view::npos) {
        return std::nullopt;
    }
    return value->tenths / 10;
}

void setField(ResultRow& row, ResultColumn column, const std::u16string& text) {
    switch (column) {
    case ResultColumn::Student:
        row.student = text;
        break;
    case ResultColumn::File:
        row.file = text;
        break;
    case ResultColumn::Language:
        row.language = text;
        break;
    case ResultColumn::Keystrokes:
        row.keystrokes = wholeOf(text);
        break;
    case ResultColumn::GrossWords:
        row.grossWords = wholeOf(text);
        break;
    case ResultColumn::WordErrors:
        row.wordErrors = wholeOf(text);
        break;
    case ResultColumn::Penalties:
        row.penalties = wholeOf(text);
        break;
    case ResultColumn::Errors:
        row.errors = wholeOf(text);
        break;
    case ResultColumn::NetWords:
        row.netWords = wholeOf(text);
        break;
    case ResultColumn::Wpm:
        row.wpm = tenthsOf(text);
        break;
    case ResultColumn::FinalResult:
        row.finalResult = tenthsOf(text);
        break;
    case ResultColumn::Accuracy:
        row.accuracy = tenthsOf(text);
        break;
    case ResultColumn::Status:
        row.status = text;
        break;
    case ResultColumn::MarkedAt:
        row.markedAt = text;
        break;
    }
}

long long floorDivide(long long value, long long divisor) {
    long long quotient = value / divisor;
    if (value % divisor != 0 && value < 0) {
        --quotient;
    }
    return quotient;
}

std::vector<WpmBand> bandsOf(const std::vector<Tenths>& sorted) {
    if (sorted.empty()) {
        return {};
    }
    long long width = 10;
    const auto bandCount = [&] {
        return floorDivide(sorted.back().tenths, width * 10) -
               floorDivide(sorted.front().tenths, width * 10) + 1;
    };
    // 10, 20, 50, 100, 200, 500, ... until the bands fit.
    for (int step = 0; bandCount() > static_cast<long long>(kMostBands); ++step) {
        width = step % 3 == 1 ? width / 2 * 5 : width * 2;
    }
    const long long first = floorDivide(sorted.front().tenths, width * 10);
    std::vector<WpmBand> bands(static_cast<std::size_t>(bandCount()));
    for (std::size_t i = 0; i < bands.size(); ++i) {
        bands[i].from = (first + static_cast<long long>(i)) * width;
        bands[i].to = bands[i].from + width;
    }
    for (const Tenths value : sorted) {
        ++bands[static_cast<std::size_t>(floorDivide(value.tenths, width * 10) - first)].count;
    }
    return bands;
}

} // namespace

ClassResults parseResultsCsv(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const std::optional<std::u16string> utf8 = documents::fromUtf8(bytes);
    const std::u16string text = utf8 ? *utf8 : windows1252Text(bytes);
    const std::vector<Record> records = csvRecords(text, separatorOf(text));

    ClassResults results;
    results.source = ResultsSource::Csv;
    if (records.empty()) {
        return results;
    }
    const std::vector<std::u16string>& header = records.front().fields;
    std::vector<std::optional<ResultColumn>> columns;
    for (const std::u16string& name : header) {
        columns.push_back(columnNamed(name));
    }
    if (std::find(columns.begin(), columns.end(), ResultColumn::Student) == columns.end()) {
        results.skipped = records.size();
        return results;
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (!record.closed || record.fields.size() != header.size()) {
            ++results.skipped;
            continue;
        }
        ResultRow row;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i]) {
                setField(row, *columns[i], record.fields[i]);
            }
        }
        results.all.push_back(std::move(row));
    }
    results.latest = latestPerFile(results.all);
    return results;
}

ClassResults parseResultFile(std::string_view bytes) {
    ClassResults results;
    results.source = ResultsSource::ResultFile;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (std::optional<ResultRow> row = resultRowOfLine(windows1252Text(line))) {
            results.all.push_back(std::move(*row));
        } else {
            ++results.skipped;
        }
    }
    results.latest = latestPerFile(results.all);
    return results;
}

ClassResults readClassResults(std::u16string_view folder) {
    const auto readIfThere = [&](std::u16string_view name) -> std::optional<std::string> {
        try {
            return documents::readWholeFile(documents::toPath(documents::joinPath(folder, name)));
        } catch (const documents::DocumentError& error) {
            if (error.kind() == documents::DocumentErrorKind::NotFound) {
                return std::nullopt;
            }
            throw;
        }
    };
    if (const std::optional<std::string> csv = readIfThere(kResultsCsvName)) {
        return parseResultsCsv(*csv);
    }
    if (const std::optional<std::string> lines = readIfThere(u"Resultaat.res")) {
        return parseResultFile(*lines);
    }
    return {};
}

std::vector<ResultRow> latestPerFile(const std::vector<ResultRow>& rows) {
    std::vector<ResultRow> latest;
    std::map<std::u16string, std::size_t> placeOf;
    for (const ResultRow& row : rows) {
        // A file path never starts with a NUL, so a student's key cannot meet a file's.
        const std::u16string key = row.file.empty() ? u'\0' + row.student : row.file;
        const auto [place, added] = placeOf.try_emplace(key, latest.size());
        if (added) {
            latest.push_back(row);
        } else {
            latest[place->second] = row;
        }
    }
    return latest;
}

std::optional<Tenths> wpmOf(const ResultRow& row) {
    return row.wpm ? row.wpm : row.finalResult;
}

ResultsSummary summarize(const std::vector<ResultRow>& rows) {
    ResultsSummary summary;
    std::vector<Tenths> values;
    for (const ResultRow& row : rows) {
        if (const std::optional<Tenths> wpm = wpmOf(row)) {
            values.push_back(*wpm);
        } else {
            ++summary.failed;
        }
    }
    summary.testsMarked = values.size();
    if (values.empty()) {
        return summary;
    }
    std::sort(values.begin(), values.end(), [](Tenths a, Tenths b) { return a.tenths < b.tenths; });
    long long sum = 0;
    for (const Tenths value : values) {
        sum += value.tenths;
    }
    const auto count = static_cast<long long>(values.size());
    const std::size_t middle = values.size() / 2;
    summary.mean = Tenths{roundHalfEven(sum, count)};
    summary.median =
        values.size() % 2 != 0
            ? values[middle]
            : Tenths{roundHalfEven(values[middle - 1].tenths + values[middle].tenths, 2)};
    summary.lowest = values.front();
    summary.best = values.back();
    summary.bands = bandsOf(values);
    return summary;
}

} // namespace tikmeter::engine
