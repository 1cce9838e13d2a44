#include "data/widgets/dblookupaccessible.h"

#include "data/adoquery.h"
#include "data/widgets/dblookupcombobox.h"
#include "data/widgets/dblookupdropdown.h"
#include "platform/guard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <utility>

namespace data::lookupaccessible {

namespace {

class ListAccessible;

// The list interfaces that exist, so that the control can drop their row items without
// making an interface for a list nobody asked about.
QHash<const LookupDropDown*, ListAccessible*>& existingLists() {
    static QHash<const LookupDropDown*, ListAccessible*> lists;
    return lists;
}

// A label's text as it is read out: without the mnemonic marks ("&&" stands for "&").
QString withoutMnemonics(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&')
            plain += text[i];
        else if (i + 1 < text.size() && text[i + 1] == u'&')
            plain += text[++i];
    }
    return plain;
}

// The label beside the widget that names it: a sibling whose buddy the widget is.
const QLabel* buddyLabel(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (!parent)
        return nullptr;
    const QList<QLabel*> labels = parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (const QLabel* label : labels)
        if (label->buddy() == widget)
            return label;
    return nullptr;
}

// One row of the list record set, as an item of the open list. Not a QObject: its list makes
// it when asked for and deletes it through QAccessible.
class RowAccessible : public QAccessibleInterface {
public:
    RowAccessible(ListAccessible* list, int row) : list_(list), row_(row) {}

    ListAccessible* list() const { return list_; }
    int row() const { return row_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    ListAccessible* list_;
    int row_;
};

// The drop-down list: its children are the rows of the list record set.
class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(LookupDropDown* list)
        : QAccessibleWidget(list, QAccessible::List), key_(list) {
        existingLists().insert(key_, this);
    }
    ~ListAccessible() override {
        existingLists().remove(key_);
        dropRows();
    }

    LookupDropDown* dropDown() const { return static_cast<LookupDropDown*>(widget()); }
    TDBLookupComboBox* combo() const {
        return dropDown() ? qobject_cast<TDBLookupComboBox*>(dropDown()->parentWidget()) : nullptr;
    }

    int rowCount() const {
        const TDBLookupComboBox* owner = combo();
        const TADOQuery* list = owner ? owner->listDataSet() : nullptr;
        return list && list->active() && owner->listColumn() >= 0 ? list->recordCount() : 0;
    }
    int currentRow() const {
        const TDBLookupComboBox* owner = combo();
        return rowCount() > 0 ? owner->listDataSet()->recNo() : -1;
    }
    QString rowText(int row) const {
        if (row < 0 || row >= rowCount())
            return QString();
        const TDBLookupComboBox* owner = combo();
        return owner->listDataSet()->displayText(row, owner->listColumn());
    }
    // In screen coordinates; empty for a row scrolled out of view.
    QRect rowRect(int row) const {
        const QRect r = dropDown() ? dropDown()->rowRect(row) : QRect();
        return r.isValid() ? QRect(dropDown()->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(combo());
    }
    int childCount() const override { return rowCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= rowCount())
            return nullptr;
        if (const auto it = rows_.constFind(index); it != rows_.cend())
            if (QAccessibleInterface* item = QAccessible::accessibleInterface(*it))
                return item;
        auto* item = new RowAccessible(const_cast<ListAccessible*>(this), index);
        rows_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const RowAccessible*>(child);
        return item && item->list() == this && item->row() < rowCount() ? item->row() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int row =
            dropDown() ? dropDown()->rowAt(dropDown()->mapFromGlobal(QPoint(x, y))) : -1;
        return child(row);
    }
    QAccessibleInterface* focusChild() const override { return child(currentRow()); }

    // Tells of the current row once each time it moves.
    void announceCurrent() {
        const int row = currentRow();
        if (row < 0 || row == announced_)
            return;
        announced_ = row;
        QAccessibleEvent event(dropDown(), QAccessible::Focus);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }

    // Forgets the row items made so far: they stood for rows that may be gone.
    void dropRows() {
        const QHash<int, QAccessible::Id> rows = std::exchange(rows_, {});
        for (const QAccessible::Id id : rows)
            QAccessible::deleteAccessibleInterface(id);
        announced_ = -1;
    }

private:
    const LookupDropDown* key_;
    mutable QHash<int, QAccessible::Id> rows_;
    int announced_ = -1;
};

bool RowAccessible::isValid() const {
    return list_->isValid() && row_ < list_->rowCount();
}

QWindow* RowAccessible::window() const {
    return list_->window();
}

QAccessibleInterface* RowAccessible::parent() const {
    return list_;
}

QString RowAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? list_->rowText(row_) : QString();
}

QRect RowAccessible::rect() const {
    return list_->rowRect(row_);
}

QAccessible::State RowAccessible::state() const {
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = state.focused = row_ == list_->currentRow();
    if (!list_->dropDown() || !list_->dropDown()->isVisible())
        state.invisible = true;
    else if (!list_->rowRect(row_).isValid())
        state.offscreen = true;
    return state;
}

// The combo box: named by its label, valued by what it shows, its open list its one child.
class ComboAccessible : public QAccessibleWidget {
public:
    explicit ComboAccessible(TDBLookupComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    TDBLookupComboBox* combo() const { return static_cast<TDBLookupComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: {
            if (!combo()->accessibleName().isEmpty())
                return combo()->accessibleName();
            const QLabel* label = buddyLabel(combo());
            return label ? withoutMnemonics(label->text()) : QString();
        }
        case QAccessible::Value:
            return combo()->text();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = combo()->isListOpen();
        state.collapsed = !state.expanded;
        state.readOnly = false;
        return state;
    }

    int childCount() const override { return combo()->isListOpen() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && combo()->isListOpen()
                   ? QAccessible::queryAccessibleInterface(combo()->dropDownList())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && combo()->isListOpen() && child->object() == combo()->dropDownList() ? 0
                                                                                            : -1;
    }
    QAccessibleInterface* focusChild() const override {
        if (QAccessibleInterface* list = child(0))
            return list->focusChild();
        return QAccessibleWidget::focusChild();
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            platform::guard([&] { combo()->dropDown(); });
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String(TDBLookupComboBox::staticMetaObject.className()))
        return new ComboAccessible(static_cast<TDBLookupComboBox*>(object));
    if (className == QLatin1String(LookupDropDown::staticMetaObject.className()))
        return new ListAccessible(static_cast<LookupDropDown*>(object));
    return nullptr;
}

ListAccessible* existingList(const TDBLookupComboBox* combo) {
    return combo->dropDownList() ? existingLists().value(combo->dropDownList()) : nullptr;
}

ListAccessible* listOf(TDBLookupComboBox* combo) {
    return dynamic_cast<ListAccessible*>(
        QAccessible::queryAccessibleInterface(combo->dropDownList()));
}

void postExpandedChange(TDBLookupComboBox* combo) {
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(combo, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

void shownTextChanged(TDBLookupComboBox* combo) {
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(combo, combo->text());
    QAccessible::updateAccessibility(&event);
}

void listOpened(TDBLookupComboBox* combo) {
    if (!QAccessible::isActive())
        return;
    postExpandedChange(combo);
    if (ListAccessible* list = listOf(combo))
        list->announceCurrent();
}

void listClosed(TDBLookupComboBox* combo) {
    if (ListAccessible* list = existingList(combo))
        list->dropRows();
    if (QAccessible::isActive())
        postExpandedChange(combo);
}

void listRowsReplaced(TDBLookupComboBox* combo) {
    if (ListAccessible* list = existingList(combo))
        list->dropRows();
}

void listCurrentMoved(TDBLookupComboBox* combo) {
    if (!QAccessible::isActive())
        return;
    if (ListAccessible* list = listOf(combo))
        list->announceCurrent();
}

} // namespace data::lookupaccessible
