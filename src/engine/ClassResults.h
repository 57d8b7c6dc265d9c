#pragma once

#include "engine/ResultsCsv.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The results of a class, read back from a destination folder: its "Resultaat.csv", or for
// a folder marked before that file existed, the lines of its "Resultaat.res".
namespace tikmeter::engine {

enum class ResultsSource {
    None,       // the folder has neither file
    Csv,        // read from Resultaat.csv
    ResultFile, // read from Resultaat.res: names and final results only
};

struct ClassResults {
    ResultsSource source = ResultsSource::None;
    // Every marking, oldest first, as the file lists them.
    std::vector<ResultRow> all;
    // The latest marking of each test file, in the order the files were first marked.
    std::vector<ResultRow> latest;
    // Rows or lines that could not be read: a row with the wrong number of fields, an
    // unclosed quote, a line of another shape. A CSV file without a "Student" column in its
    // first row is not a results file: every row of it is skipped.
    std::size_t skipped = 0;
};

// Reads the results of the destination folder. Resultaat.csv is read when it exists, else
// Resultaat.res; a folder with neither gives no rows. A file that exists but cannot be read
// throws DocumentError.
ClassResults readClassResults(std::u16string_view folder);

// The rows of the bytes of a Resultaat.csv: UTF-8 (with or without a byte order mark; bytes
// that are not UTF-8 are read as Windows-1252), RFC 4180 quoting, CR LF or LF line ends,
// columns found by the names in the header row, commas or (as some spreadsheet programs
// save) semicolons between fields.
ClassResults parseResultsCsv(std::string_view bytes);
// The rows of the bytes of a Resultaat.res: Windows-1252, CR LF line ends.
ClassResults parseResultFile(std::string_view bytes);

// The latest row of each test file (rows without a file are told apart by student), in the
// order the files first appear.
std::vector<ResultRow> latestPerFile(const std::vector<ResultRow>& rows);

// The words per minute a row counts with in a summary: its WPM, else its final result.
std::optional<Tenths> wpmOf(const ResultRow& row);

// A band of the chart: the tests with from <= WPM < to.
struct WpmBand {
    long long from = 0;
    long long to = 0;
    std::size_t count = 0;
    bool operator==(const WpmBand&) const = default;
};

struct ResultsSummary {
    std::size_t testsMarked = 0; // rows with a result
    std::size_t failed = 0;      // rows of tests too short or too long
    std::optional<Tenths> mean;  // rounded half to even to a tenth
    std::optional<Tenths> median;
    std::optional<Tenths> best;
    std::optional<Tenths> lowest;
    // Consecutive bands of equal width (10 WPM, wider when more than 20 bands would be
    // needed) from the lowest result's band to the best result's.
    std::vector<WpmBand> bands;
};

ResultsSummary summarize(const std::vector<ResultRow>& rows);

} // namespace tikmeter::engine
