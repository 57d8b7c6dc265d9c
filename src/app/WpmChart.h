#pragma once

#include "engine/ClassResults.h"

#include <QImage>
#include <QSize>
#include <QString>

class QChart;

namespace tikmeter::app {

// A band's label on the chart's axis: "40–50" (the upper bound belongs to the next band).
QString bandLabel(const engine::WpmBand& band);

// A bar chart of how many tests fall in each WPM band of the summary. The caller owns it.
QChart* newWpmChart(const engine::ResultsSummary& summary);

// The same chart painted on white into an image of `size` logical pixels (size x pixelRatio
// device pixels, so that it stays sharp on paper), for a printed page.
QImage wpmChartImage(const engine::ResultsSummary& summary, QSize size, qreal pixelRatio);

} // namespace tikmeter::app
