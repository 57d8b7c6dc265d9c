#include "engine/ResultsCsv.h"

#include "documents/FileIo.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"

#include <array>
#include <ctime>
#include <filesystem>

namespace tikmeter::engine {

namespace {

constexpr std::array<std::u16string_view, kResultColumnCount> kColumnNames = {
    u"Student",      u"File",       u"Language", u"Keystrokes", u"Gross words",
    u"Word errors",  u"Penalties",  u"Errors",   u"Net words",  u"WPM",
    u"Final result", u"Accuracy %", u"Status",   u"Marked at",
};

constexpr std::u16string_view kFailureEnd = u"  0  wpm";
constexpr std::u16string_view kResultEnd = u" wpm";
constexpr std::u16string_view kResultGap = u"   ";

// "-0.5", "16", or with oneDecimal "16.0".
std::u16string decimalText(Tenths value, bool oneDecimal) {
    const bool negative = value.tenths < 0;
    const unsigned long long size = negative ? 0ULL - static_cast<unsigned long long>(value.tenths)
                                             : static_cast<unsigned long long>(value.tenths);
    std::u16string text = negative ? u"-" : u"";
    text += plainText(static_cast<long long>(size / 10));
    if (oneDecimal || size % 10 != 0) {
        text += u'.';
        text += static_cast<char16_t>(u'0' + size % 10);
    }
    return text;
}

template <typename T> std::u16string optionalText(const std::optional<T>& value) {
    return value ? plainText(*value) : std::u16string();
}

std::u16string optionalDecimal(const std::optional<Tenths>& value, bool oneDecimal) {
    return value ? decimalText(*value, oneDecimal) : std::u16string();
}

bool needsQuotes(std::u16string_view field) {
    if (field.empty()) {
        return false;
    }
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    return field.find_first_of(u",\"\r\n") != std::u16string_view::npos || blank(field.front()) ||
           blank(field.back());
}

std::string csvField(std::u16string_view field) {
    if (!needsQuotes(field)) {
        return documents::toUtf8(field);
    }
    std::u16string quoted = u"\"";
    for (const char16_t c : field) {
        quoted += c;
        if (c == u'"') {
            quoted += c;
        }
    }
    quoted += u'"';
    return documents::toUtf8(quoted);
}

std::string csvLine(const std::array<std::u16string, kResultColumnCount>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += csvField(fields[i]);
    }
    line += "\r\n";
    return line;
}

// The file name without its last extension ("jan.rug" gives "jan", ".rug" stays).
std::u16string studentOf(std::u16string_view file) {
    const std::u16string name = documents::fileNameOf(file);
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A signed number with at most one decimal, as the result line writes it.
std::optional<Tenths> resultNumber(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u' ')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    long long tenths = 0;
    std::size_t digits = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && digits < 10; ++i, ++digits) {
        tenths = tenths * 10 + (text[i] - u'0');
    }
    tenths *= 10;
    if (i + 2 == text.size() && text[i] == u'.' && text[i + 1] >= u'0' && text[i + 1] <= u'9') {
        tenths += text[i + 1] - u'0';
        i += 2;
    }
    if (digits == 0 || i != text.size()) {
        return std::nullopt;
    }
    return Tenths{negative ? -tenths : tenths};
}

} // namespace

bool isFailed(const ResultRow& row) {
    return !row.finalResult && !row.wpm;
}

bool isUnreliable(const ResultRow& row) {
    return row.status == kUnreliableStatus;
}

std::u16string_view resultColumnName(ResultColumn column) {
    return kColumnNames[static_cast<std::size_t>(column)];
}

bool isNumberColumn(ResultColumn column) {
    return column >= ResultColumn::Keystrokes && column <= ResultColumn::Accuracy;
}

std::u16string resultFieldText(const ResultRow& row, ResultColumn column) {
    switch (column) {
    case ResultColumn::Student:
        return row.student;
    case ResultColumn::File:
        return row.file;
    case ResultColumn::Language:
        return row.language;
    case ResultColumn::Keystrokes:
        return optionalText(row.keystrokes);
    case ResultColumn::GrossWords:
        return optionalText(row.grossWords);
    case ResultColumn::WordErrors:
        return optionalText(row.wordErrors);
    case ResultColumn::Penalties:
        return optionalText(row.penalties);
    case ResultColumn::Errors:
        return optionalText(row.errors);
    case ResultColumn::NetWords:
        return optionalText(row.netWords);
    case ResultColumn::Wpm:
        return optionalDecimal(row.wpm, true);
    case ResultColumn::FinalResult:
        return optionalDecimal(row.finalResult, false);
    case ResultColumn::Accuracy:
        return optionalDecimal(row.accuracy, true);
    case ResultColumn::Status:
        return row.status;
    case ResultColumn::MarkedAt:
        return row.markedAt;
    }
    return {};
}

std::optional<double> resultFieldNumber(const ResultRow& row, ResultColumn column) {
    const auto whole = [](const std::optional<long long>& value) -> std::optional<double> {
        return value ? std::optional<double>(static_cast<double>(*value)) : std::nullopt;
    };
    const auto tenths = [](const std::optional<Tenths>& value) -> std::optional<double> {
        return value ? std::optional<double>(value->toDouble()) : std::nullopt;
    };
    switch (column) {
    case ResultColumn::Keystrokes:
        return whole(row.keystrokes);
    case ResultColumn::GrossWords:
        return whole(row.grossWords);
    case ResultColumn::WordErrors:
        return whole(row.wordErrors);
    case ResultColumn::Penalties:
        return whole(row.penalties);
    case ResultColumn::Errors:
        return whole(row.errors);
    case ResultColumn::NetWords:
        return whole(row.netWords);
    case ResultColumn::Wpm:
        return tenths(row.wpm);
    case ResultColumn::FinalResult:
        return tenths(row.finalResult);
    case ResultColumn::Accuracy:
        return tenths(row.accuracy);
    default:
        return std::nullopt;
    }
}

std::u16string oneDecimalText(Tenths value) {
    return decimalText(value, true);
}

std::optional<Tenths> accuracyOf(long long netWords, long long grossWords) {
    if (grossWords <= 0) {
        return std::nullopt;
    }
    if (netWords <= 0) {
        return Tenths{0};
    }
    if (netWords >= grossWords) {
        return Tenths{1000};
    }
    // 0 < net < gross, and a word count is far below the range where 1000 x net overflows.
    return Tenths{roundHalfEven(netWords * 1000, grossWords)};
}

std::string resultsCsvHeader() {
    std::array<std::u16string, kResultColumnCount> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = std::u16string(kColumnNames[i]);
    }
    return csvLine(names);
}

std::string resultsCsvRow(const ResultRow& row) {
    std::array<std::u16string, kResultColumnCount> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i] = resultFieldText(row, static_cast<ResultColumn>(i));
    }
    return csvLine(fields);
}

std::u16string markedAtText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return std::u16string(text, text + length);
}

std::optional<ResultRow> resultRowOf(const TestOutcome& outcome, std::u16string markedAt) {
    if (!outcome.resultLine) {
        return std::nullopt;
    }
    const std::optional<ResultRow> fromLine = resultRowOfLine(*outcome.resultLine);
    ResultRow row;
    row.file = outcome.markedPath.empty() && fromLine ? fromLine->file : outcome.markedPath;
    if (outcome.marks) {
        const TestMarks& marks = *outcome.marks;
        row.language = marks.language == Language::English ? u"English" : u"Afrikaans";
        row.keystrokes = marks.keystrokeCount;
        row.grossWords = marks.grossWords;
        row.wordErrors = marks.wordErrors;
        row.penalties = static_cast<long long>(marks.penalties.size());
        row.errors = marks.errorCount;
        row.netWords = marks.netWords;
        // The words per minute before the result format rounds them: net words / 10.
        row.wpm = Tenths{marks.netWords};
        row.finalResult = resultNumber(marks.finalResultText);
        row.accuracy = accuracyOf(marks.netWords, marks.grossWords);
    } else if (fromLine) {
        // A failure line names the list entry's path with ".rug" at its end.
        row.file = fromLine->file;
    }
    row.student = studentOf(row.file);
    row.status = outcome.status;
    row.markedAt = std::move(markedAt);
    return row;
}

std::optional<ResultRow> resultRowOfLine(std::u16string_view line) {
    ResultRow row;
    if (line.ends_with(kFailureEnd)) {
        row.file = line.substr(0, line.size() - kFailureEnd.size());
    } else if (line.ends_with(kResultEnd)) {
        // The path, three spaces, the signed result, " wpm": read from the end, since the
        // path may hold spaces of its own.
        line.remove_suffix(kResultEnd.size());
        const std::size_t sign = line.find_last_not_of(u"0123456789.");
        if (sign == std::u16string_view::npos || sign <= kResultGap.size() ||
            line.substr(sign - kResultGap.size(), kResultGap.size()) != kResultGap) {
            return std::nullopt;
        }
        row.finalResult = resultNumber(line.substr(sign));
        if (!row.finalResult) {
            return std::nullopt;
        }
        row.file = std::u16string(line.substr(0, sign - kResultGap.size())) + u".rug";
    } else {
        return std::nullopt;
    }
    if (row.file.empty()) {
        return std::nullopt;
    }
    row.student = studentOf(row.file);
    return row;
}

void appendResultRow(std::u16string_view destPath, const ResultRow& row) {
    appendResultRows(destPath, {row});
}

void appendResultRows(std::u16string_view destPath, const std::vector<ResultRow>& rows) {
    const std::filesystem::path path =
        documents::toPath(documents::joinPath(destPath, kResultsCsvName));
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::string bytes;
    if (error || size == 0) {
        bytes = "\xEF\xBB\xBF" + resultsCsvHeader();
    }
    for (const ResultRow& row : rows) {
        bytes += resultsCsvRow(row);
    }
    // Made durable with the result lines, by the session's last sync.
    documents::appendWhole(path, bytes, false);
}

} // namespace tikmeter::engine
