#pragma once

#include "data/widgets/boundinput.h"
#include "data/widgets/fielddatalink.h"

#include <QComboBox>

class QAbstractItemDelegate;

namespace data {

class TDataSource;
class TField;

// The bound drop-down combo box: an edit field with a list of items (given through the
// ordinary QComboBox API) that shows and changes one column of the current row. Any text may
// be typed; it need not be one of the items. Choosing an item or opening the list counts as a
// change. It has no typing limit: a text longer than the column is cut to the column's size
// when it is written. With upper case set, its field and its list show capitals by the Turkish
// rule (the items themselves stay as they were given), and capitals are what it writes.
class TDBComboBox : public QComboBox, private FieldDataLink::Control, public BoundField {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr);
    ~TDBComboBox() override;

    void setUpperCase(bool upper);
    bool upperCase() const { return upper_; }
    // An item as the list shows it (in capitals with upper case set).
    QString shownItemText(int index) const;

    // Opening the list first asks for auto-edit; when the record set cannot edit, the list
    // stays closed.
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString controlText() const override;
    void showText(const QString& text) override;
    void setChangeable(bool changeable) override;

    QString shownText(const QString& text) const;

    boundinput::LineValidator* validator_ = nullptr;
    QAbstractItemDelegate* plainItems_ = nullptr;
    QAbstractItemDelegate* upperItems_ = nullptr;
    bool upper_ = false;
};

} // namespace data
