#include "app/XlsxExport.h"

#include "documents/FileIo.h"
#include "documents/Utf8.h"

#include <xlsxwriter.h>

#include <array>
#include <memory>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace tikmeter::app {

namespace {

using engine::ResultColumn;

constexpr lxw_color_t kUnreliableFill = 0xFFE8A8;
constexpr lxw_color_t kFailedFill = 0xF4C7C3;

enum class RowKind { Marked, Unreliable, Failed };
enum class CellKind { Text, Whole, Tenths };

CellKind cellKindOf(ResultColumn column) {
    if (column == ResultColumn::Wpm || column == ResultColumn::FinalResult ||
        column == ResultColumn::Accuracy) {
        return CellKind::Tenths;
    }
    return engine::isNumberColumn(column) ? CellKind::Whole : CellKind::Text;
}

void check(lxw_error error) {
    if (error != LXW_NO_ERROR) {
        throw std::runtime_error(std::string("Excel export: ") + lxw_strerror(error));
    }
}

// A file name below the temporary folder that no other export uses.
std::filesystem::path temporaryWorkbookPath() {
    std::random_device random;
    return std::filesystem::temp_directory_path() /
           ("tikmeter-export-" + std::to_string(::getpid()) + "-" + std::to_string(random()) +
            ".xlsx");
}

class Workbook {
public:
    explicit Workbook(const std::filesystem::path& path) : workbook_(workbook_new(path.c_str())) {
        if (workbook_ == nullptr) {
            throw std::runtime_error("Excel export: cannot create " + path.string());
        }
    }
    ~Workbook() {
        if (workbook_ != nullptr) {
            workbook_close(workbook_);
        }
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return workbook_; }
    // Writes the file and frees the workbook.
    void close() {
        lxw_workbook* workbook = workbook_;
        workbook_ = nullptr;
        check(workbook_close(workbook));
    }

private:
    lxw_workbook* workbook_;
};

// The formats of the result cells: one per kind of row and kind of cell.
class CellFormats {
public:
    explicit CellFormats(lxw_workbook* workbook) {
        for (std::size_t row = 0; row < 3; ++row) {
            for (std::size_t cell = 0; cell < 3; ++cell) {
                lxw_format* format = workbook_add_format(workbook);
                if (cell == static_cast<std::size_t>(CellKind::Whole)) {
                    format_set_num_format(format, "0");
                } else if (cell == static_cast<std::size_t>(CellKind::Tenths)) {
                    format_set_num_format(format, "0.0");
                }
                if (row != static_cast<std::size_t>(RowKind::Marked)) {
                    format_set_pattern(format, LXW_PATTERN_SOLID);
                    format_set_bg_color(format, row == static_cast<std::size_t>(RowKind::Failed)
                                                    ? kFailedFill
                                                    : kUnreliableFill);
                }
                formats_[row][cell] = format;
            }
        }
    }
    lxw_format* operator()(RowKind row, CellKind cell) const {
        return formats_[static_cast<std::size_t>(row)][static_cast<std::size_t>(cell)];
    }

private:
    std::array<std::array<lxw_format*, 3>, 3> formats_{};
};

RowKind rowKindOf(const engine::ResultRow& row) {
    if (engine::isFailed(row)) {
        return RowKind::Failed;
    }
    return engine::isUnreliable(row) ? RowKind::Unreliable : RowKind::Marked;
}

void writeResultsSheet(lxw_workbook* workbook, const std::vector<engine::ResultRow>& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Results");
    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    const CellFormats formats(workbook);
    for (std::size_t c = 0; c < engine::kResultColumnCount; ++c) {
        const auto column = static_cast<ResultColumn>(c);
        const auto col = static_cast<lxw_col_t>(c);
        check(worksheet_write_string(
            sheet, 0, col, documents::toUtf8(engine::resultColumnName(column)).c_str(), heading));
        const double width = column == ResultColumn::File     ? 40
                             : column == ResultColumn::Status ? 26
                                                              : 13;
        check(worksheet_set_column(sheet, col, col, width, nullptr));
    }
    lxw_row_t line = 1;
    for (const engine::ResultRow& row : rows) {
        const RowKind kind = rowKindOf(row);
        for (std::size_t c = 0; c < engine::kResultColumnCount; ++c) {
            const auto column = static_cast<ResultColumn>(c);
            const auto col = static_cast<lxw_col_t>(c);
            const CellKind cell = cellKindOf(column);
            lxw_format* format = formats(kind, cell);
            if (cell == CellKind::Text) {
                check(worksheet_write_string(
                    sheet, line, col,
                    documents::toUtf8(engine::resultFieldText(row, column)).c_str(), format));
            } else if (const std::optional<double> value = engine::resultFieldNumber(row, column)) {
                check(worksheet_write_number(sheet, line, col, *value, format));
            } else {
                check(worksheet_write_blank(sheet, line, col, format));
            }
        }
        ++line;
    }
    worksheet_freeze_panes(sheet, 1, 0);
    check(worksheet_autofilter(sheet, 0, 0, line - 1,
                               static_cast<lxw_col_t>(engine::kResultColumnCount - 1)));
}

void writeSummarySheet(lxw_workbook* workbook, const engine::ResultsSummary& summary,
                       const std::string& className, const std::string& date) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Summary");
    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    lxw_format* tenths = workbook_add_format(workbook);
    format_set_num_format(tenths, "0.0");
    check(worksheet_set_column(sheet, 0, 0, 18, nullptr));
    check(worksheet_set_column(sheet, 1, 1, 14, nullptr));

    lxw_row_t line = 0;
    const auto text = [&](const char* caption, const std::string& value) {
        check(worksheet_write_string(sheet, line, 0, caption, heading));
        check(worksheet_write_string(sheet, line++, 1, value.c_str(), nullptr));
    };
    const auto number = [&](const char* caption, std::optional<double> value, lxw_format* format) {
        check(worksheet_write_string(sheet, line, 0, caption, heading));
        if (value) {
            check(worksheet_write_number(sheet, line, 1, *value, format));
        }
        ++line;
    };
    const auto wpm = [](const std::optional<engine::Tenths>& value) {
        return value ? std::optional(value->toDouble()) : std::nullopt;
    };
    text("Class", className);
    text("Date", date);
    number("Tests marked", static_cast<double>(summary.testsMarked), nullptr);
    number("Not marked", static_cast<double>(summary.failed), nullptr);
    number("Mean WPM", wpm(summary.mean), tenths);
    number("Median WPM", wpm(summary.median), tenths);
    number("Best WPM", wpm(summary.best), tenths);
    number("Lowest WPM", wpm(summary.lowest), tenths);

    ++line;
    const lxw_row_t bandHeading = line;
    check(worksheet_write_string(sheet, line, 0, "WPM band", heading));
    check(worksheet_write_string(sheet, line++, 1, "Tests", heading));
    for (const engine::WpmBand& band : summary.bands) {
        const std::string label =
            std::to_string(band.from) + "\xE2\x80\x93" + std::to_string(band.to);
        check(worksheet_write_string(sheet, line, 0, label.c_str(), nullptr));
        check(worksheet_write_number(sheet, line++, 1, static_cast<double>(band.count), nullptr));
    }
    if (summary.bands.empty()) {
        return;
    }
    lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_COLUMN);
    lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
    chart_series_set_categories(series, "Summary", bandHeading + 1, 0, line - 1, 0);
    chart_series_set_values(series, "Summary", bandHeading + 1, 1, line - 1, 1);
    chart_title_set_name(chart, "Tests per WPM band");
    chart_axis_set_name(chart->x_axis, "Words per minute");
    chart_axis_set_name(chart->y_axis, "Tests");
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    check(worksheet_insert_chart(sheet, 0, 3, chart));
}

} // namespace

void writeResultsWorkbook(const std::filesystem::path& target,
                          const std::vector<engine::ResultRow>& rows,
                          const engine::ResultsSummary& summary, const std::string& className,
                          const std::string& date) {
    const std::filesystem::path temporary = temporaryWorkbookPath();
    struct RemoveTemporary {
        const std::filesystem::path& path;
        ~RemoveTemporary() {
            std::error_code error;
            std::filesystem::remove(path, error);
        }
    } removeTemporary{temporary};

    Workbook workbook(temporary);
    lxw_doc_properties properties{};
    std::string title = "Class results: " + className;
    properties.title = title.data();
    check(workbook_set_properties(workbook.get(), &properties));
    writeResultsSheet(workbook.get(), rows);
    writeSummarySheet(workbook.get(), summary, className, date);
    workbook.close();
    documents::writeFileAtomically(target, documents::readWholeFile(temporary));
}

} // namespace tikmeter::app
