#pragma once

#include "data/widgets/boundcontrol.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dblookupcombobox.h"
#include "data/widgets/dbrichedit.h"
#include "platform/connect.h"
#include "platform/widgetstyle.h"

#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <concepts>
#include <span>
#include <vector>

namespace data {
class TADOQuery;
class TDataSource;
} // namespace data

namespace formkit {

// A control member of an entry window, of whatever kind of control: the row makes the control
// of the member's type and reads the member back.
template <typename W> class ControlMember {
public:
    template <std::derived_from<QWidget> Control>
    ControlMember(Control* W::*member) // implicit: the tables name their members plainly
        : member_(reinterpret_cast<QWidget * W::*>(member)), make_(&makeAs<Control>),
          read_(&readAs<Control>) {}

    // Creates the control on `area` and stores it in the member.
    QWidget* make(W* window, QWidget* area) const { return make_(window, member_, area); }
    QWidget* read(W* window) const { return read_(window, member_); }

private:
    // The member keeps its own type to be used: converted back before every access.
    template <typename Control>
    static QWidget* makeAs(W* window, QWidget* W::*member, QWidget* area) {
        auto* control = new Control(area);
        window->*reinterpret_cast<Control * W::*>(member) = control;
        return control;
    }
    template <typename Control> static QWidget* readAs(W* window, QWidget* W::*member) {
        return window->*reinterpret_cast<Control * W::*>(member);
    }

    QWidget* W::*member_;
    QWidget* (*make_)(W*, QWidget* W::*, QWidget*);
    QWidget* (*read_)(W*, QWidget* W::*);
};

// One control of an entry window, in tab order: its member and object name, the column it is
// bound to (none for a date picker or the button), its place within the window's inner area,
// whether it shows capitals (the bound edits always do; for a combo box it is its upper-case
// style) and the label it stands beside (which names it for assistive technology).
template <typename W> struct ControlRow {
    ControlMember<W> member;
    const char16_t* name;
    const char16_t* column;
    QRect bounds;
    bool capitals;
    const char16_t* label;
};

// One label: object name, caption, place; the title label has the window title's font.
struct LabelRow {
    const char16_t* name;
    const char16_t* caption;
    QRect bounds;
    bool title = false;
};

// One check of "Kaydet": a control whose text must not be empty, and its message.
template <typename W> struct CheckRow {
    ControlMember<W> member;
    const char16_t* message;
};

// A date picker whose whole value "Kaydet" writes into a date-time column.
template <typename W> struct DateRow {
    data::TDateTimePicker* W::*picker;
    const char16_t* column;
};

// What the entry windows share: controls built from their tables and bound to the record set
// they edit, the one save sequence, and the close that cancels what is still pending.
class EntryWindow : public QWidget {
    Q_OBJECT
protected:
    explicit EntryWindow(QWidget* parent = nullptr);

    // Builds the labels, then the controls in tab order on `area`, binds each control with a
    // column to `source`, makes each label the buddy of its control, chains the tab order and
    // gives the first control the focus the window will first show with.
    template <typename W>
    void build(W* window, QWidget* area, data::TDataSource* source,
               std::span<const ControlRow<W>> controls, std::span<const LabelRow> labels) {
        buildLabels(area, labels);
        for (const ControlRow<W>& row : controls)
            place(row.member.make(window, area), row.name, row.column, row.bounds, row.capitals,
                  row.label);
        bindAll(source);
    }

    // The last step of every entry window's making: its "Kaydet" (`Button1`) presses through
    // the guard into `click`, and a window drawn to stand in the middle of the screen goes there.
    enum class Place { AsDrawn, ScreenCentre };
    template <typename W> void finish(W* window, void (W::*click)(), Place place) {
        platform::connectGuarded(window->Button1, &QPushButton::clicked, window, click);
        if (place == Place::ScreenCentre)
            platform::centreOnScreen(window);
    }

    // "Kaydet": the first check whose control shows no text at all gets its message in the
    // plain box and then the focus, and nothing else happens. When every check passes: the
    // record set goes into edit, each picker's whole value goes into its column (but for a
    // column holding what is no readable date or a date outside the picker's range, which
    // only a date the user picked replaces),
    // the row is posted and the window closes. A failure thrown on the way ends the save there.
    template <typename W>
    void save(W* window, data::TADOQuery& dataSet, std::span<const CheckRow<W>> checks,
              std::span<const DateRow<W>> dates) {
        std::vector<std::pair<QWidget*, const char16_t*>> required;
        for (const CheckRow<W>& check : checks)
            required.emplace_back(check.member.read(window), check.message);
        std::vector<std::pair<data::TDateTimePicker*, const char16_t*>> written;
        for (const DateRow<W>& date : dates)
            written.emplace_back(window->*date.picker, date.column);
        saveRow(dataSet, required, written);
    }

    // Copies the row's date columns into their pickers, each date keeping the picker's time
    // of day (the opening action of an edit).
    template <typename W>
    static void showDates(W* window, data::TADOQuery& dataSet, std::span<const DateRow<W>> dates) {
        for (const DateRow<W>& date : dates)
            showDate(window->*date.picker, dataSet, date.column);
    }

    // Binds every control built with a column to another data source (a window whose record
    // set belongs to a window created after it binds once both exist).
    void setDataSource(data::TDataSource* source);

    // The close handler of the window: drops what its record set still holds unsaved.
    virtual void FormClose() = 0;
    // Runs FormClose through the guard; the close is never refused (the window only hides).
    void closeEvent(QCloseEvent* event) override;

private:
    // One control made from its row: name, place, label, tab order; a bound one is kept for
    // its binding.
    void place(QWidget* control, const char16_t* name, const char16_t* column, QRect bounds,
               bool capitals, const char16_t* label);
    void buildLabels(QWidget* area, std::span<const LabelRow> labels);
    static void showDate(data::TDateTimePicker* picker, data::TADOQuery& dataSet,
                         const char16_t* column);
    // Binds the controls to `source` and gives the first control the focus.
    void bindAll(data::TDataSource* source);

    std::vector<std::pair<data::BoundControl*, const char16_t*>> bound_; // control, column
    QWidget* first_ = nullptr;
    QWidget* previous_ = nullptr;

    void saveRow(data::TADOQuery& dataSet,
                 const std::vector<std::pair<QWidget*, const char16_t*>>& required,
                 const std::vector<std::pair<data::TDateTimePicker*, const char16_t*>>& dates);
};

// The text a control shows now, as the save checks read it (a combo box's field, a rich
// edit's whole text with its line breaks).
QString entryText(const QWidget* control);

} // namespace formkit
