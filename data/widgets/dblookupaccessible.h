#pragma once

namespace data {

class TDBLookupComboBox;

// What assistive technology learns of a lookup combo box: a combo box named by its label,
// valued by the text it shows, expanded while its list is open. The open list is its one
// child, and the rows of the list record set are the list's items; the items are made when
// asked for and dropped when the list closes or its rows change.
namespace lookupaccessible {

// Makes the lookup combo box and its list known to QAccessible (once; later calls do nothing).
void install();

// What the control tells assistive technology; each does nothing while none is listening,
// apart from dropping row items made for an earlier query.
void shownTextChanged(TDBLookupComboBox* combo);
void listOpened(TDBLookupComboBox* combo);
void listClosed(TDBLookupComboBox* combo);
void listRowsReplaced(TDBLookupComboBox* combo);
void listCurrentMoved(TDBLookupComboBox* combo);

} // namespace lookupaccessible

} // namespace data
