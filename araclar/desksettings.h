#pragma once

#include "araclar/context.h"
#include "printing/labels.h"
#include "tools/desk.h"

class QSettings;

// What the desk and the printed labels remember of each library, in the companion's settings
// under the library's key (Context::libraryKey): the desk's rules, the label sheet the
// librarian described, and the name printed on the labels.
namespace araclar {

// The rules, or the regulation's defaults where nothing is kept.
tools::desk::Rules loadRules(const QSettings& settings, const Context& context);
void saveRules(QSettings& settings, const Context& context, const tools::desk::Rules& rules);

// The sheet the librarian described ("Özel"), or the 3 × 8 sheet where none is kept.
printing::LabelSheet loadCustomSheet(const QSettings& settings, const Context& context);
void saveCustomSheet(QSettings& settings, const Context& context, const printing::LabelSheet& s);

// Which sheet was last chosen: 0 for 3 × 8, 1 for 3 × 7, 2 for the described one.
int loadSheetChoice(const QSettings& settings, const Context& context);
void saveSheetChoice(QSettings& settings, const Context& context, int choice);

// The name on the labels: as kept, else empty (the page then offers the school most readers
// belong to).
QString loadLibraryName(const QSettings& settings, const Context& context);
void saveLibraryName(QSettings& settings, const Context& context, const QString& name);

} // namespace araclar
