#include "data/widgets/dbgridmodel.h"

#include "data/adoquery.h"
#include "data/datasource.h"
#include "platform/guard.h"

#include <algorithm>

namespace data {

DBGridModel::DBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

TADOQuery* DBGridModel::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

void DBGridModel::setDataSource(TDataSource* source) {
    source_ = source;
}

void DBGridModel::setColumns(std::vector<ColumnSpec> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    resolveFields();
    records_ = liveRecords();
    endResetModel();
}

const ColumnDef* DBGridModel::columnDef(int column) const {
    const TADOQuery* q = dataSet();
    if (!q || column < 0 || column >= static_cast<int>(columns_.size()))
        return nullptr;
    return q->table().column(columns_[column].fieldName);
}

int DBGridModel::liveRecords() const {
    const TADOQuery* q = dataSet();
    return q && q->active() ? q->recordCount() : 0;
}

void DBGridModel::resolveFields() {
    fields_.assign(columns_.size(), -1);
    TADOQuery* q = dataSet();
    if (!q)
        return;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (const TField* f = q->findField(columns_[i].fieldName))
            fields_[i] = f->index();
}

void DBGridModel::reload() {
    beginResetModel();
    resolveFields();
    records_ = liveRecords();
    endResetModel();
}

void DBGridModel::rowsChanged() {
    const int live = liveRecords();
    if (live == records_ + 1 && records_ > 0) {
        // An appended row: it always stands after the last row.
        beginInsertRows(QModelIndex(), records_, records_);
        records_ = live;
        endInsertRows();
        return;
    }
    if (std::max(live, 1) != std::max(records_, 1)) {
        // A row dropped or deleted: the record set has already let it go, so the rows behind it
        // cannot be shown as they were before; start the views afresh (this reads no row).
        beginResetModel();
        records_ = live;
        endResetModel();
        return;
    }
    records_ = live;
    if (!columns_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void DBGridModel::fieldChanged(int row, int fieldIndex) {
    if (row < 0 || row >= records_)
        return;
    for (int c = 0; c < static_cast<int>(fields_.size()); ++c)
        if (fields_[c] == fieldIndex)
            emit dataChanged(index(row, c), index(row, c), {Qt::DisplayRole});
}

int DBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(records_, 1);
}

int DBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const {
    QVariant result;
    platform::guard([&] {
        if (!index.isValid() || index.row() >= records_)
            return;
        const int field = fields_[index.column()];
        switch (role) {
        case Qt::DisplayRole:
            if (const TADOQuery* q = dataSet(); q && field >= 0)
                result = q->displayText(index.row(), field);
            else
                result = QString();
            break;
        case Qt::TextAlignmentRole: {
            // Numbers stand right-aligned, as in every table of figures.
            const ColumnDef* def = columnDef(index.column());
            const bool number = def && (def->kind == Kind::Integer || def->kind == Kind::AutoInc);
            result = static_cast<int>((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            break;
        }
        default:
            break;
        }
    });
    return result;
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < static_cast<int>(columns_.size()))
        return columns_[section].title;
    return QVariant();
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Never editable: the grid writes nothing.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace data
