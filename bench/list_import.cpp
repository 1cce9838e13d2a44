// bench_list_import [FOLDER [RUNS]]: the lists import on the lists that
// tests/tools/data/lists/make_lists.py --bench FOLDER writes, each beside a bare parse of the
// same file by its library in this process (no wall, no recognition, no database).
//
//   pupils: 1,000 pupils in 40 class blocks of an e-Okul .xls, imported into an empty register:
//           the preview (read behind the wall by the built ternavolk-db, recognised, planned
//           against the register) and the import (one transaction of 1,000 new readers);
//   books:  10,000 books of an .xlsx, the same two steps;
//   again:  the register of 20,000 readers (19,000 of other schools, generated) with the
//           school's 1,000, re-imported from next year's list in which every pupil moved.
//
// The figures are milliseconds, the median of RUNS (3 unless given), each on a new copy of
// the database.

#include "data/sqlite.h"
#include "platform/progress.h"
#include "support/benchkit.h"
#include "tools/bookimport.h"
#include "tools/dbfile.h"
#include "tools/demodata.h"
#include "tools/readerimport.h"
#include "tools/sheetfile.h"
#include "tools/sheetwall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using namespace tools::lists;

const QString tool = QStringLiteral(TERNAVOLK_DB_TOOL);
const QString school = QStringLiteral("BENCH ANADOLU LİSESİ");

struct Times {
    std::vector<double> bare, preview, import;
    void print(const char* what) const {
        std::printf("%-8s bare parse %8.1f   preview %8.1f   import %8.1f   preview+import "
                    "%8.1f\n",
                    what, benchkit::median(bare), benchkit::median(preview),
                    benchkit::median(import), benchkit::median(preview) + benchkit::median(import));
    }
};

double bareParse(const QString& file) {
    QElapsedTimer t;
    t.start();
    const tools::sheets::Workbook book = tools::sheets::readWorkbook(file);
    const double ms = benchkit::elapsedMs(t);
    if (book.sheets.empty())
        std::puts("no sheet");
    return ms;
}

// Preview and import of a readers' list into `db`; the two times.
std::pair<double, double> readers(const QString& list, const QString& db, int* moved = nullptr) {
    QElapsedTimer t;
    t.start();
    const PupilList pupils = recognisePupils({tools::sheets::readBehindWall(tool, list)});
    ReaderPlan plan;
    {
        const data::sqlite::Database conn(db, data::sqlite::Database::Mode::ReadOnly);
        plan = planReaders(pupils, school, readRegister(conn, school));
        readBooksOut(conn, plan);
    }
    const double preview = benchkit::elapsedMs(t);
    t.restart();
    const ReaderWrite w =
        writeReaders(db, pupils, plan, {}, data::sqlite::busyTimeoutMs, platform::noProgress());
    if (moved)
        *moved = w.moved;
    return {preview, benchkit::elapsedMs(t)};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1 ? args[1] : QStringLiteral("/tmp/ternavolk-bench-lists");
    const int runs = args.size() > 2 ? args[2].toInt() : 3;
    const QString pupils = folder + QStringLiteral("/okul_1000.xls");
    const QString nextYear = folder + QStringLiteral("/okul_1000_sonraki.xls");
    const QString books = folder + QStringLiteral("/kitaplar_10000.xlsx");
    for (const QString& f : {pupils, nextYear, books})
        if (!QFile::exists(f)) {
            std::fprintf(stderr,
                         "%s is missing: make it with tests/tools/data/lists/make_lists.py "
                         "--bench %s\n",
                         qPrintable(f), qPrintable(folder));
            return 2;
        }
    QTemporaryDir dir;
    Times p, b, again;
    // The register of 20,000 readers: 19,000 generated, then the school's 1,000.
    const QString big = dir.filePath(QStringLiteral("big.mdb"));
    tools::createGeneratedDatabase(big, 1000, 19000, 1000);
    readers(pupils, big);
    for (int run = 0; run < runs; ++run) {
        const QString empty = dir.filePath(QStringLiteral("empty-%1.mdb").arg(run));
        tools::createDatabase(empty);
        p.bare.push_back(bareParse(pupils));
        const auto [preview, import] = readers(pupils, empty);
        p.preview.push_back(preview);
        p.import.push_back(import);

        b.bare.push_back(bareParse(books));
        QElapsedTimer t;
        t.start();
        const std::vector<tools::sheets::Workbook> lists{
            tools::sheets::readBehindWall(tool, books)};
        const BookLayout layout = findBookHeaders(lists);
        const BookColumns columns = automaticColumns(layout);
        BookPlan plan;
        {
            const data::sqlite::Database conn(empty, data::sqlite::Database::Mode::ReadOnly);
            plan = planBooks(lists, layout, columns, readBookRegister(conn));
        }
        b.preview.push_back(benchkit::elapsedMs(t));
        t.restart();
        const int written = writeBooks(empty, lists, layout, columns, plan,
                                       data::sqlite::busyTimeoutMs, platform::noProgress());
        b.import.push_back(benchkit::elapsedMs(t));
        if (written != 10000)
            std::printf("wrote %d books, not 10,000\n", written);

        const QString copy = dir.filePath(QStringLiteral("again-%1.mdb").arg(run));
        QFile::copy(big, copy);
        again.bare.push_back(bareParse(nextYear));
        int moved = 0;
        const auto [preview2, import2] = readers(nextYear, copy, &moved);
        again.preview.push_back(preview2);
        again.import.push_back(import2);
        if (moved != 1000)
            std::printf("moved %d readers, not 1,000\n", moved);
    }
    std::printf("median of %d runs, milliseconds\n", runs);
    p.print("pupils");
    b.print("books");
    again.print("again");
    return 0;
}
