#include "formkit/entrywindow.h"

#include "data/adoquery.h"
#include "data/field.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dblookupcombobox.h"
#include "data/widgets/dbrichedit.h"
#include "platform/dialogs.h"
#include "platform/guard.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace formkit {

namespace {

template <typename Control>
bool bindTo(QWidget* widget, data::TDataSource* source, const char16_t* column) {
    auto* control = qobject_cast<Control*>(widget);
    if (!control)
        return false;
    control->setDataSource(source);
    control->setDataField(QString::fromUtf16(column));
    return true;
}

} // namespace

EntryWindow::EntryWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void EntryWindow::buildLabels(QWidget* area, std::span<const LabelRow> labels) {
    for (const LabelRow& row : labels) {
        auto* label = new QLabel(QString::fromUtf16(row.caption), area);
        label->setObjectName(QString::fromUtf16(row.name));
        label->setGeometry(row.bounds);
        if (row.title) {
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(21);
            font.setBold(true);
            label->setFont(font);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
            label->setPalette(palette);
        }
        // The width given is the caption's in the font the window was drawn with; where the
        // system's font runs wider, the label grows to the right rather than cut its caption.
        const QSize wanted = label->sizeHint();
        label->resize(std::max(row.bounds.width(), wanted.width()),
                      std::max(row.bounds.height(), wanted.height()));
    }
}

void EntryWindow::setDataSource(data::TDataSource* source) {
    for (const Built& b : built_)
        if (b.column) {
            const bool bound = bindTo<data::TDBEdit>(b.control, source, b.column) ||
                               bindTo<data::TDBComboBox>(b.control, source, b.column) ||
                               bindTo<data::TDBRichEdit>(b.control, source, b.column) ||
                               bindTo<data::TDBLookupComboBox>(b.control, source, b.column);
            Q_ASSERT(bound);
            Q_UNUSED(bound);
        }
}

void EntryWindow::setUp(data::TDataSource* source, const std::vector<Built>& built) {
    built_ = built;
    QWidget* previous = nullptr;
    for (const Built& b : built) {
        QWidget* control = b.control;
        control->setObjectName(QString::fromUtf16(b.name));
        control->setGeometry(b.bounds);
        if (auto* combo = qobject_cast<data::TDBComboBox*>(control))
            combo->setUpperCase(b.capitals);
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            // Neither Enter nor Esc presses it.
            button->setText(QStringLiteral("Kaydet"));
            button->setAutoDefault(false);
            button->setDefault(false);
        }
        if (b.label) {
            auto* label = control->parentWidget()->findChild<QLabel*>(QString::fromUtf16(b.label));
            Q_ASSERT(label);
            label->setBuddy(control);
            control->setAccessibleName(label->text());
        }
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    setDataSource(source);
    if (!built.empty())
        built.front().control->setFocus();
}

void EntryWindow::saveRow(
    data::TADOQuery& dataSet, const std::vector<std::pair<QWidget*, const char16_t*>>& required,
    const std::vector<std::pair<data::TDateTimePicker*, const char16_t*>>& dates) {
    for (const auto& [control, message] : required) {
        if (entryText(control).isEmpty()) {
            platform::showMessage(QString::fromUtf16(message));
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    dataSet.edit();
    for (const auto& [picker, column] : dates) {
        data::TField& field = dataSet.fieldByName(column);
        // A stored value the program cannot read as a date (written by another tool) shows in
        // the picker as day zero; it is kept unless the user picked a date for it.
        if (field.value().isText() && !picker->changedByUser())
            continue;
        field.setAsDateTime(picker->date());
    }
    dataSet.post();
    close();
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    platform::guard([this] { FormClose(); });
    event->accept(); // the window only hides; the program goes on
}

QString entryText(const QWidget* control) {
    if (auto* edit = qobject_cast<const data::TDBEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<const data::TDBComboBox*>(control))
        return combo->currentText();
    if (auto* rich = qobject_cast<const data::TDBRichEdit*>(control))
        return rich->toPlainText();
    return QString();
}

} // namespace formkit
