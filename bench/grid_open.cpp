// How long opening the book list takes with 100,000 and 1,000,000 books, against a bare SQLite
// run of the same statement, and how much of it the grid adds before it has painted a screen.
//
//   bench_grid_open            (runs on the offscreen platform unless QT_QPA_PLATFORM is set)

#include "anaform_/gridcolumns.h"
#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "data/widgets/dbgrid.h"
#include "platform/errors.h"
#include "support/benchkit.h"
#include "tools/dbfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using benchkit::elapsedMs;

namespace {

const QString statement = QStringLiteral("select * from  kitapkayit");

using data::sqlite::Database;
using data::sqlite::Statement;

// Appends generated books with keys from+1 to from+count, in one transaction.
void addBooks(const QString& path, int from, int count) {
    static const std::array<const char*, 6> authors{"Orhan Kemal", "Sait Faik Abasıyanık",
                                                    "Halide Edib", "Reşat Nuri Güntekin",
                                                    "Yaşar Kemal", "Ömer Seyfettin"};
    static const std::array<const char*, 4> kinds{"ROMAN", "HİKAYE", "ŞİİR", "DENEME"};
    static const std::array<const char*, 3> publishers{"Can Yayınları", "İş Bankası Kültür",
                                                       "Yapı Kredi Yayınları"};
    Database db(path, Database::Mode::ReadWrite);
    db.executeScript(QStringLiteral("BEGIN"));
    {
        Statement st(db, QStringLiteral("INSERT INTO kitapkayit (SERINO, KITABINADI, YAZARI, "
                                        "TURU, YAYINEVI, BARKODU, EDINME, DEGERI, EDINMETARIHI, "
                                        "BASKITARIHI, BASIMYERI, BASIMYILI, BASKINO, ACIKLAMA) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        char buf[14][128];
        for (int i = from + 1; i <= from + count; ++i) {
            std::snprintf(buf[0], sizeof buf[0], "KS-%07d", i);
            std::snprintf(buf[1], sizeof buf[1], "Çalıkuşu ve Öteki Hikâyeler %d", i);
            std::snprintf(buf[2], sizeof buf[2], "%s", authors[i % authors.size()]);
            std::snprintf(buf[3], sizeof buf[3], "%s", kinds[i % kinds.size()]);
            std::snprintf(buf[4], sizeof buf[4], "%s", publishers[i % publishers.size()]);
            std::snprintf(buf[5], sizeof buf[5], "869%010d", i);
            std::snprintf(buf[6], sizeof buf[6], "%s", i % 3 ? "SATIN ALMA" : "BAĞIŞ");
            std::snprintf(buf[8], sizeof buf[8], "20%02d-%02d-%02d 16:15:25.890", i % 20,
                          i % 12 + 1, i % 28 + 1);
            std::snprintf(buf[9], sizeof buf[9], "19%02d-01-01 00:00:00.000", 50 + i % 50);
            std::snprintf(buf[10], sizeof buf[10], "İSTANBUL");
            std::snprintf(buf[11], sizeof buf[11], "19%02d", 50 + i % 50);
            std::snprintf(buf[12], sizeof buf[12], "%d", i % 9 + 1);
            std::snprintf(buf[13], sizeof buf[13], "Okul kütüphanesi rafı %d, sıra %d", i % 40,
                          i % 7);
            for (int c = 0; c < 14; ++c) {
                if (c == 7)
                    st.bindInt64(c + 1, i % 500);
                else
                    st.bindText(c + 1, buf[c], -1);
            }
            st.step();
            st.reset();
        }
    }
    db.executeScript(QStringLiteral("COMMIT"));
}

// The statement run bare: every row stepped, every column read as text.
double bareRun(const QString& path, long long* bytes) {
    const Database db(path, Database::Mode::ReadOnly);
    QElapsedTimer timer;
    timer.start();
    long long total = 0;
    {
        Statement st(db, statement);
        const int columns = st.columnCount();
        while (st.step())
            for (int c = 0; c < columns; ++c) {
                const QByteArrayView text = st.utf8(c);
                total += text.size() + (text.data() ? 0 : 1);
            }
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    *bytes = total;
    return ms;
}

long long bookCount(const QString& path) {
    const Database db(path, Database::Mode::ReadOnly);
    Statement st(db, QStringLiteral("SELECT COUNT(*) FROM kitapkayit"));
    st.step();
    return st.text(0).toLongLong();
}

// The first write of n bytes into memory just allocated: the least that keeping the rows costs.
double freshMemoryMs(size_t n) {
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<char[]> block(new char[n]);
    std::memset(block.get(), 1, n);
    const double ms = elapsedMs(timer);
    volatile char sink = block[n / 2];
    (void)sink;
    return ms;
}

// Notes the moment the data source passes "opened" on, before and after the grid hears it.
class Stopwatch : public data::DataLink {
public:
    explicit Stopwatch(const QElapsedTimer& timer) : timer_(timer) {}
    void activeChanged() override { at = elapsedMs(timer_); }
    double at = 0;

private:
    const QElapsedTimer& timer_;
};

struct Figures {
    double megabytes = 0; // what the record set keeps, about
    double bare = 1e300, open = 1e300, freshMemory = 1e300, gridOpen = 1e300;
    double gridFollows = 1e300, gridFollowsAgain = 1e300, firstPaint = 1e300, repaint = 1e300;
};

Figures measure(const QString& path, const QString& connectionString, int runs) {
    Figures best;
    for (int run = 0; run < runs; ++run) {
        long long bytes = 0;
        best.bare = std::min(best.bare, bareRun(path, &bytes));
        // The cell bytes (numbers read as text are about as long) and a 4-byte header per cell.
        const double kept = static_cast<double>(bytes + bookCount(path) * 4 * 15);
        best.megabytes = kept / (1 << 20);
        best.freshMemory = std::min(best.freshMemory, freshMemoryMs(static_cast<size_t>(kept)));

        QElapsedTimer timer;
        {
            data::TADOQuery alone(QStringLiteral("kitap"), data::kitapkayitTable(), statement);
            alone.setConnectionString(connectionString);
            alone.open(); // the connection is made on the first open; time the second
            alone.close();
            timer.start();
            alone.open();
            best.open = std::min(best.open, elapsedMs(timer));
        }

        data::TADOQuery kitap(QStringLiteral("kitap"), data::kitapkayitTable(), statement);
        kitap.setConnectionString(connectionString);
        kitap.open();
        kitap.close();
        data::TDataSource kitapD(QStringLiteral("kitapD"), &kitap);
        Stopwatch before(timer), after(timer);
        kitapD.addLink(&before);
        data::TDBGrid grid;
        grid.setColumns(bookGridColumns());
        grid.setDataSource(&kitapD);
        kitapD.addLink(&after);
        grid.resize(1200, 800);
        grid.show();
        QApplication::processEvents();

        timer.restart();
        kitap.open();
        const double opened = elapsedMs(timer);
        QApplication::processEvents(); // the layout the open posted
        grid.viewport()->repaint();
        best.firstPaint = std::min(best.firstPaint, elapsedMs(timer));
        best.gridOpen = std::min(best.gridOpen, opened);
        best.gridFollows = std::min(best.gridFollows, after.at - before.at);

        timer.restart();
        grid.viewport()->repaint();
        best.repaint = std::min(best.repaint, elapsedMs(timer));

        // A search closes and opens again; the grid has laid out this many lines before.
        kitap.close();
        QApplication::processEvents();
        timer.restart();
        kitap.open();
        best.gridFollowsAgain = std::min(best.gridFollowsAgain, after.at - before.at);
        kitapD.removeLink(&after);
        kitapD.removeLink(&before);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/DATA.mdb");
        tools::createDatabase(path);
        const QString connectionString =
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
            QDir::toNativeSeparators(dir.path()) +
            QStringLiteral("\\DATA.mdb;Persist Security Info=False");

        std::vector<Figures> figures;
        int books = 0;
        for (const int target : {100000, 1000000}) {
            addBooks(path, books, target - books);
            books = target;
            figures.push_back(measure(path, connectionString, 3));
        }

        std::printf("Opening \"%s\", best of 3 runs, milliseconds\n\n",
                    statement.toUtf8().constData());
        std::printf("%-50s %16s %16s\n", "", "100,000 books", "1,000,000 books");
        const auto line = [&](const char* what, double Figures::*field, int decimals) {
            std::printf("%-50s %16.*f %16.*f\n", what, decimals, figures[0].*field, decimals,
                        figures[1].*field);
        };
        line("rows kept by the record set (MB, about)", &Figures::megabytes, 0);
        line("(a) bare SQLite run of the statement", &Figures::bare, 1);
        line("(b) TADOQuery::open()", &Figures::open, 1);
        line("    first write of that many MB of new memory", &Figures::freshMemory, 1);
        line("    TADOQuery::open() with a shown grid linked", &Figures::gridOpen, 1);
        line("    the grid's part of it: model reset, current row", &Figures::gridFollows, 2);
        line("    the same on a reopen (close, open: a search)", &Figures::gridFollowsAgain, 2);
        line("(c) open to the first paint of the grid", &Figures::firstPaint, 1);
        line("    one more paint of the same screen", &Figures::repaint, 2);
        std::printf("\n(a): prepare, step every row, sqlite3_column_text/bytes of every column.\n"
                    "(b): the record set alone, its second open (the connection is made).\n"
                    "(c): a shown 1200 x 800 grid, the record set closed; open, the layout it "
                    "posted, one paint.\n");
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
