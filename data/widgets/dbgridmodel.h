#pragma once

#include "data/tables.h"

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace data {

class TADOQuery;
class TDataSource;

// The grid's lines and columns as an item model: one line per row of the record set behind a
// data source (a pending new row included), one column per grid column, each showing a field's
// display text. A closed or empty record set gives one empty line under the titles.
//
// Texts are read from the record set only when a view asks for a cell, so a record set of a
// million rows costs no more than the lines on the screen. The line count the views know is
// kept here and changes only together with the model's own signals; the grid calls the three
// "follow" functions below when its data link hears from the record set.
class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct ColumnSpec {
        QString fieldName;
        QString title;
    };

    explicit DBGridModel(QObject* parent = nullptr);

    // The data source whose record set the lines show; none gives the one empty line. Takes
    // effect with the next reload().
    void setDataSource(TDataSource* source);
    TDataSource* dataSource() const { return source_; }
    TADOQuery* dataSet() const;

    void setColumns(std::vector<ColumnSpec> columns);
    const std::vector<ColumnSpec>& columns() const { return columns_; }

    // The table column that grid column `column` shows; null without a record set or when the
    // table has no column of that name.
    const ColumnDef* columnDef(int column) const;

    // How many of the lines are the record set's rows (none: the one empty line).
    int records() const { return records_; }

    // Following the record set. reload(): everything is new (opened, closed, another record
    // set). rowsChanged(): rows were added, removed or rewritten (append, post, cancel,
    // delete). fieldChanged(): one field of one row was written.
    void reload();
    void rowsChanged();
    void fieldChanged(int row, int fieldIndex);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int liveRecords() const;
    void resolveFields();

    TDataSource* source_ = nullptr;
    std::vector<ColumnSpec> columns_;
    std::vector<int> fields_; // per grid column: the record set's field index, or -1
    int records_ = 0;         // the record set's rows as the views know them
};

} // namespace data
