#pragma once

#include "data/widgets/boundinput.h"
#include "data/widgets/fielddatalink.h"

#include <QLineEdit>

namespace data {

class TDataSource;
class TField;

// The bound edit: one line showing one column of the current row of a data source. Letters
// are shown and written in capitals by the Turkish rule. On a text column it takes no more
// characters than the column holds; on an integer column it takes only "+", "-" and digits as
// typed characters (any other is dropped with a beep). Read-only while the record set browses
// until a change starts an edit; empty and read-only while it is closed.
class TDBEdit : public QLineEdit, private FieldDataLink::Control, public BoundField {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    ~TDBEdit() override;

    // The most characters the user can make the text hold (the column's size); 0: no limit.
    int typingLimit() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString controlText() const override;
    void showText(const QString& text) override;
    void setChangeable(bool changeable) override;
    void fieldChanged(TField* field) override;

    boundinput::LineValidator* validator_;
};

} // namespace data
