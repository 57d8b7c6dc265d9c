#pragma once

#include "app/ClassResultsModel.h"
#include "app/Dialogs.h"

#include <QWidget>

class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace tikmeter::app {

// The results of one class (a destination folder), in a window of its own beside the main
// window: the summary (tests marked, mean, median, best and lowest WPM), a chart of the WPM
// bands, and a table of the latest marking of each test (every marking with "Show all
// markings"), sortable by any column. Double-clicking a row asks for its marked test in
// the main window's viewer. The results can be exported to Excel and printed as a report.
class ClassResultsWindow : public QWidget {
    Q_OBJECT
public:
    // `dialogs` must outlive the window.
    explicit ClassResultsWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Reads the folder's results and shows them. A results file that cannot be read is
    // reported, and the window shows no rows.
    void showFolder(const QString& folder);
    QString folder() const { return folder_; }
    const ClassResultsModel& model() const { return model_; }
    QTableView* table() const { return table_; }
    // The summary shown: of the latest marking of each test.
    const engine::ResultsSummary& summary() const { return summary_; }

public slots:
    void exportToExcel();
    void printReport();

signals:
    // The user asked to see this marked test.
    void openTestRequested(const QString& path);

private:
    void showSummary();
    void openRow(const QModelIndex& index);
    QString className() const;

    Dialogs& dialogs_;
    QString folder_;
    ClassResultsModel model_;
    engine::ResultsSummary summary_;

    QLabel* folderLabel_ = nullptr;
    QLabel* testsMarkedValue_ = nullptr;
    QLabel* meanValue_ = nullptr;
    QLabel* medianValue_ = nullptr;
    QLabel* bestValue_ = nullptr;
    QLabel* lowestValue_ = nullptr;
    QLabel* noteLabel_ = nullptr;
    QChartView* chartView_ = nullptr;
    QChart* chart_ = nullptr;
    QCheckBox* showAllBox_ = nullptr;
    QTableView* table_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

} // namespace tikmeter::app
