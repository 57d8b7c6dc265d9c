#include "app/ClassReport.h"

#include "app/TextConvert.h"
#include "app/WpmChart.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

namespace tikmeter::app {

namespace {

using engine::ResultColumn;

// The part of the page's width the chart takes.
constexpr qreal kChartShare = 0.6;

QString wpmText(const std::optional<engine::Tenths>& value) {
    return value ? toQString(engine::oneDecimalText(*value)) : QStringLiteral("-");
}

QString summaryHtml(const engine::ResultsSummary& summary) {
    QString html = QStringLiteral("<table cellpadding=\"3\"><tr>");
    const auto item = [&](const QString& caption, const QString& value) {
        html += QStringLiteral("<td>") + caption + QStringLiteral(": <b>") + value +
                QStringLiteral("</b>&nbsp;&nbsp;&nbsp;</td>");
    };
    item(QStringLiteral("Tests marked"), QString::number(summary.testsMarked));
    if (summary.failed > 0) {
        item(QStringLiteral("Not marked"), QString::number(summary.failed));
    }
    item(QStringLiteral("Mean WPM"), wpmText(summary.mean));
    item(QStringLiteral("Median WPM"), wpmText(summary.median));
    item(QStringLiteral("Best WPM"), wpmText(summary.best));
    item(QStringLiteral("Lowest WPM"), wpmText(summary.lowest));
    return html + QStringLiteral("</tr></table>");
}

QString tableHtml(const std::vector<engine::ResultRow>& rows) {
    QString html =
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\" "
                       "style=\"border-collapse: collapse; font-size: 7.5pt;\"><tr>");
    for (const ResultColumn column : engine::kColumnsWithoutFile) {
        html += QStringLiteral("<th bgcolor=\"#e8e8e8\">") +
                toQString(std::u16string(engine::resultColumnName(column))).toHtmlEscaped() +
                QStringLiteral("</th>");
    }
    html += QStringLiteral("</tr>");
    for (const engine::ResultRow& row : rows) {
        const QString shade = engine::isFailed(row)       ? QStringLiteral(" bgcolor=\"#f4c7c3\"")
                              : engine::isUnreliable(row) ? QStringLiteral(" bgcolor=\"#ffe8a8\"")
                                                          : QString();
        html += QStringLiteral("<tr") + shade + u'>';
        for (const ResultColumn column : engine::kColumnsWithoutFile) {
            html += engine::isNumberColumn(column) ? QStringLiteral("<td align=\"right\">")
                                                   : QStringLiteral("<td>");
            html += toQString(engine::resultFieldText(row, column)).toHtmlEscaped() +
                    QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

void buildClassReport(const ClassReport& report, QTextDocument& document, qreal pageWidth) {
    const QUrl chartName(QStringLiteral("tikmeter:wpm-chart"));
    const bool chart = !report.summary.bands.empty();
    if (chart) {
        // Three device pixels per unit keep the bars and labels sharp on paper.
        const int width = static_cast<int>(pageWidth * kChartShare);
        document.addResource(QTextDocument::ImageResource, chartName,
                             wpmChartImage(report.summary, QSize(width, width * 3 / 10), 3));
    }
    QString html = QStringLiteral("<h2>Class results: ") + report.className.toHtmlEscaped() +
                   QStringLiteral("</h2><p>") + report.date.toHtmlEscaped() +
                   QStringLiteral("&nbsp;&nbsp;&nbsp;") + report.folder.toHtmlEscaped() +
                   QStringLiteral("</p>") + summaryHtml(report.summary);
    if (chart) {
        html += QStringLiteral("<p align=\"center\"><img src=\"") + chartName.toString() +
                QStringLiteral("\" width=\"") +
                QString::number(static_cast<int>(pageWidth * kChartShare)) +
                QStringLiteral("\"></p>");
    }
    html += tableHtml(report.rows);
    document.setHtml(html);
}

void printClassReport(const ClassReport& report, QPrinter& printer) {
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    // QTextDocument::print lays the document out on the printer's page at 96 units per inch
    // (the screen resolution the document assumes); the chart is sized for that width.
    const qreal pageWidth = printer.pageLayout().paintRect(QPageLayout::Inch).width() * 96;
    buildClassReport(report, document, pageWidth);
    document.print(&printer);
}

} // namespace tikmeter::app
