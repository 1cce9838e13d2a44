#include "araclar/checkedrows.h"

namespace araclar {

void CheckedRows::setSourceModel(QAbstractItemModel* model) {
    QIdentityProxyModel::setSourceModel(model);
    // A new list is a new set of rows: nothing of it ticked.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { resetChecks(); });
    resetChecks();
}

void CheckedRows::resetChecks() {
    checked_.assign(static_cast<size_t>(sourceModel() ? sourceModel()->rowCount() : 0), false);
}

Qt::ItemFlags CheckedRows::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QIdentityProxyModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant CheckedRows::data(const QModelIndex& index, int role) const {
    if (role == Qt::CheckStateRole && index.isValid() && index.column() == 0)
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    return QIdentityProxyModel::data(index, role);
}

bool CheckedRows::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0)
        return QIdentityProxyModel::setData(index, value, role);
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

bool CheckedRows::isChecked(int row) const {
    return row >= 0 && static_cast<size_t>(row) < checked_.size() &&
           checked_[static_cast<size_t>(row)];
}

void CheckedRows::setChecked(int row, bool on) {
    if (row < 0 || static_cast<size_t>(row) >= checked_.size())
        return;
    checked_[static_cast<size_t>(row)] = on;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void CheckedRows::setAllChecked(bool on) {
    checked_.assign(checked_.size(), on);
    if (!checked_.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(checked_.size()) - 1, 0),
                         {Qt::CheckStateRole});
}

std::vector<int> CheckedRows::checkedRows() const {
    std::vector<int> rows;
    for (size_t i = 0; i < checked_.size(); ++i)
        if (checked_[i])
            rows.push_back(static_cast<int>(i));
    return rows;
}

} // namespace araclar
