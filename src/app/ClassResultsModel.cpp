#include "app/ClassResultsModel.h"

#include "app/TextConvert.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <numeric>

namespace tikmeter::app {

namespace {

using engine::ResultColumn;

ResultColumn columnAt(int column) {
    return static_cast<ResultColumn>(column);
}

// Orders two rows by one column; an empty field comes after every filled one.
class RowOrder {
public:
    RowOrder(ResultColumn column, Qt::SortOrder order) : column_(column), order_(order) {}

    bool operator()(const engine::ResultRow& a, const engine::ResultRow& b) const {
        if (engine::isNumberColumn(column_)) {
            return less(engine::resultFieldNumber(a, column_),
                        engine::resultFieldNumber(b, column_));
        }
        const QString left = toQString(engine::resultFieldText(a, column_));
        const QString right = toQString(engine::resultFieldText(b, column_));
        return less(left.isEmpty() ? std::nullopt : std::optional(left),
                    right.isEmpty() ? std::nullopt : std::optional(right));
    }

private:
    static int compare(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }
    static int compare(const QString& a, const QString& b) {
        const int byLocale = QString::localeAwareCompare(a, b);
        return byLocale != 0 ? byLocale : QString::compare(a, b);
    }

    template <typename T> bool less(const std::optional<T>& a, const std::optional<T>& b) const {
        if (!a || !b) {
            return a.has_value() && !b.has_value();
        }
        const int order = compare(*a, *b);
        return order_ == Qt::AscendingOrder ? order < 0 : order > 0;
    }

    ResultColumn column_;
    Qt::SortOrder order_;
};

} // namespace

ClassResultsModel::ClassResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

ClassResultsModel::Kind ClassResultsModel::kindOf(const engine::ResultRow& row) {
    if (engine::isFailed(row)) {
        return Kind::Failed;
    }
    return engine::isUnreliable(row) ? Kind::Unreliable : Kind::Marked;
}

void ClassResultsModel::setResults(engine::ClassResults results) {
    beginResetModel();
    results_ = std::move(results);
    fillRows();
    endResetModel();
}

void ClassResultsModel::setShowAll(bool showAll) {
    if (showAll == showAll_) {
        return;
    }
    beginResetModel();
    showAll_ = showAll;
    fillRows();
    endResetModel();
}

void ClassResultsModel::fillRows() {
    rows_ = showAll_ ? results_.all : results_.latest;
    sortRows();
}

void ClassResultsModel::sortRows() {
    if (sortColumn_ >= 0) {
        std::stable_sort(rows_.begin(), rows_.end(), RowOrder(columnAt(sortColumn_), sortOrder_));
    }
}

int ClassResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ClassResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(engine::kResultColumnCount);
}

QVariant ClassResultsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const engine::ResultRow& row = rows_[static_cast<std::size_t>(index.row())];
    const ResultColumn column = columnAt(index.column());
    const Kind kind = kindOf(row);
    switch (role) {
    case Qt::DisplayRole:
        return toQString(engine::resultFieldText(row, column));
    case SortRole:
        if (engine::isNumberColumn(column)) {
            const std::optional<double> value = engine::resultFieldNumber(row, column);
            return value ? QVariant(*value) : QVariant();
        }
        return toQString(engine::resultFieldText(row, column));
    case KindRole:
        return static_cast<int>(kind);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter | (engine::isNumberColumn(column) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        if (kind == Kind::Failed) {
            return QBrush(QColor(0xF4, 0xC7, 0xC3)); // light red: no result
        }
        if (kind == Kind::Unreliable) {
            return QBrush(QColor(0xFF, 0xE8, 0xA8)); // amber: check by hand
        }
        return {};
    case Qt::ForegroundRole:
        return kind == Kind::Marked ? QVariant() : QVariant(QBrush(Qt::black));
    case Qt::ToolTipRole:
        if (kind == Kind::Failed) {
            return row.status.empty() ? QStringLiteral("Not marked")
                                      : QStringLiteral("Not marked: ") + toQString(row.status);
        }
        if (kind == Kind::Unreliable) {
            return toQString(row.status);
        }
        return column == ResultColumn::File ? toQString(row.file) : QVariant();
    default:
        return {};
    }
}

QVariant ClassResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(engine::kResultColumnCount)) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return toQString(std::u16string(engine::resultColumnName(columnAt(section))));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (engine::isNumberColumn(columnAt(section)) ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

void ClassResultsModel::sort(int column, Qt::SortOrder order) {
    if (column >= static_cast<int>(engine::kResultColumnCount)) {
        return;
    }
    if (column < 0) {
        // No column: back to the order of the file.
        beginResetModel();
        sortColumn_ = -1;
        fillRows();
        endResetModel();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = column;
    sortOrder_ = order;
    // Sort positions, so that persistent indexes can follow their rows.
    std::vector<int> positions(rows_.size());
    std::iota(positions.begin(), positions.end(), 0);
    const RowOrder rowOrder(columnAt(column), order);
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        return rowOrder(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
    });
    std::vector<engine::ResultRow> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(positions[i])]));
        newRowOf[static_cast<std::size_t>(positions[i])] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        after.append(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace tikmeter::app
