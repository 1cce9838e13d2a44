// One move down in the loans grid: the loans record set steps to the next loan, and the two
// lookup lists of the loan entry window locate that loan's reader among the readers and its
// book among the books (moving those record sets and the main window's grids with them).
// Against one bare SQLite lookup of the same reader name and of the same book title, on a
// connection of its own in the same process.
//
//   bench_loan_move [BOOKS READERS LOANS [MOVES]]     (default 100000 20000 200000 200)

#include "anaform_/anaform.h"
#include "app/startup.h"
#include "data/adoquery.h"
#include "data/field.h"
#include "data/widgets/dbgrid.h"
#include "data/widgets/dblookupcombobox.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "platform/application.h"
#include "support/benchkit.h"
#include "tools/demodata.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using benchkit::elapsedMs;
using benchkit::median;

namespace {

// One lookup: bind the text, step to the end, read the key of every row found.
double bareLookup(sqlite3_stmt* st, const QByteArray& text, int& found) {
    QElapsedTimer t;
    t.start();
    sqlite3_bind_text(st, 1, text.constData(), static_cast<int>(text.size()), SQLITE_STATIC);
    found = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        found += sqlite3_column_int(st, 0) > 0 ? 1 : 0;
    sqlite3_reset(st);
    return elapsedMs(t);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const benchkit::LibrarySize size = benchkit::librarySize(args, 200);
    const int moves = size.repeats;

    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);

    app::createWindows(dir.path() + QStringLiteral("/ternavolk"));
    app::showMainWindow();
    QCoreApplication::processEvents();
    anaform->EmanetVerilenKitapKayd1Click(); // the loans window, its grid shown
    QCoreApplication::processEvents();
    data::TADOQuery* emanet = emanetkitapkaydi->emanet;
    data::TADOQuery* okuyucu = anaform->okuyucu;
    data::TADOQuery* kitap = anaform->kitap;

    sqlite3* bare = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    sqlite3_stmt* readerLookup = nullptr;
    sqlite3_prepare_v2(bare, "select IDNO from okuyucu where ADISOYADI = ?", -1, &readerLookup,
                       nullptr);
    sqlite3_stmt* bookLookup = nullptr;
    sqlite3_prepare_v2(bare, "select IDNO from kitapkayit where KITABINADI = ?", -1, &bookLookup,
                       nullptr);

    std::vector<double> moveTimes, paintTimes, readerTimes, bookTimes, readerRows, bookRows;
    const int readerName = emanetkitapkaydi->emanetO_ADI_SOYADI->index();
    const int bookTitle = emanetkitapkaydi->emanetADIGIKITAP->index();
    emanet->first();
    QCoreApplication::processEvents();
    for (int i = 0; i < moves; ++i) {
        QElapsedTimer t;
        t.start();
        emanet->next();
        moveTimes.push_back(elapsedMs(t));
        QCoreApplication::processEvents(); // the repaints the move asked for
        paintTimes.push_back(elapsedMs(t));

        // The lists must have found this loan's reader and book.
        const int row = emanet->recNo();
        const QString reader = emanet->displayText(row, readerName);
        const QString book = emanet->displayText(row, bookTitle);
        if (emanetkitap->DBLookupComboBox1->text() != reader ||
            emanetkitap->DBLookupComboBox2->text() != book ||
            okuyucu->displayText(okuyucu->recNo(), anaform->okuyucuADISOYADI->index()) != reader ||
            kitap->displayText(kitap->recNo(), anaform->kitapKITABINADI->index()) != book) {
            std::printf("loan %d: the lookup lists did not locate its reader and book\n", row);
            return 1;
        }
        readerRows.push_back(okuyucu->recNo());
        bookRows.push_back(kitap->recNo());

        int found = 0;
        readerTimes.push_back(bareLookup(readerLookup, reader.toUtf8(), found));
        if (found < 1)
            return 1;
        bookTimes.push_back(bareLookup(bookLookup, book.toUtf8(), found));
        if (found < 1)
            return 1;
    }
    sqlite3_finalize(readerLookup);
    sqlite3_finalize(bookLookup);
    sqlite3_close_v2(bare);

    const double m = median(moveTimes), p = median(paintTimes), r = median(readerTimes),
                 b = median(bookTimes);
    std::printf("\n%d moves down from the first loan, each timed, interleaved with the bare "
                "lookups; medians, milliseconds\n",
                moves);
    std::printf(
        "(the located reader was at row %.0f of %d, the book at row %.0f of %d, median)\n\n",
        median(readerRows), okuyucu->recordCount(), median(bookRows), kitap->recordCount());
    std::printf("| | median |\n|---|---|\n");
    std::printf("| bare lookup of the reader name (okuyucu, ADISOYADI) | %.3f |\n", r);
    std::printf("| bare lookup of the book title (kitapkayit, KITABINADI) | %.3f |\n", b);
    std::printf("| the move, emanet->next(), with both locates | %.3f |\n", m);
    std::printf("| the move and the repaints it asked for | %.3f |\n", p);
    std::printf("\nmove / (bare reader + bare book): %.3f\n", m / (r + b));
    std::printf("move / bare reader lookup: %.3f\n", m / r);
    std::printf("move / bare book lookup: %.3f\n", m / b);
    app::destroyWindows();
    return 0;
}
