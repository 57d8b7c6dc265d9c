#pragma once

#include "engine/NumberText.h"
#include "engine/TestOutcome.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// "Resultaat.csv" in a destination folder: one row per result line of "Resultaat.res", with
// every number of the marking, for a mark book or a spreadsheet. The file is UTF-8 with a
// byte order mark (so spreadsheet programs read accented names right), comma separated,
// quoted as RFC 4180 says, with a full stop as decimal mark and CR LF line ends. Like the
// result file it is only ever appended to, a whole row at a time.
namespace tikmeter::engine {

inline constexpr std::u16string_view kResultsCsvName = u"Resultaat.csv";

// The columns, in the file's order.
enum class ResultColumn {
    Student,
    File,
    Language,
    Keystrokes,
    GrossWords,
    WordErrors,
    Penalties,
    Errors,
    NetWords,
    Wpm,
    FinalResult,
    Accuracy,
    Status,
    MarkedAt,
};
inline constexpr std::size_t kResultColumnCount = 14;

// The columns where space is short (a printed report, a terminal): all but the file's path,
// which is long, while the student's name already says which test a row is.
inline constexpr ResultColumn kColumnsWithoutFile[] = {
    ResultColumn::Student,     ResultColumn::Language,   ResultColumn::Keystrokes,
    ResultColumn::GrossWords,  ResultColumn::WordErrors, ResultColumn::Penalties,
    ResultColumn::Errors,      ResultColumn::NetWords,   ResultColumn::Wpm,
    ResultColumn::FinalResult, ResultColumn::Accuracy,   ResultColumn::Status,
    ResultColumn::MarkedAt,
};

// The log status of a test whose marks the reliability check doubts.
inline constexpr std::u16string_view kUnreliableStatus = u"Result may not be reliable";

// One marking of one test. A test that was too short or too long has only a student, a
// file, a status and a time; a line read from "Resultaat.res" only a student, a file and a
// final result.
struct ResultRow {
    std::u16string student;  // the file name without its extension
    std::u16string file;     // the marked test (.rug), or the path a failure line names
    std::u16string language; // "Afrikaans" or "English"
    std::optional<long long> keystrokes;
    std::optional<long long> grossWords;
    std::optional<long long> wordErrors; // before the penalties
    std::optional<long long> penalties;  // how many
    std::optional<long long> errors;     // word errors and penalties
    std::optional<long long> netWords;
    std::optional<Tenths> wpm;         // net words / 10, not rounded
    std::optional<Tenths> finalResult; // the number the result line shows
    std::optional<Tenths> accuracy;    // per cent, 0 to 100
    std::u16string status;
    std::u16string markedAt; // local time, "2026-12-07 09:15"

    bool operator==(const ResultRow&) const = default;
};

// A row with no result: the test was too short or too long.
bool isFailed(const ResultRow& row);
bool isUnreliable(const ResultRow& row);

// The column's heading, as the header row has it.
std::u16string_view resultColumnName(ResultColumn column);
// True for the columns that hold numbers.
bool isNumberColumn(ResultColumn column);
// A field as the file holds it, before quoting: whole numbers plain, WPM and accuracy with
// one decimal ("16.0"), the final result in its shortest form; empty when missing.
std::u16string resultFieldText(const ResultRow& row, ResultColumn column);
// A number column's value (for sorting and charts); nothing for a text column or an empty
// field.
std::optional<double> resultFieldNumber(const ResultRow& row, ResultColumn column);

// A number with one decimal, as the WPM column writes it: "16.0", "-0.5".
std::u16string oneDecimalText(Tenths value);

// 100 x net / gross in tenths, rounded half to even and held to 0..100; nothing when gross
// is not positive.
std::optional<Tenths> accuracyOf(long long netWords, long long grossWords);

// The header row and one row, UTF-8, ended by CR LF, without the byte order mark.
std::string resultsCsvHeader();
std::string resultsCsvRow(const ResultRow& row);

// A moment as the "Marked at" column writes it: local time to the minute.
std::u16string markedAtText(std::chrono::system_clock::time_point when);

// The row of a finished test, marked at `markedAt`; nothing when the test got no result
// line (no result line, no row).
std::optional<ResultRow> resultRowOf(const TestOutcome& outcome, std::u16string markedAt);

// The row a line of "Resultaat.res" gives (student, file, final result; nothing else is in
// the line); nothing for a line of another shape.
std::optional<ResultRow> resultRowOfLine(std::u16string_view line);

// Appends the row to destPath/Resultaat.csv, with the byte order mark and the header row
// in front when the file is missing or empty, in one whole append (documents::appendWhole):
// the file gains the complete row or nothing. Throws DocumentError.
void appendResultRow(std::u16string_view destPath, const ResultRow& row);
// The same for several rows, all of them or none.
void appendResultRows(std::u16string_view destPath, const std::vector<ResultRow>& rows);

} // namespace tikmeter::engine
