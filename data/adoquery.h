#pragma once

#include "data/datasource.h"
#include "data/field.h"
#include "data/rowstore.h"
#include "data/tables.h"
#include "platform/errors.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace data {

class Connection;

// A record set: a static cursor over the result of one select, with one current row, a state
// and the typed fields of its table. Every failure is thrown as platform::Error; the record
// set's own checks carry its name in front ("okuyucu: ...").
class TADOQuery {
public:
    TADOQuery(QString name, const TableDef& table, const QString& sql);
    ~TADOQuery();
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    const QString& name() const { return name_; }
    const TableDef& table() const { return table_; }

    // The SQL text as lines; the statement is the lines, each followed by CR LF. Any change
    // of the lines closes the record set first.
    const QStringList& sqlLines() const { return sql_; }
    QString statement() const;
    void clearSql();
    void addSql(const QString& line);

    const QString& connectionString() const { return connectionString_; }
    // Only while closed ("Cannot perform this operation on an open dataset"); the same text
    // again does nothing.
    void setConnectionString(const QString& cs);

    DataSetState state() const { return state_; }
    bool active() const { return state_ != DataSetState::Inactive; }
    bool modified() const { return modified_; }
    const std::vector<int>& assignedColumns() const { return assigned_; }

    void open();
    void close();
    void setActive(bool active) { active ? open() : close(); }
    // Runs the statement once through the connection; rows, current row and state stay.
    void execSQL();

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a pending row that was written into, drops one that was not.
    void settle();

    // Moves of the current row; each settles the pending row first.
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    void moveTo(int row);
    // Makes the first row whose field holds `value` current; false (nothing moved) when none.
    bool locate(const TField& field, const Value& value);

    // Rows, a pending new row included.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // The current row's index; -1 when there is none.
    int recNo() const { return current_; }
    // Whether `row` is the pending new row.
    bool isNewRow(int row) const { return state_ == DataSetState::Insert && row == current_; }

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    TField& field(int index) { return *fields_[index]; }
    const TField& field(int index) const { return *fields_[index]; }
    TField* findField(QStringView name);
    TField& fieldByName(QStringView name); // "Field '%s' not found" behind the name

    // Any row's value (the pending one for the row being edited or inserted).
    Value value(int row, int column) const;
    QString displayText(int row, int column) const { return value(row, column).displayText(); }

    // Data sources linked to this record set (TDataSource does this itself).
    void attach(TDataSource* source);
    void detach(TDataSource* source);

    // A record-set error: the message behind the record set's name.
    platform::Error error(const QString& message) const;

private:
    friend class TField;
    void writeField(const TField& field, const Value& value);
    void checkActive() const;
    Connection& connection();
    void updateData();

    template <typename F> void notify(F f) {
        const std::vector<TDataSource*> sources = sources_;
        for (TDataSource* s : sources)
            s->forEachLink(f);
    }
    // The one place where the state changes: the pending row (values, assigned columns,
    // modified flag) starts afresh with `pending`, and the links hear of a change between two
    // open states.
    void enterState(DataSetState state, std::vector<Value> pending = {});

    QString name_;
    const TableDef& table_;
    QStringList sql_;
    QString connectionString_;
    std::unique_ptr<Connection> connection_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSource*> sources_;

    DataSetState state_ = DataSetState::Inactive;
    RowStore rows_;
    int current_ = -1;
    std::vector<Value> pending_;
    std::vector<int> assigned_;
    bool modified_ = false;
};

} // namespace data
