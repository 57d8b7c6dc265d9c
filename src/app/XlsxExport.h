#pragma once

#include "engine/ClassResults.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tikmeter::app {

// Writes a class's results as an Excel workbook (.xlsx): a "Results" sheet with a header
// row (frozen, with a filter), one row per result with numbers as numbers (whole counts,
// WPM and accuracy with one decimal) and the rows of unreliable and unmarked tests shaded
// as in the results view; and a "Summary" sheet with the class, the date, the summary,
// the WPM bands and a column chart of them. Texts are written as text, never as formulas.
// The workbook is built in a temporary file and then written to `target` atomically.
// Throws std::runtime_error or documents::DocumentError on failure.
void writeResultsWorkbook(const std::filesystem::path& target,
                          const std::vector<engine::ResultRow>& rows,
                          const engine::ResultsSummary& summary, const std::string& className,
                          const std::string& date);

} // namespace tikmeter::app
