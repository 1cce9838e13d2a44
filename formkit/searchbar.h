#pragma once

#include "formkit/searchedit.h"
#include "platform/connect.h"

#include <QLineEdit>
#include <QRect>
#include <QString>
#include <span>
#include <utility>

class QGroupBox;
class TSearchCombo;

namespace data {
class TADOQuery;
}

// One item of a search bar's column list: what the list shows, and the table and column
// searched. The window that shows the bar keeps its table of these.
struct SearchColumn {
    const char16_t* caption;
    const char16_t* table;
    const char16_t* column;
};

// The statement a bar sends for a text: every blank becomes "%", the text is wrapped in "%",
// single quotes are doubled and the pattern is quoted behind
// "select * from <table> where  <column> like ".
QString searchStatement(const SearchColumn& column, const QString& text);

// The search every bar runs on each change of its text: nothing when no item is selected;
// otherwise close the record set, clear its SQL text, put the statement in as its one line,
// execute it once as a command, and open. A failure leaves the record set closed with the
// statement in it.
void runSearch(std::span<const SearchColumn> columns, int selectedIndex, const QString& text,
               data::TADOQuery& dataSet);

// A bar's two controls on its group box: the column list and the edit box.
using SearchBarControls = std::pair<TSearchCombo*, TSearchEdit*>;

// The column list with the bar's captions, the first selected, and the edit box with the
// starting text "Bu Alana Aranacak Bilgiyi Giriniz ", set before anything listens to it.
SearchBarControls makeSearchBar(QGroupBox* group, const char16_t* comboName,
                                const char16_t* editName, std::span<const SearchColumn> columns,
                                QRect comboBounds, QRect editBounds);

// A whole bar: its controls, then the edit box's change handler on `window`, through the
// guard. No search runs until the text changes.
template <typename W>
SearchBarControls buildSearchBar(QGroupBox* group, const char16_t* comboName,
                                 const char16_t* editName, std::span<const SearchColumn> columns,
                                 QRect comboBounds, QRect editBounds, W* window,
                                 void (W::*changeHandler)()) {
    const SearchBarControls bar =
        makeSearchBar(group, comboName, editName, columns, comboBounds, editBounds);
    platform::connectGuarded(bar.second, &QLineEdit::textChanged, window, changeHandler);
    return bar;
}
