#include "app/WpmChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tikmeter::app {

QString bandLabel(const engine::WpmBand& band) {
    return QString::number(band.from) + QChar(0x2013) + QString::number(band.to);
}

QChart* newWpmChart(const engine::ResultsSummary& summary) {
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("Tests per WPM band"));
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);

    auto* tests = new QBarSet(QStringLiteral("Tests"));
    tests->setColor(QColor(0x3A, 0x7D, 0x44));
    QStringList labels;
    std::size_t most = 0;
    for (const engine::WpmBand& band : summary.bands) {
        tests->append(static_cast<qreal>(band.count));
        labels.append(bandLabel(band));
        most = std::max(most, band.count);
    }
    auto* series = new QBarSeries();
    series->append(tests);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    chart->addSeries(series);

    auto* bands = new QBarCategoryAxis();
    bands->append(labels);
    bands->setTitleText(QStringLiteral("Words per minute"));
    chart->addAxis(bands, Qt::AlignBottom);
    series->attachAxis(bands);

    // Whole numbers of tests on the count axis, at most about ten ticks.
    auto* counts = new QValueAxis();
    const auto top = static_cast<qreal>(std::max<std::size_t>(most, 1));
    counts->setRange(0, top);
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->setTickType(QValueAxis::TicksDynamic);
    counts->setTickAnchor(0);
    counts->setTickInterval(std::max<qreal>(1, std::ceil(top / 10)));
    counts->setTitleText(QStringLiteral("Tests"));
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
    return chart;
}

QImage wpmChartImage(const engine::ResultsSummary& summary, QSize size, qreal pixelRatio) {
    QImage image(size * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QGraphicsScene scene; // owns the chart
    QChart* chart = newWpmChart(summary);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    chart->layout()->activate();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), chart->geometry());
    return image;
}

} // namespace tikmeter::app
