#include "araclar/reportmodel.h"

#include <numeric>

namespace araclar {

void ReportModel::setTable(ReportTable table) {
    std::vector<int> rows(static_cast<size_t>(table.rows.size()));
    std::iota(rows.begin(), rows.end(), 0);
    setTable(std::move(table), std::move(rows));
}

void ReportModel::setTable(ReportTable table, std::vector<int> rows) {
    beginResetModel();
    table_ = std::move(table);
    shown_ = std::move(rows);
    totalRows_ = static_cast<int>(shown_.size());
    endResetModel();
}

void ReportModel::setShownRows(std::vector<int> rows) {
    beginResetModel();
    shown_ = std::move(rows);
    endResetModel();
}

ReportTable ReportModel::shownTable() const {
    ReportTable out;
    out.title = table_.title;
    out.headers = table_.headers;
    out.rows.reserve(static_cast<qsizetype>(shown_.size()));
    for (const int r : shown_)
        out.rows.append(table_.rows[r]);
    return out;
}

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.headers.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const QVariantList& row = table_.rows[shown_[static_cast<size_t>(index.row())]];
    if (index.column() >= row.size())
        return {};
    const QVariant& cell = row[index.column()];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cellText(cell);
    if (role == Qt::TextAlignmentRole)
        return cell.typeId() == QMetaType::Int || cell.typeId() == QMetaType::LongLong
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < table_.headers.size() ? QVariant(table_.headers[section]) : QVariant();
}

} // namespace araclar
