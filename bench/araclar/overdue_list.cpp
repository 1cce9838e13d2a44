// bench_araclar_overdue_list [BOOKS READERS LOANS [RUNS]]: the companion's overdue list on a
// generated library, against a bare SQLite run of the same join in the same process.
//
// Opening: the bare run prepares the list's statement (every loan with its reader found by the
// exact name) on a new read-only connection, steps every row and reads every column as text.
// The page's "Yenile" (OverduePage::refresh) opens its own connection, runs the same statement,
// keeps the loans that are out, sorts both lists and hands them to their views.
// Typing: each keystroke of a text into the filter, from the change of the text to both lists
// narrowed; the bare run is the same join narrowed in SQL by the program's Turkish LIKE on the
// reader, the book and the school, stepped and read whole.

#include "araclar/context.h"
#include "araclar/listpanel.h"
#include "araclar/loans.h"
#include "araclar/overduepage.h"
#include "data/sqlite.h"
#include "support/benchkit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

double bareRun(const QString& file, const QString& sql, const QByteArray& pattern = {}) {
    QElapsedTimer timer;
    timer.start();
    const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
    data::sqlite::installTurkishLike(db.handle());
    data::sqlite::Statement st(db, sql);
    if (!pattern.isEmpty())
        st.bindText(1, pattern.constData(), static_cast<int>(pattern.size()));
    const int columns = sqlite3_column_count(st.handle());
    qint64 bytes = 0;
    while (st.step())
        for (int c = 0; c < columns; ++c) {
            sqlite3_column_text(st.handle(), c);
            bytes += sqlite3_column_bytes(st.handle(), c);
        }
    if (bytes < 0)
        std::puts("");
    return benchkit::elapsedMs(timer);
}

// Processor time of this process, in milliseconds: steadier than the wall clock while other
// programs share the machine.
double cpuMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const benchkit::LibrarySize size = benchkit::librarySize(app.arguments(), 7);
    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);

    araclar::Context context =
        araclar::contextFor(dir.filePath(QStringLiteral("ternavolk-araclar")),
                            dir.filePath(QStringLiteral("araclar.ini")));
    context.now = [] { return QDateTime(QDate(2026, 5, 21), QTime(10, 0)); };
    araclar::OverduePage page(context);
    page.resize(1100, 700);
    page.show();

    const QString joinSql = araclar::loansWithReadersSql();
    std::vector<double> bare, read, opened, bareCpu, openedCpu;
    for (int run = 0; run < size.repeats; ++run) {
        double cpu = cpuMs();
        bare.push_back(bareRun(file, joinSql));
        bareCpu.push_back(cpuMs() - cpu);
        QElapsedTimer timer;
        timer.start();
        {
            const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
            const std::vector<araclar::OutLoan> loans = araclar::readOutLoans(db, context.today());
            read.push_back(benchkit::elapsedMs(timer));
        }
        timer.restart();
        cpu = cpuMs();
        page.refresh();
        opened.push_back(benchkit::elapsedMs(timer));
        openedCpu.push_back(cpuMs() - cpu);
        QCoreApplication::processEvents();
        std::printf("run %d: bare join %.1f ms (processor %.1f), the loans read %.1f ms, overdue "
                    "list opened %.1f ms (processor %.1f)\n",
                    run + 1, bare.back(), bareCpu.back(), read.back(), opened.back(),
                    openedCpu.back());
    }
    std::printf("opening (median of %d): bare %.1f ms, list %.1f ms, ratio %.2f; %lld late, %lld "
                "out\n",
                size.repeats, benchkit::median(bare), benchkit::median(opened),
                benchkit::median(opened) / benchkit::median(bare),
                static_cast<long long>(page.overdueList->model()->totalRows()),
                static_cast<long long>(page.outList->model()->totalRows()));
    std::printf("opening, processor time (median of %d): bare %.1f ms, list %.1f ms, ratio %.2f\n",
                size.repeats, benchkit::median(bareCpu), benchkit::median(openedCpu),
                benchkit::median(openedCpu) / benchkit::median(bareCpu));

    // The filter, keystroke by keystroke.
    QString filteredSql = joinSql;
    filteredSql.replace(QStringLiteral("order by h.IDNO"),
                        QStringLiteral("where h.O_ADI_SOYADI like ?1 or h.ADIGIKITAP like ?1 or "
                                       "r.OKULU like ?1 order by h.IDNO"));
    for (const QString& text : {QStringLiteral("a"), QStringLiteral("ay"), QStringLiteral("ayş"),
                                QStringLiteral("ayşe"), QStringLiteral("kehribar")}) {
        std::vector<double> bareFiltered, typed;
        for (int run = 0; run < size.repeats; ++run) {
            page.filterEdit->clear();
            QCoreApplication::processEvents();
            bareFiltered.push_back(bareRun(file, filteredSql, '%' + text.toUtf8() + '%'));
            QElapsedTimer timer;
            timer.start();
            page.filterEdit->setText(text);
            typed.push_back(benchkit::elapsedMs(timer));
            QCoreApplication::processEvents();
        }
        std::printf("filter \"%s\": %d late shown; bare filtered join %.1f ms, keystroke %.2f ms, "
                    "ratio %.3f\n",
                    text.toUtf8().constData(), page.overdueList->model()->rowCount(),
                    benchkit::median(bareFiltered), benchkit::median(typed),
                    benchkit::median(typed) / benchkit::median(bareFiltered));
    }
    return 0;
}
