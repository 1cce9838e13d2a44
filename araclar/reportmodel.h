#pragma once

#include "araclar/reporttable.h"

#include <QAbstractTableModel>
#include <vector>

namespace araclar {

// A list for a table view: the rows of a ReportTable, of which the page chooses the ones shown.
class ReportModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // A new list, all of its rows shown.
    void setTable(ReportTable table);
    // A new list of only these rows of `table` (in this order), all of them shown: lists that
    // share their rows share one table.
    void setTable(ReportTable table, std::vector<int> rows);
    // Shows only these rows of the table, in this order (of those the list holds).
    void setShownRows(std::vector<int> rows);

    const ReportTable& table() const { return table_; }
    int totalRows() const { return totalRows_; }
    // The rows shown, as a list of their own (for printing and saving).
    ReportTable shownTable() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ReportTable table_;
    std::vector<int> shown_;
    int totalRows_ = 0;
};

} // namespace araclar
