// Start-up: the main window's show handler opens the reader, book and loan record sets, and
// the loan entry window's lookup lists locate the first loan's reader and book. Against the
// bare SQLite reads of the same three statements (prepare, step every row, read every column)
// in the same process.
//
//   bench_startup [BOOKS READERS LOANS [RUNS]]     (default 100000 20000 200000 7)

#include "app/startup.h"
#include "anaform_/anaform.h"
#include "data/adoquery.h"
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

const char* const statements[] = {"select * from  okuyucu", "select * from  kitapkayit",
                                  "select * from  hareket"};

// The three statements bare on a fresh connection (opening it is not timed).
double bareReads(const QString& file, long long& rows, size_t& bytes) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    QElapsedTimer t;
    t.start();
    rows = 0;
    bytes = 0;
    for (const char* sql : statements) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                sqlite3_column_text(st, c);
                bytes += static_cast<size_t>(sqlite3_column_bytes(st, c));
            }
        }
        sqlite3_finalize(st);
    }
    const double ms = elapsedMs(t);
    sqlite3_close_v2(db);
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const benchkit::LibrarySize size = benchkit::librarySize(args, 7);
    const int runs = size.repeats;

    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);
    const QString executable = dir.path() + QStringLiteral("/ternavolk");

    std::vector<double> bareTimes, showHandlerTimes, firstPaintTimes;
    long long bareRows = 0;
    size_t bareBytes = 0;
    for (int run = 0; run < runs; ++run) {
        bareTimes.push_back(bareReads(file, bareRows, bareBytes));

        // The show handler alone, called on the hidden windows.
        app::createWindows(executable);
        QElapsedTimer t;
        t.start();
        anaform->FormShow();
        showHandlerTimes.push_back(elapsedMs(t));
        const long long rows = anaform->okuyucu->recordCount() + anaform->kitap->recordCount() +
                               emanetkitapkaydi->emanet->recordCount();
        if (rows != bareRows || emanetkitap->DBLookupComboBox1->text().isEmpty() ||
            emanetkitap->DBLookupComboBox2->text().isEmpty()) {
            std::printf("the start did not open every row or locate the first loan\n");
            return 1;
        }
        app::destroyWindows();

        // The whole way: the main window shown (which runs the show handler), laid out and
        // painted once.
        bareTimes.push_back(bareReads(file, bareRows, bareBytes));
        app::createWindows(executable);
        t.restart();
        app::showMainWindow();
        QCoreApplication::processEvents();
        anaform->DBGrid1->viewport()->repaint();
        anaform->DBGrid2->viewport()->repaint();
        firstPaintTimes.push_back(elapsedMs(t));
        if (emanetkitap->DBLookupComboBox2->text().isEmpty())
            return 1;
        app::destroyWindows();
        std::printf("run %d: bare %.1f, show handler %.1f, bare %.1f, shown and painted %.1f\n",
                    run + 1, bareTimes[bareTimes.size() - 2], showHandlerTimes.back(),
                    bareTimes.back(), firstPaintTimes.back());
    }

    const double b = median(bareTimes), s = median(showHandlerTimes), p = median(firstPaintTimes);
    std::printf(
        "\n%d runs, each on new windows, interleaved with the bare reads (%lld rows, %.0f MB "
        "of cells read as text); medians, milliseconds\n\n",
        runs, bareRows, static_cast<double>(bareBytes) / (1 << 20));
    std::printf("| | median |\n|---|---|\n");
    std::printf("| bare SQLite reads of the three statements | %.1f |\n", b);
    std::printf("| show handler: three record sets opened, first loan located | %.1f |\n", s);
    std::printf("| main window shown, laid out and painted | %.1f |\n", p);
    std::printf("\nshow handler / bare: %.2f\n", s / b);
    std::printf("shown and painted / bare: %.2f\n", p / b);
    return 0;
}
