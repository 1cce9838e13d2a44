// bench_araclar_desk_scan [BOOKS READERS LOANS [SCANS]]: one scan at the "Ödünç Masası", from
// the Enter of a book's code to the loan stored and the reader's books shown again, on a
// generated library; beside it, in the same process, a bare SQLite run of the same lookups and
// insert (the code as a reader's number and as a book's code, the reader and the book by key,
// the namesakes, the reader's loans, the insert in one transaction, the reader's loans again).
// Each scan lends another book to another reader; the rules let every loan through.

#include "araclar/context.h"
#include "araclar/deskpage.h"
#include "araclar/desksettings.h"
#include "data/sqlite.h"
#include "support/benchkit.h"
#include "tools/codes.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

struct Pick {
    qint64 reader;
    QString number, name;
    qint64 book;
    QString code, title;
};

void run(sqlite3* db, const char* sql, const std::function<void(sqlite3_stmt*)>& bind) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    bind(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_text(st, c);
    sqlite3_finalize(st);
}

void text(sqlite3_stmt* st, int i, const QString& s) {
    const QByteArray b = s.toUtf8();
    sqlite3_bind_text(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
}

double bareScan(sqlite3* db, const Pick& p) {
    QElapsedTimer timer;
    timer.start();
    run(db, "BEGIN IMMEDIATE", [](sqlite3_stmt*) {});
    run(db, "select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU from okuyucu where NUMARASI in (?1, ?2)",
        [&](sqlite3_stmt* st) {
            text(st, 1, p.code);
            text(st, 2, p.code);
        });
    run(db, "select IDNO, KITABINADI, YAZARI from kitapkayit where BARKODU in (?1, ?2)",
        [&](sqlite3_stmt* st) {
            text(st, 1, p.code);
            text(st, 2, p.code);
        });
    run(db, "select * from okuyucu where IDNO = ?",
        [&](sqlite3_stmt* st) { sqlite3_bind_int64(st, 1, p.reader); });
    run(db, "select count(*) from okuyucu where ADISOYADI = ?",
        [&](sqlite3_stmt* st) { text(st, 1, p.name); });
    run(db, "select * from kitapkayit where IDNO = ?",
        [&](sqlite3_stmt* st) { sqlite3_bind_int64(st, 1, p.book); });
    run(db, "select * from hareket where O_ADI_SOYADI = ?",
        [&](sqlite3_stmt* st) { text(st, 1, p.name); });
    run(db,
        "insert into hareket (O_ADI_SOYADI, TELEFONU, ADIGIKITAP, TESLIMTARIHI, "
        "GERIGETIRMETARIHI, ACIKLAMA, DURUM) values (?, null, ?, '2026-05-21 10:00:00.000', "
        "'2026-06-05 10:00:00.000', null, 'Verildi') returning *",
        [&](sqlite3_stmt* st) {
            text(st, 1, p.name);
            text(st, 2, p.title);
        });
    run(db, "COMMIT", [](sqlite3_stmt*) {});
    run(db, "select * from hareket where O_ADI_SOYADI = ?",
        [&](sqlite3_stmt* st) { text(st, 1, p.name); });
    return benchkit::elapsedMs(timer);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const benchkit::LibrarySize size = benchkit::librarySize(app.arguments(), 200);
    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);
    {
        data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadWrite);
        tools::ensureLookupIndexes(db);
    }
    // Readers and books to scan: each reader once, each book once.
    std::vector<Pick> picks;
    {
        const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
        data::sqlite::Statement r(db, QStringLiteral("select IDNO, ADISOYADI from okuyucu order by "
                                                     "IDNO"));
        data::sqlite::Statement b(db, QStringLiteral("select IDNO, BARKODU, KITABINADI from "
                                                     "kitapkayit where BARKODU is not null order "
                                                     "by IDNO"));
        while (static_cast<int>(picks.size()) < 2 * size.repeats && r.step() && b.step())
            picks.push_back({r.int64(0), QString(), r.text(1), b.int64(0), b.text(1), b.text(2)});
    }
    araclar::Context context = araclar::contextFor(dir.filePath(QStringLiteral("ternavolk")),
                                                   dir.filePath(QStringLiteral("araclar.ini")));
    context.now = [] { return QDateTime(QDate(2026, 5, 21), QTime(10, 0)); };
    QSettings settings(context.settingsFile, QSettings::IniFormat);
    tools::desk::Rules open;
    open.pupilLimit = open.teacherLimit = 100000;
    open.notLent.clear();
    open.lateBlocks = false;
    araclar::saveRules(settings, context, open);
    araclar::DeskPage page(context, settings);
    page.show();

    sqlite3* bare = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    std::vector<double> desk, plain;
    for (int i = 0; i < size.repeats; ++i) {
        const Pick& p = picks[static_cast<size_t>(2 * i)];
        page.scanEdit->setText(tools::deskReaderCode(p.reader));
        page.takeInput();
        page.scanEdit->setText(p.code);
        QElapsedTimer timer;
        timer.start();
        page.takeInput(); // resolved, lent, stored, the reader's books shown again
        desk.push_back(benchkit::elapsedMs(timer));
        plain.push_back(bareScan(bare, picks[static_cast<size_t>(2 * i + 1)]));
    }
    sqlite3_close_v2(bare);
    const double d = benchkit::median(desk), b = benchkit::median(plain);
    std::printf("scans: %d\nbare SQLite lookups and insert (median): %.2f ms\ndesk scan to "
                "stored and shown (median): %.2f ms\nratio: %.2f\n",
                size.repeats, b, d, d / b);
    return 0;
}
