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

void EntryWindow::place(QWidget* control, const char16_t* name, const char16_t* column,
                        QRect bounds, bool capitals, const char16_t* label) {
    control->setObjectName(QString::fromUtf16(name));
    control->setGeometry(bounds);
    if (auto* combo = qobject_cast<data::TDBComboBox*>(control))
        combo->setUpperCase(capitals);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // Neither Enter nor Esc presses it.
        button->setText(QStringLiteral("Kaydet"));
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    if (label) {
        auto* caption = control->parentWidget()->findChild<QLabel*>(QString::fromUtf16(label));
        Q_ASSERT(caption);
        caption->setBuddy(control);
        control->setAccessibleName(caption->text());
    }
    if (column) {
        auto* bound = dynamic_cast<data::BoundControl*>(control);
        Q_ASSERT(bound);
        bound_.emplace_back(bound, column);
    }
    if (previous_)
        setTabOrder(previous_, control);
    else
        first_ = control;
    previous_ = control;
}

void EntryWindow::bindAll(data::TDataSource* source) {
    setDataSource(source);
    if (first_)
        first_->setFocus();
}

void EntryWindow::setDataSource(data::TDataSource* source) {
    for (const auto& [control, column] : bound_) {
        control->setDataSource(source);
        control->setDataField(QString::fromUtf16(column));
    }
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
        // the picker as day zero, and a date outside the picker's range as the nearest end of
        // it; either is kept unless the user picked a date for it.
        const data::Value stored = field.value();
        const bool shownAsStored =
            !stored.isText() &&
            (!stored.isDateTime() || data::TDateTimePicker::canShow(stored.toDateTime().date()));
        if (!shownAsStored && !picker->changedByUser())
            continue;
        field.setAsDateTime(picker->date());
    }
    dataSet.post();
    close();
}

void EntryWindow::showDate(data::TDateTimePicker* picker, data::TADOQuery& dataSet,
                           const char16_t* column) {
    picker->setDate(dataSet.fieldByName(column).asDateTime());
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    platform::guard([this] { FormClose(); });
    event->accept(); // the window only hides; the program goes on
}

QString entryText(const QWidget* control) {
    const auto* bound = dynamic_cast<const data::BoundControl*>(control);
    return bound ? bound->entryText() : QString();
}

} // namespace formkit
