// One keystroke in the book search bar, from the change of the text to the refreshed grid,
// against one bare SQLite run of the same statement (same LIKE, every row stepped, every
// column read) in the same process.
//
//   bench_search_keystroke [BOOKS READERS LOANS]     (default 100000 20000 200000)

#include "anaform_/anaform.h"
#include "app/startup.h"
#include "data/adoquery.h"
#include "data/sqlite.h"
#include "data/widgets/dbgrid.h"
#include "formkit/searchbar.h"
#include "formkit/searchedit.h"
#include "platform/application.h"
#include "support/benchkit.h"
#include "tools/demodata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using benchkit::elapsedMs;
using benchkit::median;

namespace {

// The bare run: prepare, step every row, read every column.
double bareRun(const data::sqlite::Database& db, const QString& sql, int& rows) {
    QElapsedTimer t;
    t.start();
    rows = 0;
    size_t bytes = 0;
    {
        data::sqlite::Statement st(db, sql);
        while (st.step()) {
            ++rows;
            for (int c = 0; c < st.columnCount(); ++c)
                bytes += static_cast<size_t>(st.utf8(c).size());
        }
    }
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    if (bytes == static_cast<size_t>(-1))
        std::puts("");
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const benchkit::LibrarySize size = benchkit::librarySize(args, 0);

    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);

    app::createWindows(dir.path() + QStringLiteral("/ternavolk"));
    app::showMainWindow();
    QCoreApplication::processEvents();
    data::TDBGrid* grid = anaform->DBGrid2;
    grid->viewport()->repaint();

    const data::sqlite::Database bare(file, data::sqlite::Database::Mode::ReadWrite);
    data::sqlite::installTurkishLike(bare.handle());

    std::printf(
        "\n| text | rows | bare SQLite run (ms) | keystroke to refreshed grid (ms) | ratio |\n");
    std::printf("|---|---|---|---|---|\n");
    const int rounds = 7;
    for (const QString& text :
         {QStringLiteral("a"), QStringLiteral("ar"), QStringLiteral("kehribar")}) {
        std::vector<double> bareTimes, keyTimes;
        int rows = 0;
        const QString sql = searchStatement(bookSearchColumns()[0], text);
        for (int i = 0; i < rounds; ++i) {
            anaform->Edit2->setText(QStringLiteral("#")); // not timed: another text first
            QCoreApplication::processEvents();
            QElapsedTimer t;
            t.start();
            anaform->Edit2->setText(text);
            grid->viewport()->repaint();
            keyTimes.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
            bareTimes.push_back(bareRun(bare, sql, rows));
        }
        const double b = median(bareTimes), k = median(keyTimes);
        std::printf("| \"%s\" | %d | %.1f | %.1f | %.2f |\n", text.toUtf8().constData(), rows, b, k,
                    k / b);
        if (anaform->kitap->recordCount() != rows)
            std::printf("  (the record set holds %d rows!)\n", anaform->kitap->recordCount());
    }
    app::destroyWindows();
    return 0;
}
