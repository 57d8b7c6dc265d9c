#pragma once

#include "engine/ClassResults.h"

#include <QString>

#include <vector>

class QPrinter;
class QTextDocument;

namespace tikmeter::app {

// What the printed class report shows.
struct ClassReport {
    QString className; // the destination folder's name
    QString folder;    // its path
    QString date;      // the day it is printed, "2026-12-07"
    engine::ResultsSummary summary;
    std::vector<engine::ResultRow> rows; // in the order the table shows them
};

// The report as a document: heading, date and folder, summary, the chart of WPM bands and
// the table of results (every column but the file path), unreliable and unmarked rows
// shaded. `pageWidth` is the width the chart image is made for, in the document's units.
void buildClassReport(const ClassReport& report, QTextDocument& document, qreal pageWidth);

// Prints the report on `printer` (landscape, one or two pages for a class).
void printClassReport(const ClassReport& report, QPrinter& printer);

} // namespace tikmeter::app
