#pragma once

#include <QIdentityProxyModel>
#include <vector>

namespace araclar {

// A list whose rows the librarian ticks, one by one (a box in the first column) or all at once:
// the rows to rename or to mark as left in the lists import's preview. Shown over a list's own
// model, so that the list still prints and saves as it is.
class CheckedRows : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    void setSourceModel(QAbstractItemModel* model) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    bool isChecked(int row) const;
    void setChecked(int row, bool on);
    void setAllChecked(bool on);
    // The rows ticked, in their order.
    std::vector<int> checkedRows() const;

private:
    void resetChecks();
    std::vector<bool> checked_;
};

} // namespace araclar
