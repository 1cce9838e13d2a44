#pragma once

#include "data/datasource.h"
#include "data/widgets/boundcontrol.h"
#include "platform/editmenu.h"

#include <QString>
#include <Qt>
#include <functional>
#include <memory>

class QKeyEvent;
class QPoint;
class QObject;
class QWidget;

namespace data {

class TField;

// The binding that the bound edit, the bound combo box and the bound rich-text edit share: one
// column of the current row of a data source's record set. The link shows the column's value
// in its control, makes the control read-only while the record set is not editing, starts an
// edit when the user begins a change (auto-edit), and writes the control's text back through
// the edit-text path when the control is left or the record set asks for it.
class FieldDataLink : public DataLink {
public:
    // What the link needs from the control it serves.
    class Control {
    public:
        // The text the control holds now, as it is to be written.
        virtual QString controlText() const = 0;
        // Shows a column's value; this never counts as the user's change.
        virtual void showText(const QString& text) = 0;
        // False makes the control read-only.
        virtual void setChangeable(bool changeable) = 0;
        // The field was looked up anew (null while the record set is closed).
        virtual void fieldChanged(TField* /*field*/) {}

    protected:
        ~Control() = default;
    };

    explicit FieldDataLink(Control& control);
    ~FieldDataLink() override;
    FieldDataLink(const FieldDataLink&) = delete;
    FieldDataLink& operator=(const FieldDataLink&) = delete;

    TDataSource* dataSource() const { return source_; }
    void setDataSource(TDataSource* source);
    // The text the control holds now.
    QString controlText() const { return control_.controlText(); }
    const QString& fieldName() const { return fieldName_; }
    void setFieldName(const QString& name);
    // The record set's field for the column; null while it is closed or has no such column.
    TField* field() const { return field_; }

    // On while the record set is in edit or insert and the column can be written.
    bool editing() const { return editing_; }
    // Whether a change of the user could start an edit now (the column exists and is
    // writable and the record set is open, with auto-edit where it browses).
    bool canStartEdit() const;
    // The changed flag: the user changed the text since it was last shown or written.
    bool modified() const { return modified_; }
    void setModified() { modified_ = true; }

    // Auto-edit before the user's change: true when the change may go on.
    bool edit();
    // Drops the control's unwritten change and shows the column's value again.
    void reset();
    void setFocused(bool focused);
    // The control is being left: writes a change. A failed write is shown in the error box and
    // returns false (the caller keeps the focus in the control).
    bool leave();

    void activeChanged() override;
    void dataSetChanged() override;
    void dataSetScrolled() override;
    void stateChanged() override;
    void recordChanged(TField* field) override;
    // Writes a change now; a failure is thrown back to the post or settle that asked.
    void updateData() override;
    void dataSourceDestroyed(TDataSource* source) override;

private:
    void lookUpField();
    void refreshEditing();
    void showValue();

    Control& control_;
    TDataSource* source_ = nullptr;
    QString fieldName_;
    TField* field_ = nullptr;
    bool editing_ = false;
    bool modified_ = false;
    bool focused_ = false;
};

// How one kind of bound control treats keys, beyond what all of them share.
struct KeyRules {
    // Typed letters become capitals by the Turkish rule.
    bool upperCase = false;
    // Runs after Esc has dropped the unwritten change (the edits select their whole text).
    std::function<void()> afterEscape;
    // Keys of this kind that change the text besides the shared ones (Enter in the rich edit,
    // the item keys in the combo box).
    std::function<bool(const QKeyEvent*)> alsoChanges;
};

// The binding functions every bound control offers, over the control's link, and the key and
// menu handling that they all share.
class BoundField : public BoundControl {
public:
    void setDataSource(TDataSource* source) override { link_.setDataSource(source); }
    TDataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name) override { link_.setFieldName(name); }
    QString entryText() const override { return link_.controlText(); }
    QString dataField() const { return link_.fieldName(); }
    TField* field() const { return link_.field(); }

protected:
    explicit BoundField(FieldDataLink::Control& control) : link_(control) {}
    ~BoundField() = default;

    // One key press: Esc drops the unwritten change; a typed character the column does not
    // take is dropped with a beep; a change first asks for auto-edit and is dropped when the
    // record set cannot edit; what is left goes to `base` (the control's own handling),
    // typed letters in capitals where the rules say so.
    void boundKeyPress(QKeyEvent* event, const KeyRules& rules,
                       const std::function<void(QKeyEvent*)>& base);
    // The Turkish edit menu at a global position.
    void showEditMenu(QWidget* control, const platform::EditOperations& ops,
                      const QPoint& globalPos);
    // The control got the focus: it shows its column's edit text.
    void focusEntered();
    // The control lost the focus: unless another window or a popup took it, a change is
    // written. A failed write is shown in the error box, `selectText` runs and the focus goes
    // back into the control.
    void focusLeft(QWidget* control, Qt::FocusReason reason,
                   const std::function<void()>& selectText = {});

    FieldDataLink link_;
};

} // namespace data
