// `tikmeter results FOLDER`: the results of a destination folder (its Resultaat.csv, or the
// lines of an older Resultaat.res), the latest marking of each test, as an aligned table
// with the class summary below it; --csv and --json print the same rows for other programs.
#include "cli/Commands.h"
#include "documents/DocumentError.h"
#include "documents/Utf8.h"
#include "engine/ClassResults.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace tikmeter::cli {

namespace {

using documents::toUtf8;
using engine::ResultColumn;

struct ResultsOptions {
    std::string folder;
    bool csv = false;
    bool json = false;
    bool all = false;
};

// The characters of UTF-8 text (continuation bytes do not count).
std::size_t displayWidth(const std::string& text) {
    std::size_t width = 0;
    for (const char c : text) {
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return width;
}

std::string tenthsText(const std::optional<engine::Tenths>& value) {
    return value ? toUtf8(engine::oneDecimalText(*value)) : "-";
}

std::string tableText(const std::vector<engine::ResultRow>& rows) {
    std::vector<std::vector<std::string>> cells(1);
    for (const ResultColumn column : engine::kColumnsWithoutFile) {
        cells[0].push_back(toUtf8(engine::resultColumnName(column)));
    }
    for (const engine::ResultRow& row : rows) {
        std::vector<std::string>& line = cells.emplace_back();
        for (const ResultColumn column : engine::kColumnsWithoutFile) {
            line.push_back(toUtf8(engine::resultFieldText(row, column)));
        }
    }
    std::vector<std::size_t> widths(std::size(engine::kColumnsWithoutFile), 0);
    for (const auto& line : cells) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            widths[i] = std::max(widths[i], displayWidth(line[i]));
        }
    }
    std::string text;
    for (const auto& line : cells) {
        std::string out;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const std::string padding(widths[i] - displayWidth(line[i]), ' ');
            const bool right = engine::isNumberColumn(engine::kColumnsWithoutFile[i]);
            out += (i > 0 ? "  " : "") + (right ? padding + line[i] : line[i] + padding);
        }
        text += out.substr(0, out.find_last_not_of(' ') + 1) + '\n';
    }
    return text;
}

std::string summaryText(const engine::ResultsSummary& summary) {
    std::string text = "Tests marked: " + std::to_string(summary.testsMarked);
    if (summary.failed > 0) {
        text += "  (not marked: " + std::to_string(summary.failed) + ")";
    }
    text += "\nMean WPM: " + tenthsText(summary.mean) + "  Median: " + tenthsText(summary.median) +
            "  Best: " + tenthsText(summary.best) + "  Lowest: " + tenthsText(summary.lowest) +
            '\n';
    return text;
}

nlohmann::ordered_json jsonOf(const engine::ResultRow& row) {
    nlohmann::ordered_json object;
    for (std::size_t i = 0; i < engine::kResultColumnCount; ++i) {
        const auto column = static_cast<ResultColumn>(i);
        const std::string name = toUtf8(engine::resultColumnName(column));
        if (!engine::isNumberColumn(column)) {
            object[name] = toUtf8(engine::resultFieldText(row, column));
        } else if (const std::optional<double> value = engine::resultFieldNumber(row, column)) {
            // Counts as whole numbers; WPM, final result and accuracy with their decimal.
            const bool tenths = column == ResultColumn::Wpm ||
                                column == ResultColumn::FinalResult ||
                                column == ResultColumn::Accuracy;
            object[name] = tenths ? nlohmann::ordered_json(*value)
                                  : nlohmann::ordered_json(static_cast<long long>(*value));
        } else {
            object[name] = nullptr;
        }
    }
    return object;
}

nlohmann::ordered_json jsonOf(const std::optional<engine::Tenths>& value) {
    return value ? nlohmann::ordered_json(value->toDouble()) : nlohmann::ordered_json(nullptr);
}

std::string jsonText(const std::vector<engine::ResultRow>& rows,
                     const engine::ResultsSummary& summary, engine::ResultsSource source) {
    nlohmann::ordered_json out;
    out["source"] = source == engine::ResultsSource::Csv ? "Resultaat.csv" : "Resultaat.res";
    out["rows"] = nlohmann::ordered_json::array();
    for (const engine::ResultRow& row : rows) {
        out["rows"].push_back(jsonOf(row));
    }
    nlohmann::ordered_json bands = nlohmann::ordered_json::array();
    for (const engine::WpmBand& band : summary.bands) {
        bands.push_back({{"from", band.from}, {"to", band.to}, {"count", band.count}});
    }
    out["summary"] = {{"testsMarked", summary.testsMarked},
                      {"notMarked", summary.failed},
                      {"mean", jsonOf(summary.mean)},
                      {"median", jsonOf(summary.median)},
                      {"best", jsonOf(summary.best)},
                      {"lowest", jsonOf(summary.lowest)},
                      {"bands", bands}};
    return out.dump(2) + '\n';
}

int runResults(const ResultsOptions& options) {
    std::error_code error;
    if (!std::filesystem::is_directory(options.folder, error)) {
        std::cerr << "tikmeter: " << options.folder << " is not a folder\n";
        return 1;
    }
    engine::ClassResults results;
    try {
        results = engine::readClassResults(documents::fromPath(options.folder));
    } catch (const documents::DocumentError& failure) {
        std::cerr << "tikmeter: " << failure.what() << '\n';
        return 1;
    }
    if (results.source == engine::ResultsSource::None) {
        std::cerr << "tikmeter: no Resultaat.csv or Resultaat.res in " << options.folder << '\n';
        return 1;
    }
    if (results.skipped > 0) {
        std::cerr << "tikmeter: " << results.skipped
                  << " line(s) of the results could not be read\n";
    }
    const std::vector<engine::ResultRow>& rows = options.all ? results.all : results.latest;
    const engine::ResultsSummary summary = engine::summarize(results.latest);
    std::string output;
    if (options.csv) {
        output = engine::resultsCsvHeader();
        for (const engine::ResultRow& row : rows) {
            output += engine::resultsCsvRow(row);
        }
    } else if (options.json) {
        output = jsonText(rows, summary, results.source);
    } else {
        output = tableText(rows) + '\n' + summaryText(summary);
    }
    return printOutput(output);
}

} // namespace

void registerResultsCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<ResultsOptions>();
    CLI::App* results = app.add_subcommand(
        "results", "Print the results of a destination folder: the latest marking of each test "
                   "and the class summary (from Resultaat.csv, else Resultaat.res)");
    results->add_option("FOLDER", options->folder, "Destination folder")->required();
    CLI::Option* csv = results->add_flag("--csv", options->csv, "The rows as CSV");
    results->add_flag("--json", options->json, "The rows and the summary as JSON")->excludes(csv);
    results->add_flag("--all", options->all, "Every marking, not only the latest of each test");
    results->callback([options, &action] { action = [options] { return runResults(*options); }; });
}

} // namespace tikmeter::cli
