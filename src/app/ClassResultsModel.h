#pragma once

#include "engine/ClassResults.h"

#include <QAbstractTableModel>

#include <vector>

namespace tikmeter::app {

// The rows of a class's results for a table view: one column per column of Resultaat.csv,
// the latest marking of each test or, with showAll, every marking. Number columns show
// their text right-aligned and sort as numbers; empty fields sort last either way.
// Unreliable results and tests that were not marked carry a background colour and a tool
// tip.
class ClassResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The value a column sorts by: a double for a number, else the text.
    static constexpr int SortRole = Qt::UserRole;
    // The row's kind as an int: 0 marked, 1 unreliable, 2 not marked.
    static constexpr int KindRole = Qt::UserRole + 1;
    enum class Kind { Marked, Unreliable, Failed };

    explicit ClassResultsModel(QObject* parent = nullptr);

    void setResults(engine::ClassResults results);
    void setShowAll(bool showAll);
    bool showAll() const { return showAll_; }
    const engine::ClassResults& results() const { return results_; }
    // The row shown at `row`, in the current order.
    const engine::ResultRow& rowAt(int row) const {
        return rows_.at(static_cast<std::size_t>(row));
    }
    // The rows shown, in the current order.
    const std::vector<engine::ResultRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    static Kind kindOf(const engine::ResultRow& row);

private:
    // Takes the rows of the current view from the results and sorts them as last asked.
    void fillRows();
    void sortRows();

    engine::ClassResults results_;
    std::vector<engine::ResultRow> rows_;
    bool showAll_ = false;
    int sortColumn_ = -1; // -1: the file's order
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace tikmeter::app
