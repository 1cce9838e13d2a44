// The database tool and the data it fills new databases with: the demo and generated databases
// must open through the program's own record sets, hold consistent loans, keep Turkish capitals,
// lie open to their owner only, and never replace a file that is already there.

#include "data/adoquery.h"
#include "data/connectionstring.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "support/filemode.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/check.h"
#include "tools/dbfile.h"
#include "tools/demodata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using data::TADOQuery;
using data::Value;

namespace {

template <typename F> QString failure(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.message();
    }
    return QString();
}

// The three ways of making a new database: 0 empty, 1 demo, 2 generated.
void make(int kind, const QString& path) {
    if (kind == 0)
        tools::createDatabase(path);
    else if (kind == 1)
        tools::createDemoDatabase(path);
    else
        tools::createGeneratedDatabase(path, 30, 20, 40);
}

// Every command with every option it takes, one line each.
const QString usage = QStringLiteral(
    "Usage: ternavolk-db create PATH\n"
    "       ternavolk-db demo PATH\n"
    "       ternavolk-db generate PATH --books N --readers N --loans N\n"
    "       ternavolk-db import OLD NEW [--salvage] [--json]\n"
    "       ternavolk-db backup PATH DEST\n"
    "       ternavolk-db backup PATH --into FOLDER [--keep-days N] [--keep-months N]\n"
    "       ternavolk-db restore BACKUP PATH [--into FOLDER]\n"
    "       ternavolk-db check PATH\n"
    "       ternavolk-db readers PATH LIST... --school NAME [--dry-run] [--accept-names] "
    "[--mark-leavers]\n"
    "       ternavolk-db books PATH LIST... [--dry-run]\n"
    "       ternavolk-db labels PATH OUT [--sheet 3x8|3x7] [--start N] [--serino FROM-TO | "
    "--since YYYY-MM-DD]\n"
    "       ternavolk-db cards PATH OUT [--school NAME] [--class CLASS]\n"
    "       ternavolk-db slips PATH OUT [--today YYYY-MM-DD]");

QString existsMessage(const QString& path) {
    return QStringLiteral("The file '%1' already exists; it is left as it is").arg(path);
}

// A record set of the program, opened on the DATA.mdb in `dir` as the main window opens it.
std::unique_ptr<TADOQuery> openTable(const data::TableDef& table, const QString& dir) {
    auto q = std::make_unique<TADOQuery>(table.tableName(), table,
                                         QStringLiteral("select * from  ") + table.tableName());
    q->setConnectionString(data::connectionString(QDir::toNativeSeparators(dir)));
    q->open();
    return q;
}

QList<Value> columnValues(TADOQuery& q, const QString& column) {
    const int c = q.fieldByName(column).index();
    QList<Value> out;
    for (int r = 0; r < q.recordCount(); ++r)
        out << q.value(r, c);
    return out;
}

QSet<QString> texts(TADOQuery& q, const QString& column) {
    QSet<QString> out;
    for (const Value& v : columnValues(q, column))
        out << v.toText();
    return out;
}

QString rawCount(const QString& file, const QString& table) {
    return testsupport::fileRows(file, QStringLiteral("SELECT COUNT(*) FROM ") + table)
        .value(0)
        .value(0);
}

QList<QStringList> dump(const QString& file) {
    QList<QStringList> all;
    for (const data::TableDef* t : data::allTables())
        all += testsupport::fileRows(
            file, QStringLiteral("SELECT * FROM %1 ORDER BY IDNO").arg(t->tableName()));
    return all;
}

// Owner, group and other bits only (Qt adds the current user's bits besides).
const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

using Run = testsupport::ToolRun;

Run runTool(const QStringList& args, const QString& workDir) {
    return testsupport::runTool(QString::fromUtf8(TERNAVOLK_DB_TOOL), args, workDir);
}

// Leaves `path` as a save that died in the middle leaves it: the file partly written and its
// journal beside it, no lock held. The save runs on a copy in `scratch` with a cache too small to
// keep the change in memory, so SQLite writes into the file before it commits; the two files are
// taken over at that moment and the save is rolled back.
QString journalMessage(const QString& path) {
    return QStringLiteral("A save that did not finish left its journal file '%1-journal' beside "
                          "the file '%1': a copy of the program or another program stopped while "
                          "it was writing. Open the file once with the program, where it may "
                          "write in that folder: that completes the repair. Then run this "
                          "command again. Do not delete the journal file, the repair needs it")
        .arg(path);
}

QString damagedCopyMessage(const QString& path, const QString& copy) {
    return QStringLiteral("The file '%1' is damaged: the copy '%2' was made, but it is not a "
                          "sound backup. Keep your last sound backup; the copy stays beside it "
                          "in case it is the best there is. The check of the copy found:\n")
        .arg(path, copy);
}

} // namespace

class DatabaseTool : public QObject {
    Q_OBJECT

    QTemporaryDir temp_;
    QString demoDir_; // holds the demo DATA.mdb that every demo test reads
    int counter_ = 0;

    // A fresh folder (with Turkish letters and a blank in its name) inside the temporary one.
    QString freshDir() {
        const QString dir = temp_.path() + QStringLiteral("/Kütüphane %1").arg(++counter_);
        QDir().mkpath(dir);
        return dir;
    }

private slots:
    void initTestCase() {
        QVERIFY(temp_.isValid());
        demoDir_ = freshDir();
        tools::createDemoDatabase(demoDir_ + u"/DATA.mdb"_s);
    }

    void demoOpensThroughTheRecordSets_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        QTest::newRow("readers") << 0 << 35 << 45;
        QTest::newRow("books") << 1 << 90 << 110;
        QTest::newRow("loans") << 2 << 25 << 35;
    }
    void demoOpensThroughTheRecordSets() {
        QFETCH(int, table);
        QFETCH(int, least);
        QFETCH(int, most);
        const auto q = openTable(*data::allTables()[static_cast<size_t>(table)], demoDir_);
        QVERIFY(q->active());
        QVERIFY2(q->recordCount() >= least && q->recordCount() <= most,
                 qPrintable(QString::number(q->recordCount())));
        // Every text fits its column (or the entry windows could not hold it), every date has
        // the pickers' time of day, and the keys run from 1.
        for (int c = 0; c < q->fieldCount(); ++c) {
            const data::TField& f = q->field(c);
            for (int r = 0; r < q->recordCount(); ++r) {
                const Value v = q->value(r, c);
                if (f.kind() == data::Kind::WideString)
                    QVERIFY2(v.toText().size() <= f.size(), qPrintable(v.toText()));
                if (f.kind() == data::Kind::DateTime && !v.isNull())
                    QCOMPARE(v.toDateTime().time(), QTime(16, 15, 25, 890));
                if (f.kind() == data::Kind::AutoInc)
                    QCOMPARE(v, Value(r + 1));
            }
        }
    }

    void demoLoansNameExistingReadersAndBooks() {
        const auto readers = openTable(data::okuyucuTable(), demoDir_);
        const auto books = openTable(data::kitapkayitTable(), demoDir_);
        const auto loans = openTable(data::hareketTable(), demoDir_);
        const QSet<QString> names = texts(*readers, u"ADISOYADI"_s);
        const QSet<QString> titles = texts(*books, u"KITABINADI"_s);
        QSet<QString> states;
        for (int r = 0; r < loans->recordCount(); ++r) {
            loans->moveTo(r);
            const QString name = loans->fieldByName(u"O_ADI_SOYADI").text();
            const QString title = loans->fieldByName(u"ADIGIKITAP").text();
            QVERIFY2(names.contains(name), qPrintable(name));
            QVERIFY2(titles.contains(title), qPrintable(title));
            QVERIFY(loans->fieldByName(u"TELEFONU").isNull());
            QVERIFY(loans->fieldByName(u"GERIGETIRMETARIHI").asDateTime().days() >
                    loans->fieldByName(u"TESLIMTARIHI").asDateTime().days());
            states << loans->fieldByName(u"DURUM").text();
        }
        QCOMPARE(states, (QSet<QString>{u"Verildi"_s, u"Geri Alindi"_s}));
    }

    void demoKeepsTurkishCapitals() {
        const auto readers = openTable(data::okuyucuTable(), demoDir_);
        QVERIFY(readers->locate(readers->fieldByName(u"ADISOYADI"), Value(u"İSMAİL KILIÇ"_s)));
        QStringList row;
        for (int c = 0; c < readers->fieldCount(); ++c)
            row << readers->field(c).displayText();
        QCOMPARE(readers->fieldByName(u"DOGUMTARIHI").asDateTime(),
                 platform::DateTime::fromDate(QDate(2000, 12, 5), QTime(16, 15, 25, 890)));
        row[7].clear(); // the date's text depends on the locale; compared above
        QCOMPARE(row,
                 (QStringList{u"7"_s, u"İSMAİL KILIÇ"_s, u"İLKOKUL"_s, u"ATATÜRK İLKOKULU"_s,
                              u"322"_s, u"ÖĞRENCİ"_s, u"IĞDIR"_s, QString(), u"0 (312) 010 79 54"_s,
                              u"0 (555) 011 57 50"_s,
                              u"Esat Mah. Şehit Öğretmen Cad. No: 43/7 Yenimahalle/Ankara"_s}));
        // As stored in the file: capitals, the integer, dates as ISO text with milliseconds.
        QCOMPARE(
            testsupport::fileRows(demoDir_ + u"/DATA.mdb"_s,
                                  u"SELECT * FROM kitapkayit WHERE IDNO = 1"_s),
            (QList<QStringList>{{u"1"_s, u"0001"_s, u"ÇALIKUŞU"_s, u"REŞAT NURİ GÜNTEKİN"_s,
                                 u"ROMAN"_s, u"İNKILAP KİTABEVİ"_s, u"8690000010004"_s, u"Bağış"_s,
                                 u"5"_s, u"2004-09-01 16:15:25.890"_s, u"1995-01-01 16:15:25.890"_s,
                                 u"İSTANBUL"_s, u"1995"_s, u"1"_s, u"Velilerimizden bağış."_s}}));
    }

    void demoHasEmptyColumns() {
        // An unknown value is stored as no value, never as 0 or as an empty text.
        const QString file = demoDir_ + u"/DATA.mdb"_s;
        for (const QString& where :
             {u"kitapkayit WHERE DEGERI IS NULL"_s, u"kitapkayit WHERE BARKODU IS NULL"_s,
              u"okuyucu WHERE NUMARASI IS NULL"_s, u"okuyucu WHERE DOGUMTARIHI IS NULL"_s,
              u"hareket WHERE ACIKLAMA IS NULL"_s})
            QVERIFY2(rawCount(file, where).toInt() > 0, qPrintable(where));
        QCOMPARE(rawCount(file, u"kitapkayit WHERE DEGERI = 0 OR BARKODU = ''"_s), u"0"_s);
    }

    void generatedHasExactlyTheAskedRows_data() {
        QTest::addColumn<int>("books");
        QTest::addColumn<int>("readers");
        QTest::addColumn<int>("loans");
        QTest::newRow("some of each") << 7 << 5 << 11;
        QTest::newRow("nothing") << 0 << 0 << 0;
        QTest::newRow("one reader, one book") << 1 << 1 << 6;
    }
    void generatedHasExactlyTheAskedRows() {
        QFETCH(int, books);
        QFETCH(int, readers);
        QFETCH(int, loans);
        const QString dir = freshDir();
        tools::createGeneratedDatabase(dir + u"/DATA.mdb"_s, books, readers, loans);
        const auto r = openTable(data::okuyucuTable(), dir);
        const auto b = openTable(data::kitapkayitTable(), dir);
        const auto l = openTable(data::hareketTable(), dir);
        QCOMPARE(r->recordCount(), readers);
        QCOMPARE(b->recordCount(), books);
        QCOMPARE(l->recordCount(), loans);
        const QSet<QString> names = texts(*r, u"ADISOYADI"_s);
        const QSet<QString> titles = texts(*b, u"KITABINADI"_s);
        for (const Value& v : columnValues(*l, u"O_ADI_SOYADI"_s))
            QVERIFY2(names.contains(v.toText()), qPrintable(v.toText()));
        for (const Value& v : columnValues(*l, u"ADIGIKITAP"_s))
            QVERIFY2(titles.contains(v.toText()), qPrintable(v.toText()));
    }

    void generatedIsTheSameEveryTime() {
        const QString a = freshDir() + u"/DATA.mdb"_s;
        const QString b = freshDir() + u"/DATA.mdb"_s;
        tools::createGeneratedDatabase(a, 60, 25, 80);
        tools::createGeneratedDatabase(b, 60, 25, 80);
        const QList<QStringList> rows = dump(a);
        QCOMPARE(rows.size(), 60 + 25 + 80);
        QCOMPARE(dump(b), rows);
    }

    void generatedTitlesSuitCommonAndRareSearches() {
        const QString dir = freshDir();
        tools::createGeneratedDatabase(dir + u"/DATA.mdb"_s, 20000, 1, 0);
        const auto found = [&](const QString& text) {
            TADOQuery q(u"kitap"_s, data::kitapkayitTable(),
                        u"select * from  kitapkayit where KITABINADI like '%"_s + text + u"%'"_s);
            q.setConnectionString(data::connectionString(dir));
            q.open();
            return q.recordCount();
        };
        const int common = found(u"a"_s), rare = found(u"kehribar"_s);
        QVERIFY2(common > 10000, qPrintable(QString::number(common)));
        QVERIFY2(rare >= 1 && rare <= 50, qPrintable(QString::number(rare)));
    }

    void generatedRefusesImpossibleNumbers() {
        const QString path = freshDir() + u"/DATA.mdb"_s;
        const auto refusal = [&](int books, int readers, int loans) {
            try {
                tools::createGeneratedDatabase(path, books, readers, loans);
            } catch (const platform::Error& e) {
                return e.message();
            }
            return QString();
        };
        QCOMPARE(refusal(1, 1, -5),
                 u"The numbers of books, readers and loans cannot be negative"_s);
        QCOMPARE(refusal(4, 0, 1), u"Loans need at least one reader and one book"_s);
        QCOMPARE(refusal(0, 4, 1), u"Loans need at least one reader and one book"_s);
        QVERIFY(!QFileInfo::exists(path));
    }

    void toolRejectsBadCommandLines_data() {
        QTest::addColumn<QStringList>("args"); // "@" stands for a path that does not exist yet
        QTest::addColumn<QString>("problem");
        const auto gen = [](const QStringList& rest) {
            return QStringList{u"generate"_s, u"@"_s} + rest;
        };
        QTest::newRow("nothing") << QStringList() << u"no command given"_s;
        QTest::newRow("unknown command")
            << QStringList{u"frobnicate"_s, u"@"_s} << u"unknown command 'frobnicate'"_s;
        QTest::newRow("no path") << QStringList{u"create"_s} << u"create: missing PATH"_s;
        QTest::newRow("extra argument")
            << QStringList{u"demo"_s, u"@"_s, u"more"_s} << u"demo: unexpected argument 'more'"_s;
        QTest::newRow("option for path")
            << QStringList{u"generate"_s, u"--books"_s, u"1"_s} << u"generate: missing PATH"_s;
        QTest::newRow("loans missing") << gen({u"--books"_s, u"1"_s, u"--readers"_s, u"1"_s})
                                       << u"generate: --loans missing"_s;
        QTest::newRow("negative")
            << gen({u"--books"_s, u"-1"_s, u"--readers"_s, u"1"_s, u"--loans"_s, u"1"_s})
            << u"generate: --books needs a non-negative whole number, not '-1'"_s;
        QTest::newRow("too big")
            << gen({u"--books"_s, u"1"_s, u"--readers"_s, u"99999999999"_s})
            << u"generate: --readers needs a non-negative whole number, not '99999999999'"_s;
        QTest::newRow("given twice") << gen({u"--books"_s, u"1"_s, u"--books"_s, u"2"_s})
                                     << u"generate: --books given twice"_s;
        QTest::newRow("import without OLD") << QStringList{u"import"_s} << u"import: missing OLD"_s;
        QTest::newRow("import without NEW")
            << QStringList{u"import"_s, u"@"_s} << u"import: missing NEW"_s;
        QTest::newRow("import with more") << QStringList{u"import"_s, u"@"_s, u"@2"_s, u"more"_s}
                                          << u"import: unexpected argument 'more'"_s;
        QTest::newRow("import with --salvage, without NEW")
            << QStringList{u"import"_s, u"--salvage"_s, u"@"_s} << u"import: missing NEW"_s;
        QTest::newRow("backup without DEST")
            << QStringList{u"backup"_s, u"@"_s} << u"backup: missing DEST"_s;
        QTest::newRow("check with more")
            << QStringList{u"check"_s, u"@"_s, u"x"_s} << u"check: unexpected argument 'x'"_s;
        QTest::newRow("number missing")
            << gen({u"--books"_s, u"1"_s, u"--readers"_s, u"1"_s, u"--loans"_s})
            << u"generate: --loans needs a number"_s;
        QTest::newRow("readers without PATH")
            << QStringList{u"readers"_s, u"--school"_s, u"X"_s} << u"readers: missing PATH"_s;
        QTest::newRow("readers without LIST")
            << QStringList{u"readers"_s, u"@"_s, u"--school"_s, u"X"_s}
            << u"readers: missing LIST"_s;
        QTest::newRow("readers without school")
            << QStringList{u"readers"_s, u"@"_s, u"liste.xls"_s, u"--dry-run"_s}
            << u"readers: --school NAME missing"_s;
        QTest::newRow("readers with a blank school")
            << QStringList{u"readers"_s, u"@"_s, u"liste.xls"_s, u"--school"_s, u"  "_s}
            << u"readers: --school NAME missing"_s;
        QTest::newRow("readers with school at the end")
            << QStringList{u"readers"_s, u"@"_s, u"liste.xls"_s, u"--school"_s}
            << u"readers: --school needs a value"_s;
        QTest::newRow("books with a readers' option")
            << QStringList{u"books"_s, u"@"_s, u"kitaplar.xlsx"_s, u"--accept-names"_s}
            << u"books: unexpected argument '--accept-names'"_s;
        QTest::newRow("books dry run twice")
            << QStringList{u"books"_s, u"@"_s, u"k.xlsx"_s, u"--dry-run"_s, u"--dry-run"_s}
            << u"books: --dry-run given twice"_s;
    }
    void toolRejectsBadCommandLines() {
        QFETCH(QStringList, args);
        QFETCH(QString, problem);
        const QString dir = freshDir();
        args.replaceInStrings(u"@"_s, dir + u"/DATA.mdb"_s);
        const Run r = runTool(args, dir);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, u"ternavolk-db: "_s + problem + u"\n"_s + usage + u"\n"_s);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void toolMakesEachKind_data() {
        QTest::addColumn<QStringList>("args"); // "@" stands for the new file's path
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("counts"); // readers, books, loans
        const QString demo = demoDir_ + u"/DATA.mdb"_s;
        QTest::newRow("create") << QStringList{u"create"_s, u"@"_s}
                                << u"Created an empty database: @"_s
                                << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("demo") << QStringList{u"demo"_s, u"@"_s} << u"Created a demo database: @"_s
                              << QStringList{rawCount(demo, u"okuyucu"_s),
                                             rawCount(demo, u"kitapkayit"_s),
                                             rawCount(demo, u"hareket"_s)};
        QTest::newRow("generate, options in any order")
            << QStringList{u"generate"_s, u"@"_s, u"--loans"_s,   u"9"_s,
                           u"--books"_s,  u"4"_s, u"--readers"_s, u"3"_s}
            << u"Created a database with 4 books, 3 readers and 9 loans: @"_s
            << QStringList{u"3"_s, u"4"_s, u"9"_s};
    }
    void toolMakesEachKind() {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        QFETCH(QStringList, counts);
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        args.replaceInStrings(u"@"_s, path);
        const Run r = runTool(args, dir);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, said.replace(u"@"_s, path) + u"\n"_s);
        // For its owner only (it holds pupils' personal data); committed and closed, so no
        // journal is left beside it.
        COMPARE_FILE_MODE(path, ownerOnly);
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{u"DATA.mdb"_s});
        QCOMPARE((QStringList{rawCount(path, u"okuyucu"_s), rawCount(path, u"kitapkayit"_s),
                              rawCount(path, u"hareket"_s)}),
                 counts);
        if (args[0] == u"demo")
            QCOMPARE(dump(path), dump(demoDir_ + u"/DATA.mdb"_s));
        for (const data::TableDef* t : data::allTables())
            QVERIFY(openTable(*t, dir)->active());
    }

    void anExistingFileIsLeftUntouched_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("create") << 0 << QStringList{u"create"_s, u"@"_s};
        QTest::newRow("demo") << 1 << QStringList{u"demo"_s, u"@"_s};
        QTest::newRow("generate") << 2 << QStringList{u"generate"_s,  u"@"_s, u"--books"_s, u"1"_s,
                                                      u"--readers"_s, u"1"_s, u"--loans"_s, u"1"_s};
    }
    void anExistingFileIsLeftUntouched() {
        QFETCH(int, kind);
        QFETCH(QStringList, args);
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        const QByteArray before("the librarian's own file\n\0\x01\xff", 28);
        const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
        f.close();
        QVERIFY(QFile::setPermissions(path, mode));
        const auto unchanged = [&] {
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
            f.close();
            COMPARE_FILE_MODE(path, mode);
        };

        QString message;
        try {
            make(kind, path);
        } catch (const platform::Error& e) {
            message = e.message();
        }
        QCOMPARE(message, existsMessage(path));
        unchanged();
        if (QTest::currentTestFailed())
            return;

        args.replaceInStrings(u"@"_s, path);
        const Run r = runTool(args, dir);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, u"ternavolk-db: "_s + existsMessage(path) + u"\n"_s);
        unchanged();
    }
    void backupWhileTheProgramWrites() {
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        tools::createGeneratedDatabase(path, 20000, 50, 100);
        const QString copy = freshDir() + u"/yedek.mdb"_s;
        auto books = openTable(data::kitapkayitTable(), dir);

        QProcess tool;
        tool.start(QString::fromUtf8(TERNAVOLK_DB_TOOL), {u"backup"_s, path, copy});
        QVERIFY(tool.waitForStarted());
        int posted = 0;
        while (tool.state() != QProcess::NotRunning || posted < 3) {
            books->append();
            books->fieldByName(u"KITABINADI").setText(u"Yeni kitap %1"_s.arg(++posted));
            books->post();
            tool.waitForFinished(1);
        }
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(testsupport::processText(tool.readAllStandardError()), QString());
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(testsupport::processText(tool.readAllStandardOutput()),
                 u"Backed up %1 to %2\n"_s.arg(path, copy));
        COMPARE_FILE_MODE(copy, ownerOnly);
        QCOMPARE(QDir(QFileInfo(copy).path()).entryList(QDir::Files), QStringList{u"yedek.mdb"_s});

        const Run check = runTool({u"check"_s, copy}, dir);
        QCOMPARE(check.out, u"ok\n"_s);
        QCOMPARE(check.exitCode, 0);
        // The copy is the file at one moment: the rows up to its last book, each whole.
        const QString last =
            testsupport::fileRows(copy, u"SELECT max(IDNO) FROM kitapkayit"_s).value(0).value(0);
        QVERIFY(last.toInt() >= 20000);
        const QString upTo = u" WHERE IDNO <= "_s + last + u" ORDER BY IDNO"_s;
        QCOMPARE(testsupport::fileRows(copy, u"SELECT * FROM kitapkayit"_s + upTo),
                 testsupport::fileRows(path, u"SELECT * FROM kitapkayit"_s + upTo));
        QCOMPARE(rawCount(path, u"kitapkayit"_s), QString::number(20000 + posted));
        for (const QString& table : {u"okuyucu"_s, u"hareket"_s})
            QCOMPARE(testsupport::fileRows(copy, u"SELECT * FROM "_s + table),
                     testsupport::fileRows(path, u"SELECT * FROM "_s + table));
    }

    void backupRefuses_data() {
        QTest::addColumn<QString>("source"); // "demo", "missing", "empty"
        QTest::addColumn<bool>("destinationExists");
        QTest::addColumn<QString>("message"); // %1 the source, %2 the destination
        QTest::newRow("destination exists")
            << u"demo"_s << true << u"The file '%2' already exists; it is left as it is"_s;
        QTest::newRow("source missing") << u"missing"_s << false << u"Could not find file '%1'."_s;
        QTest::newRow("source empty")
            << u"empty"_s << false
            << u"The file '%1' is empty: it is not a database of the program"_s;
    }
    void backupRefuses() {
        QFETCH(QString, source);
        QFETCH(bool, destinationExists);
        QFETCH(QString, message);
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        const QString copy = dir + u"/yedek.mdb"_s;
        if (source == u"demo"_s)
            tools::createDemoDatabase(path);
        if (source == u"empty"_s)
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        const QByteArray before("the librarian's last backup\n");
        if (destinationExists) {
            QFile f(copy);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        const Run r = runTool({u"backup"_s, path, copy}, dir);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, u"ternavolk-db: "_s +
                            QString(message).replace(u"%1"_s, path).replace(u"%2"_s, copy) +
                            u"\n"_s);
        QCOMPARE(r.exitCode, 1);
        QFile f(copy);
        QCOMPARE(f.exists(), destinationExists);
        if (destinationExists) {
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        }
    }

    void checkReportsEachProblem_data() {
        QTest::addColumn<QString>("change"); // SQL, or "damage" / "empty"
        QTest::addColumn<QString>("said");   // %1 the file; "<integrity>" SQLite's findings
        QTest::addColumn<int>("exitCode");
        QString noAddress = data::okuyucuTable().createStatement();
        noAddress.replace(u", ADRESI VARCHAR(255)"_s, QString());
        QString textValue = data::kitapkayitTable().createStatement();
        textValue.replace(u"DEGERI INTEGER"_s, u"DEGERI VARCHAR(9)"_s);
        QTest::newRow("sound") << QString() << u"ok\n"_s << 0;
        QTest::newRow("missing column") << u"DROP TABLE okuyucu; "_s + noAddress
                                        << u"okuyucu: Field 'ADRESI' not found\n"_s << 1;
        QTest::newRow("column of another kind and a missing table")
            << u"DROP TABLE hareket; DROP TABLE kitapkayit; "_s + textValue
            << u"kitapkayit: Type mismatch for field 'DEGERI', expecting: Integer actual: "
               u"WideString\nhareket: no such table: hareket\n"_s
            << 1;
        QTest::newRow("damaged page") << u"damage"_s << u"<integrity>"_s << 1;
        QString noAutoIncrement = data::hareketTable().createStatement();
        noAutoIncrement.replace(u"PRIMARY KEY AUTOINCREMENT"_s, u"PRIMARY KEY"_s);
        QTest::newRow("key without AUTOINCREMENT and a trigger")
            << u"DROP TABLE hareket; "_s + noAutoIncrement +
                   u"; CREATE TRIGGER tarih AFTER INSERT ON kitapkayit BEGIN UPDATE kitapkayit "
                   u"SET EDINMETARIHI = datetime('now') WHERE IDNO = NEW.IDNO; END"_s
            << u"The table 'kitapkayit' of the file '%1' does not keep the rules the program's "
               u"saves rely on: it carries the trigger 'tarih', which changes rows behind the "
               u"program's back, so a saved row could differ from the one the program shows. "
               u"Another program added it; remove it (DROP TRIGGER \"tarih\") or put the "
               u"file's last backup in its place\nThe table 'hareket' of the file '%1' does not "
               u"keep the rules the program's saves rely on: its key IDNO is not INTEGER PRIMARY "
               u"KEY AUTOINCREMENT, so the key of a deleted row could be given to a new row, and "
               u"a change meant for the deleted row would land on the new one. Another program "
               u"made that table; put the file's last backup in its place\n"_s
            << 1;
        QTest::newRow("write-ahead log")
            << u"PRAGMA journal_mode = WAL"_s
            << u"The file '%1' was switched to a write-ahead log (WAL) by another program, which "
               u"a folder on a network share cannot serve safely. Close that program and open "
               u"the file once with this program, which switches it back to its journal file; "
               u"then run the check again\n"_s
            << 1;
        QTest::newRow("journal of an unfinished save") << u"journal"_s << u"<journal>"_s << 1;
        QTest::newRow("empty file")
            << u"empty"_s << u"The file '%1' is empty: it is not a database of the program\n"_s
            << 1;

        // The values themselves, which SQLite's own check passes: what the program never
        // writes is named by table, IDNO and column.
        const QString book = u"kitapkayit: the row with IDNO %1 holds in %2 "_s;
        QTest::newRow("a text that is not UTF-8")
            << u"UPDATE kitapkayit SET KITABINADI = CAST(x'4B69C374' AS TEXT) WHERE IDNO = 7"_s
            << book.arg(7).arg(u"KITABINADI"_s) + u"a text that is not valid UTF-8\n"_s << 1;
        QTest::newRow("NUL and control characters")
            << u"UPDATE kitapkayit SET YAZARI = 'A' || char(0) || 'B' WHERE IDNO = 2; "
               u"UPDATE kitapkayit SET ACIKLAMA = 'bir' || char(27) || 'iki' WHERE IDNO = 9"_s
            << book.arg(2).arg(u"YAZARI"_s) + u"a text with a NUL character\n"_s +
                   book.arg(9).arg(u"ACIKLAMA"_s) + u"a text with the control character U+001B\n"_s
            << 1;
        QTest::newRow("date-times the program cannot read")
            << u"UPDATE kitapkayit SET EDINMETARIHI = '2011-:0-03 00:00:00.000' WHERE IDNO = 3; "
               u"UPDATE kitapkayit SET BASKITARIHI = 40000 WHERE IDNO = 3; "
               u"UPDATE kitapkayit SET BASKITARIHI = 40000.25 WHERE IDNO = 4"_s
            << book.arg(3).arg(u"EDINMETARIHI"_s) +
                   u"'2011-:0-03 00:00:00.000', which is not a date and time the program can "
                   u"read\n"_s +
                   book.arg(3).arg(u"BASKITARIHI"_s) +
                   u"the number 40000, which is not a date and time the program can read\n"_s +
                   book.arg(4).arg(u"BASKITARIHI"_s) +
                   u"the number 40000.25, which is not a date and time the program can read\n"_s
            << 1;
        // What the program itself writes or reads: line breaks and tabs, every form of
        // date-time it reads, Turkish letters and letters beyond the first 65,536.
        QTest::newRow("line breaks, tabs and every date-time the program reads")
            << u"UPDATE kitapkayit SET ACIKLAMA = 'Bir' || char(13, 10) || 'iki' || char(9) || "
               u"'üç' WHERE IDNO = 1; UPDATE kitapkayit SET EDINMETARIHI = CASE IDNO % 4 WHEN 0 "
               u"THEN '2009-05-21 16:15:25.890' WHEN 1 THEN '2009-05-21T16:15:25' WHEN 2 THEN "
               u"'2009-05-21 16:15' ELSE '0100-01-01' END; UPDATE kitapkayit SET YAZARI = "
               u"'Şükrü 𝄞 ĞİŞ', BASKITARIHI = ' 2008-02-29 23:59:59.999'"_s
            << u"ok\n"_s << 0;
        QString many;
        for (int i = 1; i <= 100; ++i)
            many +=
                book.arg(i).arg(u"ACIKLAMA"_s) + u"a text with the control character U+0001\n"_s;
        QTest::newRow("more values than are listed")
            << u"UPDATE kitapkayit SET ACIKLAMA = 'x' || char(1)"_s
            << many + u"200 more values like these were found and are not listed one by one\n"_s
            << 1;
    }
    void checkReportsEachProblem() {
        QFETCH(QString, change);
        QFETCH(QString, said);
        QFETCH(int, exitCode);
        testsupport::TempDatabase db;
        const QString path = db.filePath();
        db.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                u"INSERT INTO kitapkayit (KITABINADI, ACIKLAMA) SELECT 'Kitap ' || i, "
                u"printf('%0255d', i) FROM n"_s);
        if (change == u"damage"_s) {
            QVERIFY(testsupport::overwriteRootPage(path, u"kitapkayit"_s));
            // SQLite's own findings, up to where it gives up on the page with an error.
            QStringList findings;
            {
                const data::sqlite::Database raw(path, data::sqlite::Database::Mode::ReadOnly);
                data::sqlite::Statement st(raw, u"PRAGMA integrity_check"_s);
                QVERIFY(!failure([&] {
                             while (st.step())
                                 findings << QString::fromUtf8(reinterpret_cast<const char*>(
                                     sqlite3_column_text(st.handle(), 0)));
                         }).isEmpty());
            }
            QVERIFY(!findings.isEmpty() && findings != QStringList{u"ok"_s});
            said = findings.join(u'\n') +
                   u"\nThe check stopped there: the file '%1' is too damaged to be read "
                   u"further. Put its last backup in its place\n"_s;
        } else if (change == u"empty"_s) {
            QVERIFY(QFile(path).resize(0));
        } else if (change == u"journal"_s) {
            db.release(); // Windows replaces no file that is open
            QVERIFY(testsupport::leaveUnfinishedSave(path, freshDir()));
            said = journalMessage(u"%1"_s) + u"\n"_s;
        } else if (!change.isEmpty()) {
            db.exec(change);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        const Run r = runTool({u"check"_s, path}, db.directory());
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, said.arg(path));
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == before); // only read
        QCOMPARE(QFile::exists(path + u"-journal"_s), change == u"journal"_s);
    }

    // The findings given apart for the companion: each kind with its table, column, IDNO,
    // count, detail and cause, and as text what the check prints.
    void checkFindingsGiveEachPartApart_data() {
        QTest::addColumn<QString>("change"); // SQL, or "missing" / "empty" / "text" (no database)
        // kind|table|column|id|count|detail|fault, one a finding
        QTest::addColumn<QStringList>("findings");
        using K = tools::CheckFinding::Kind;
        const auto f = [](K kind, const QString& table = {}, const QString& column = {},
                          qint64 id = 0, qint64 count = 0, const QString& detail = {},
                          data::FileFault fault = data::FileFault::Other) {
            return u"%1|%2|%3|%4|%5|%6|%7"_s.arg(int(kind))
                .arg(table, column)
                .arg(id)
                .arg(count)
                .arg(detail)
                .arg(int(fault));
        };
        QTest::newRow("no file") << u"missing"_s
                                 << QStringList{
                                        f(K::File, {}, {}, 0, 0, {}, data::FileFault::Missing)};
        QTest::newRow("an empty file")
            << u"empty"_s << QStringList{f(K::File, {}, {}, 0, 0, {}, data::FileFault::Empty)};
        QTest::newRow("no database")
            << u"text"_s
            << QStringList{f(K::File, {}, {}, 0, 0, {}, data::FileFault::NotADatabase)};
        QTest::newRow("write-ahead log")
            << u"PRAGMA journal_mode = WAL"_s
            << QStringList{f(K::File, {}, {}, 0, 0, {}, data::FileFault::WriteAheadLog)};
        QString textValue = data::kitapkayitTable().createStatement();
        textValue.replace(u"DEGERI INTEGER"_s, u"DEGERI VARCHAR(9)"_s);
        QString noAddress = data::okuyucuTable().createStatement();
        noAddress.replace(u", ADRESI VARCHAR(255)"_s, QString());
        QTest::newRow("tables and columns")
            << u"DROP TABLE hareket; DROP TABLE kitapkayit; DROP TABLE okuyucu; "_s + textValue +
                   u"; "_s + noAddress
            << QStringList{
                   f(K::MissingColumn, u"okuyucu"_s, u"ADRESI"_s),
                   f(K::WrongColumnKind, u"kitapkayit"_s, u"DEGERI"_s, 0, 0, u"VARCHAR(9)"_s),
                   f(K::MissingTable, u"hareket"_s)};
        QString noAutoIncrement = data::hareketTable().createStatement();
        noAutoIncrement.replace(u"PRIMARY KEY AUTOINCREMENT"_s, u"PRIMARY KEY"_s);
        QTest::newRow("rules")
            << u"CREATE TRIGGER tarih AFTER INSERT ON okuyucu BEGIN DELETE FROM okuyucu; END; "
               u"DROP TABLE hareket; "_s +
                   noAutoIncrement
            << QStringList{f(K::WritingTrigger, u"okuyucu"_s, {}, 0, 0, u"tarih"_s),
                           f(K::KeyWithoutAutoIncrement, u"hareket"_s)};
        QTest::newRow("values")
            << u"UPDATE kitapkayit SET KITABINADI = CAST(x'FF' AS TEXT) WHERE IDNO = 4; "
               u"UPDATE kitapkayit SET SERINO = char(8) WHERE IDNO = 5; "
               u"UPDATE kitapkayit SET EDINMETARIHI = 'dün' WHERE IDNO = 6; "
               // an overlong form, an encoded surrogate, a day that was not
               u"UPDATE kitapkayit SET YAZARI = CAST(x'C080' AS TEXT) WHERE IDNO = 7; "
               u"UPDATE kitapkayit SET YAYINEVI = CAST(x'EDA080' AS TEXT) WHERE IDNO = 8; "
               u"UPDATE kitapkayit SET BASKITARIHI = '2009-02-29 10:00:00.000' WHERE IDNO = 9"_s
            << QStringList{f(K::InvalidUtf8, u"kitapkayit"_s, u"KITABINADI"_s, 4),
                           f(K::ControlCharacter, u"kitapkayit"_s, u"SERINO"_s, 5),
                           f(K::BadDateTime, u"kitapkayit"_s, u"EDINMETARIHI"_s, 6, 0, u"dün"_s),
                           f(K::InvalidUtf8, u"kitapkayit"_s, u"YAZARI"_s, 7),
                           f(K::InvalidUtf8, u"kitapkayit"_s, u"YAYINEVI"_s, 8),
                           f(K::BadDateTime, u"kitapkayit"_s, u"BASKITARIHI"_s, 9, 0,
                             u"2009-02-29 10:00:00.000"_s)};
        QStringList many;
        for (int i = 1; i <= 100; ++i)
            many << f(K::BadDateTime, u"kitapkayit"_s, u"BASKITARIHI"_s, i, 0, QString::number(i));
        many << f(K::MoreFindings, {}, {}, 0, 200);
        QTest::newRow("more values than are listed")
            << u"UPDATE kitapkayit SET BASKITARIHI = IDNO"_s << many;
    }
    void checkFindingsGiveEachPartApart() {
        QFETCH(QString, change);
        QFETCH(QStringList, findings);
        testsupport::TempDatabase db;
        const QString path = db.filePath();
        db.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                u"INSERT INTO kitapkayit (KITABINADI) SELECT 'Kitap ' || i FROM n"_s);
        db.release();
        if (change == u"missing"_s)
            QVERIFY(db.removeFile());
        else if (change == u"empty"_s)
            QVERIFY(QFile(path).resize(0));
        else if (change == u"text"_s) {
            QFile notes(path);
            QVERIFY(notes.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(notes.write(QByteArray(4096, 'x')) == 4096);
        } else
            db.exec(change);
        db.release();
        const std::vector<tools::CheckFinding> got = tools::checkFindings(path);
        QStringList parts, texts;
        for (const tools::CheckFinding& c : got) {
            parts << u"%1|%2|%3|%4|%5|%6|%7"_s.arg(int(c.kind))
                         .arg(c.table, c.column)
                         .arg(c.id)
                         .arg(c.count)
                         .arg(c.detail)
                         .arg(int(c.fault));
            texts << c.text;
        }
        QCOMPARE(parts, findings);
        // The texts are what 'check' prints, one a line.
        QCOMPARE(tools::checkDatabase(path), texts);
        QVERIFY(!texts.contains(QString()));
    }

    // A backup is checked as 'check' checks a file; a copy of a damaged file stays, but the
    // tool says the source is damaged and what the check found in the copy.
    void backupOfAFileThatIsNotSound_data() {
        QTest::addColumn<QString>("change"); // "damage", "stub", or SQL
        QString noAddress = data::okuyucuTable().createStatement();
        noAddress.replace(u", ADRESI VARCHAR(255)"_s, QString());
        QTest::newRow("damaged page") << u"damage"_s;
        QTest::newRow("50 bytes of a file") << u"stub"_s;
        QTest::newRow("missing column") << u"DROP TABLE okuyucu; "_s + noAddress;
        QTest::newRow("a text that is not UTF-8")
            << u"UPDATE okuyucu SET ADISOYADI = CAST(x'C3' AS TEXT) WHERE IDNO = 2"_s;
    }
    void backupOfAFileThatIsNotSound() {
        QFETCH(QString, change);
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        tools::createGeneratedDatabase(path, 300, 20, 40);
        if (change == u"damage"_s) {
            QVERIFY(testsupport::overwriteRootPage(path, u"kitapkayit"_s));
        } else if (change == u"stub"_s) {
            QVERIFY(QFile(path).resize(50));
        } else {
            data::sqlite::Database(path, data::sqlite::Database::Mode::ReadWrite)
                .executeScript(change);
        }
        const QString copy = dir + u"/yedek.mdb"_s;
        const Run r = runTool({u"backup"_s, path, copy}, dir);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.exitCode, 1);
        if (change == u"stub"_s) {
            // Too little of a file to be read at all: said so before any copy is made.
            QCOMPARE(r.err, u"ternavolk-db: The file '%1' is damaged (database disk image is "
                            u"malformed). Check it with 'ternavolk-db check' and put its last "
                            u"backup in its place\n"_s.arg(path));
            QVERIFY(!QFile::exists(copy));
            return;
        }
        QVERIFY(QFile::exists(copy));
        COMPARE_FILE_MODE(copy, ownerOnly);
        const Run check = runTool({u"check"_s, copy}, dir);
        QCOMPARE(check.exitCode, 1);
        QVERIFY(!check.out.isEmpty());
        QCOMPARE(r.err, u"ternavolk-db: "_s + damagedCopyMessage(path, copy) + check.out);
    }

    // A journal left by an unfinished save is named as such and kept; once the program has
    // opened the file, the backup goes through and holds the rows as they were before that save.
    void backupBesideALeftJournal() {
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        tools::createGeneratedDatabase(path, 300, 20, 40);
        const QList<QStringList> rows = dump(path);
        QVERIFY(testsupport::leaveUnfinishedSave(path, freshDir()));
        QVERIFY(QFileInfo(path + u"-journal"_s).size() > 0);
        const QString copy = freshDir() + u"/yedek.mdb"_s;

        const Run refused = runTool({u"backup"_s, path, copy}, dir);
        QCOMPARE(refused.out, QString());
        QCOMPARE(refused.err, u"ternavolk-db: "_s + journalMessage(path) + u"\n"_s);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(!QFile::exists(copy));
        QVERIFY(QFile::exists(path + u"-journal"_s));

        openTable(data::kitapkayitTable(), dir);
        QVERIFY(!QFile::exists(path + u"-journal"_s));
        const Run done = runTool({u"backup"_s, path, copy}, dir);
        QCOMPARE(done.err, QString());
        QCOMPARE(done.out, u"Backed up %1 to %2\n"_s.arg(path, copy));
        QCOMPARE(done.exitCode, 0);
        QCOMPARE(dump(copy), rows);
    }

    // Another copy of the program holds the file locked for ten seconds, longer than a save
    // waits: the backup waits, and copies the file as that copy left it.
    void backupWaitsForALockedFile() {
        const QString dir = freshDir();
        const QString path = dir + u"/DATA.mdb"_s;
        tools::createDemoDatabase(path);
        const QString copy = dir + u"/yedek.mdb"_s;
        data::sqlite::Database other(path, data::sqlite::Database::Mode::ReadWrite);
        other.execute(u"BEGIN EXCLUSIVE"_s);
        other.execute(u"INSERT INTO kitapkayit (KITABINADI) VALUES ('Kilitli Kitap')"_s);

        QProcess tool;
        tool.start(QString::fromUtf8(TERNAVOLK_DB_TOOL), {u"backup"_s, path, copy});
        QVERIFY(tool.waitForStarted());
        QVERIFY(!tool.waitForFinished(10000));
        QCOMPARE(tool.state(), QProcess::Running);
        other.execute(u"COMMIT"_s);
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(testsupport::processText(tool.readAllStandardError()), QString());
        QCOMPARE(testsupport::processText(tool.readAllStandardOutput()),
                 u"Backed up %1 to %2\n"_s.arg(path, copy));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(dump(copy), dump(path));
        QCOMPARE(testsupport::fileRows(copy, u"SELECT count(*) FROM kitapkayit WHERE KITABINADI "
                                             u"= 'Kilitli Kitap'"_s),
                 QList<QStringList>{{u"1"_s}});
    }
};

QTEST_GUILESS_MAIN(DatabaseTool)
#include "tst_databasetool.moc"
