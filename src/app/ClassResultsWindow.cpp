#include "app/ClassResultsWindow.h"

#include "app/ClassReport.h"
#include "app/TextConvert.h"
#include "app/WpmChart.h"
#include "app/XlsxExport.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace tikmeter::app {

namespace {

constexpr int kFileColumnWidth = 260;
const QString kExcelFilter = QStringLiteral("Excel workbook (*.xlsx)|*.xlsx");

template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString wpmText(const std::optional<engine::Tenths>& value) {
    return value ? toQString(engine::oneDecimalText(*value)) : QStringLiteral("-");
}

QString today() {
    return QDate::currentDate().toString(Qt::ISODate);
}

} // namespace

ClassResultsWindow::ClassResultsWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), model_(this) {
    setObjectName(QStringLiteral("classResultsWindow"));
    setWindowTitle(QStringLiteral("Class Results"));

    folderLabel_ = named(new QLabel(this), "resultsFolder");
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The summary: a caption and a value per line.
    auto* summary = new QGridLayout();
    const auto addValue = [&](int line, const QString& caption, const char* name) {
        auto* value = named(new QLabel(this), name);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        summary->addWidget(new QLabel(caption, this), line, 0);
        summary->addWidget(value, line, 1);
        return value;
    };
    testsMarkedValue_ = addValue(0, QStringLiteral("Tests marked:"), "testsMarked");
    meanValue_ = addValue(1, QStringLiteral("Mean WPM:"), "meanWpm");
    medianValue_ = addValue(2, QStringLiteral("Median WPM:"), "medianWpm");
    bestValue_ = addValue(3, QStringLiteral("Best WPM:"), "bestWpm");
    lowestValue_ = addValue(4, QStringLiteral("Lowest WPM:"), "lowestWpm");
    summary->setRowStretch(5, 1);
    noteLabel_ = named(new QLabel(this), "resultsNote");
    noteLabel_->setWordWrap(true);
    summary->addWidget(noteLabel_, 6, 0, 1, 2);

    chartView_ = named(new QChartView(this), "wpmChart");
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(220);

    auto* top = new QHBoxLayout();
    top->addLayout(summary);
    top->addWidget(chartView_, 1);

    showAllBox_ =
        named(new QCheckBox(QStringLiteral("Show all markings"), this), "showAllMarkings");
    connect(showAllBox_, &QCheckBox::toggled, &model_, &ClassResultsModel::setShowAll);

    table_ = named(new QTableView(this), "resultsTable");
    table_->setModel(&model_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // the file's order until a heading is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideMiddle); // a long path keeps its file name in view
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    connect(table_, &QTableView::doubleClicked, this, &ClassResultsWindow::openRow);

    exportButton_ =
        named(new QPushButton(QStringLiteral("Export to Excel..."), this), "exportExcelButton");
    printButton_ =
        named(new QPushButton(QStringLiteral("Print class report..."), this), "printReportButton");
    connect(exportButton_, &QPushButton::clicked, this, &ClassResultsWindow::exportToExcel);
    connect(printButton_, &QPushButton::clicked, this, &ClassResultsWindow::printReport);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(showAllBox_);
    buttons->addStretch(1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(printButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel_);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(1000, 680);
}

void ClassResultsWindow::showFolder(const QString& folder) {
    folder_ = folder;
    setWindowTitle(QStringLiteral("Class Results - ") + className());
    folderLabel_->setText(folder);
    engine::ClassResults results;
    QString note;
    try {
        results = engine::readClassResults(toU16(folder));
    } catch (const std::exception& error) {
        dialogs_.messageBox(QStringLiteral("The results cannot be read: ") +
                                QString::fromUtf8(error.what()),
                            QStringLiteral("Error"));
        note = QStringLiteral("The results cannot be read.");
    }
    if (results.source == engine::ResultsSource::None && note.isEmpty()) {
        note = QStringLiteral("No results in this folder yet.");
    } else if (results.source == engine::ResultsSource::ResultFile) {
        note = QStringLiteral("Read from Resultaat.res: names and final results only.");
    }
    if (results.skipped > 0) {
        note += (note.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("%1 line(s) could not be read.").arg(results.skipped);
    }
    noteLabel_->setText(note);
    summary_ = engine::summarize(results.latest);
    model_.setResults(std::move(results));
    showSummary();
    table_->resizeColumnsToContents();
    const int file = static_cast<int>(engine::ResultColumn::File);
    table_->setColumnWidth(file, std::min(table_->columnWidth(file), kFileColumnWidth));
}

QString ClassResultsWindow::className() const {
    return QDir(folder_).dirName();
}

void ClassResultsWindow::showSummary() {
    testsMarkedValue_->setText(
        summary_.failed == 0
            ? QString::number(summary_.testsMarked)
            : QStringLiteral("%1 (%2 not marked)").arg(summary_.testsMarked).arg(summary_.failed));
    meanValue_->setText(wpmText(summary_.mean));
    medianValue_->setText(wpmText(summary_.median));
    bestValue_->setText(wpmText(summary_.best));
    lowestValue_->setText(wpmText(summary_.lowest));

    // The view does not delete the chart it showed before.
    QChart* old = chart_;
    chart_ = newWpmChart(summary_);
    chartView_->setChart(chart_);
    delete old;

    const bool any = !model_.rows().empty();
    exportButton_->setEnabled(any);
    printButton_->setEnabled(any);
}

void ClassResultsWindow::openRow(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const engine::ResultRow& row = model_.rowAt(index.row());
    // A test that was not marked has no marked test to show.
    if (!engine::isFailed(row) && !row.file.empty()) {
        emit openTestRequested(toQString(row.file));
    }
}

void ClassResultsWindow::exportToExcel() {
    QString name = dialogs_.saveFileName(kExcelFilter);
    if (name.isEmpty()) {
        return;
    }
    if (!name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".xlsx");
    }
    try {
        writeResultsWorkbook(documents::toPath(toU16(name)), model_.rows(), summary_,
                             className().toStdString(), today().toStdString());
    } catch (const std::exception& error) {
        dialogs_.messageBox(QStringLiteral("The workbook cannot be written: ") +
                                QString::fromUtf8(error.what()),
                            QStringLiteral("Error"));
    }
}

void ClassResultsWindow::printReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Class results - ") + className());
    if (!dialogs_.printerDialog(printer)) {
        return;
    }
    printClassReport({className(), folder_, today(), summary_, model_.rows()}, printer);
}

} // namespace tikmeter::app
