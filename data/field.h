#pragma once

#include "data/tables.h"
#include "data/value.h"

namespace data {

class TADOQuery;

// One typed column of a record set: reads and writes the current row.
class TField {
public:
    TField(TADOQuery& dataSet, const ColumnDef& def, int index);

    const QString& fieldName() const { return name_; }
    Kind kind() const { return def_.kind; }
    int size() const { return def_.size; }
    bool readOnly() const { return def_.kind == Kind::AutoInc; }
    int index() const { return index_; }
    TADOQuery& dataSet() const { return dataSet_; }

    // The current row's value (the pending one while editing); null without a current row.
    Value value() const;
    bool isNull() const { return value().isNull(); }
    QString displayText() const { return value().displayText(); }
    // For the text and integer columns the edit text is the display text.
    QString text() const { return displayText(); }
    // A null date-time reads as 0 (30 December 1899, midnight).
    platform::DateTime asDateTime() const { return value().toDateTime(); }

    // Writes as a date-time: the day count with its time of day, unchanged.
    void setAsDateTime(platform::DateTime value);
    // The edit-text path: text columns take the text cut to their size (never inside a
    // character of two code units); integer columns take
    // null for the empty text and a whole number with an optional sign otherwise.
    void setText(const QString& text);
    // Writes a value of the column's kind (every write ends here). A date-time the file cannot
    // keep (before the year 100, after 9999, not a number) is refused.
    void setValue(const Value& value);

    // Whether a typed character may stand in this column ("+", "-" and digits for integers).
    bool isValidChar(QChar c) const;

private:
    TADOQuery& dataSet_;
    ColumnDef def_;
    QString name_;
    int index_;
};

} // namespace data
