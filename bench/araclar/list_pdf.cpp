// bench_araclar_list_pdf [BOOKS READERS LOANS [RUNS]]: a PDF of the "Dışarıdaki Kitaplar" list
// on a generated library (every loan still out), as "PDF Olarak Kaydet…" writes it: the table
// laid out over A4 pages with its captions repeated, the foot of each page, the file written.
// No bare counterpart: the figure says how long the librarian waits for a long list.

#include "araclar/loans.h"
#include "araclar/printout.h"
#include "data/sqlite.h"
#include "support/benchkit.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const benchkit::LibrarySize size = benchkit::librarySize(app.arguments(), 3);
    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);
    const QDate today(2026, 5, 21);
    const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
    const std::vector<araclar::OutLoan> loans = araclar::readOutLoans(db, today);
    const araclar::ReportTable table =
        araclar::loanTable(QStringLiteral("Dışarıdaki Kitaplar"), loans, araclar::outOrder(loans));
    std::vector<double> times;
    for (int run = 0; run < size.repeats; ++run) {
        const QString pdf = dir.filePath(QStringLiteral("liste-%1.pdf").arg(run));
        QElapsedTimer timer;
        timer.start();
        araclar::savePdf(table, today, pdf, nullptr);
        times.push_back(benchkit::elapsedMs(timer));
        std::printf("run %d: %lld rows, PDF of %lld bytes in %.1f ms\n", run + 1,
                    static_cast<long long>(table.rows.size()),
                    static_cast<long long>(QFileInfo(pdf).size()), times.back());
    }
    // To look at the result: TERNAVOLK_BENCH_KEEP=FILE keeps a copy of the last PDF there.
    if (qEnvironmentVariableIsSet("TERNAVOLK_BENCH_KEEP"))
        QFile::copy(dir.filePath(QStringLiteral("liste-%1.pdf").arg(size.repeats - 1)),
                    qEnvironmentVariable("TERNAVOLK_BENCH_KEEP"));
    std::printf("PDF of %lld rows (median of %d): %.1f ms\n",
                static_cast<long long>(table.rows.size()), size.repeats, benchkit::median(times));
    return 0;
}
