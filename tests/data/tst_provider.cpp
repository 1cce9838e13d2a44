// The provider under the record sets: where the file is, how it is opened, what it checks,
// how it refuses, and the Turkish LIKE of its statements. Always through a real file.
#include "data/adoquery.h"
#include "data/connectionstring.h"
#include "data/databasefile.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "data/value.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "support/tempdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using data::DataSetState;
using data::TADOQuery;

Q_DECLARE_METATYPE(data::Value)

namespace {

#ifndef Q_OS_WIN
// The unprivileged user and group.
constexpr uid_t nobody = 65534;
#endif

template <typename F> QString failure(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.message();
    }
    return QString();
}

std::unique_ptr<TADOQuery> books(const QString& connectionString) {
    auto q = std::make_unique<TADOQuery>(u"kitap"_s, data::kitapkayitTable(),
                                         u"select * from  kitapkayit"_s);
    q->setConnectionString(connectionString);
    return q;
}

std::unique_ptr<TADOQuery> readers(const QString& connectionString) {
    auto q = std::make_unique<TADOQuery>(u"okuyucu"_s, data::okuyucuTable(),
                                         u"select * from  okuyucu"_s);
    q->setConnectionString(connectionString);
    return q;
}

// One column of every row of an open record set, "<null>" for null.
QStringList column(TADOQuery& q, const QString& name) {
    const int c = q.fieldByName(name).index();
    QStringList out;
    for (int r = 0; r < q.recordCount(); ++r)
        out << (q.value(r, c).isNull() ? u"<null>"_s : q.displayText(r, c));
    return out;
}

// The connection string the program builds for the executable of this database.
QString programConnectionString(const testsupport::TempDatabase& db) {
    return data::connectionString(data::executableDirectory(db.executablePath()));
}

} // namespace

class ProviderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void connectionStringIsThreePiecesUnquoted_data();
    void connectionStringIsThreePiecesUnquoted();
    void executableDirectory_data();
    void executableDirectory();
    void databaseIsFoundBesideTheExecutableFromAnyWorkingDirectory();
    void directoryWithSemicolonStillOpensItsDatabase();

    void openingNeverCreatesTheFile();
    void fileThatIsNotADatabaseIsRefused();
    void oldAccessFileIsNamedAsSuch();
    void missingTableIsReported();
    void missingColumnIsReported();
    void columnOfAnotherKindIsReported_data();
    void columnOfAnotherKindIsReported();
    void columnsAreFoundByNameWhateverTheirOrder();
    void tableBreakingTheSaveRulesIsRefused_data();
    void tableBreakingTheSaveRulesIsRefused();
    void writeAheadLogFileComesBackToTheJournalWithEveryRow();
    void rowInserterKeepsWhatTheFileCanGiveBack_data();
    void rowInserterKeepsWhatTheFileCanGiveBack();
    void missingConnectionString();

    void changedRowIsNotOverwritten_data();
    void changedRowIsNotOverwritten();
    void changedRowIsNotDeleted_data();
    void changedRowIsNotDeleted();
    void failuresOfTheFileSayWhatToDo_data();
    void failuresOfTheFileSayWhatToDo();
    void twoCopiesEditingOneReader_data();
    void twoCopiesEditingOneReader();
    void postMeetingALockStoresNothing_data();
    void postMeetingALockStoresNothing();
    void postThatReachedTheFileIsReportedSaved_data();
    void postThatReachedTheFileIsReportedSaved();
    void newRowsGetTheNextKey();

    void turkishLikeThroughSql_data();
    void turkishLikeThroughSql();
    void onlyOneStatementIsRun();
    void executeKeepsRowsAndState();
};

void ProviderTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void ProviderTest::connectionStringIsThreePiecesUnquoted_data() {
    QTest::addColumn<QString>("dir");
    QTest::newRow("Windows path") << u"C:\\Program Files\\Ternavolk"_s;
    QTest::newRow("blanks and Turkish letters") << u"/home/ayşe/Kütüphane Programı"_s;
    QTest::newRow("every Turkish letter") << u"D:\\çğıİöşü ÇĞIÖŞÜ"_s;
    QTest::newRow("quote inside") << u"C:\\Ali'nin Kitapları"_s;
}

void ProviderTest::connectionStringIsThreePiecesUnquoted() {
    QFETCH(QString, dir);
    const QString cs = data::connectionString(dir);
    QCOMPARE(cs, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source="_s + dir +
                     u"\\DATA.mdb;Persist Security Info=False"_s);
    QCOMPARE(data::dataSourceOf(cs), dir + u"\\DATA.mdb"_s);
}

void ProviderTest::executableDirectory_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("dir");
    QTest::newRow("plain") << u"/usr/bin/ternavolk"_s << u"/usr/bin"_s;
    QTest::newRow("blanks and Turkish letters")
        << u"/home/ayşe/Kütüphane Programı/ternavolk"_s << u"/home/ayşe/Kütüphane Programı"_s;
    QTest::newRow("semicolon") << u"/srv/okul; yedek/ternavolk"_s << u"/srv/okul; yedek"_s;
    QTest::newRow("no directory") << u"ternavolk"_s << QString();
#ifdef Q_OS_WIN
    // The program's own path as Windows gives it, in the separators the connection string uses.
    QTest::newRow("windows: drive, blanks and Turkish letters")
        << u"C:/Okul Kütüphanesi/Gülşen'in Masası/ternavolk.exe"_s
        << u"C:\\Okul Kütüphanesi\\Gülşen'in Masası"_s;
    QTest::newRow("windows: network share")
        << u"//okul-sunucu/kütüphane/ternavolk.exe"_s << u"\\\\okul-sunucu\\kütüphane"_s;
#endif
}

void ProviderTest::executableDirectory() {
    QFETCH(QString, executable);
    QFETCH(QString, dir);
    QCOMPARE(data::executableDirectory(executable), QDir::toNativeSeparators(dir));
}

void ProviderTest::databaseIsFoundBesideTheExecutableFromAnyWorkingDirectory() {
    testsupport::TempDatabase db;
    db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"Saatleri Ayarlama Enstitüsü"_s});
    QCOMPARE(programConnectionString(db), db.connectionString());
    QCOMPARE(programConnectionString(db), u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source="_s +
                                              db.directory() +
                                              u"\\DATA.mdb;Persist Security Info=False"_s);

    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    auto q = books(programConnectionString(db));
    const QString message = failure([&] { q->open(); });
    QDir::setCurrent(before);
    QCOMPARE(message, QString());
    QCOMPARE(column(*q, u"KITABINADI"_s), QStringList{u"Saatleri Ayarlama Enstitüsü"_s});
    QVERIFY(!QFile::exists(elsewhere.path() + u"/DATA.mdb"_s));
}

void ProviderTest::directoryWithSemicolonStillOpensItsDatabase() {
    testsupport::TempDatabase db(u"Ali'nin Kütüphanesi; yedek 2"_s);
    db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"Tutunamayanlar"_s});
    const QString cs = programConnectionString(db);
    // The value is quoted so that the ";" cannot end it.
    QCOMPARE(cs, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\""_s + db.directory() +
                     u"\\DATA.mdb\";Persist Security Info=False"_s);
    QCOMPARE(data::dataSourceOf(cs), db.directory() + u"\\DATA.mdb"_s);

    auto q = books(cs);
    q->open();
    QCOMPARE(column(*q, u"KITABINADI"_s), QStringList{u"Tutunamayanlar"_s});
    q->append();
    q->fieldByName(u"KITABINADI").setText(u"Aylak Adam"_s);
    q->post();
    QCOMPARE(db.rows(u"SELECT KITABINADI FROM kitapkayit ORDER BY IDNO"_s),
             (std::vector<QStringList>{{u"Tutunamayanlar"_s}, {u"Aylak Adam"_s}}));

    // A quote in such a directory is doubled inside the quoted value and read back whole.
    const QString odd = u"/tmp/a;\"b\""_s;
    QCOMPARE(data::dataSourceOf(data::connectionString(odd)), odd + u"\\DATA.mdb"_s);
}

void ProviderTest::openingNeverCreatesTheFile() {
    testsupport::TempDatabase db;
    QVERIFY(db.removeFile());
    auto q = books(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }), u"Could not find file '"_s + db.filePath() + u"'."_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QCOMPARE(q->recordCount(), 0);
    QVERIFY(!QFile::exists(db.filePath()));
    QCOMPARE(QDir(db.directory()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());

    // A directory that does not exist is not made either.
    const QString missingDir = db.directory() + QDir::separator() + u"yok"_s;
    auto other = books(data::connectionString(missingDir));
    QCOMPARE(failure([&] { other->open(); }),
             u"Could not find file '"_s + missingDir + QDir::separator() + u"DATA.mdb'."_s);
    QVERIFY(!QFileInfo::exists(missingDir));

    // A directory named DATA.mdb is no file.
    QVERIFY(QDir().mkdir(db.filePath()));
    QCOMPARE(failure([&] { q->open(); }), u"Could not find file '"_s + db.filePath() + u"'."_s);

    // An empty file (a copy that went wrong) is named as no database of the program, and left.
    QVERIFY(QDir().rmdir(db.filePath()));
    {
        QFile empty(db.filePath());
        QVERIFY(empty.open(QIODevice::WriteOnly));
    }
    QCOMPARE(failure([&] { q->open(); }),
             u"The file '"_s + db.filePath() +
                 u"' is empty: it is not a database of the program. Put its last backup in its "
                 u"place, or make a new database with 'ternavolk-db create'"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QCOMPARE(QFileInfo(db.filePath()).size(), 0);
}

void ProviderTest::fileThatIsNotADatabaseIsRefused() {
    testsupport::TempDatabase db;
    QVERIFY(db.removeFile());
    QFile f(db.filePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray text = QByteArray("Bu bir veritabani degil.\n").repeated(100);
    f.write(text);
    f.close();
    auto q = books(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }),
             u"The file '"_s + db.filePath() + u"' is not a database"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), text); // left as it was
}

void ProviderTest::oldAccessFileIsNamedAsSuch() {
    testsupport::TempDatabase db;
    QVERIFY(db.removeFile());
    QByteArray head(2048, '\0');
    head[1] = 1;
    head.replace(4, 15, "Standard Jet DB");
    QFile f(db.filePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(head);
    f.close();
    auto q = books(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }),
             u"'"_s + db.filePath() +
                 u"' dosyası eski Access biçiminde bir veritabanı; program yalnızca kendi "
                 u"biçimini açar. Dönüştürmek için dosyanın bir yedeğini alın, ternavolk-db "
                 u"import \""_s +
                 db.filePath() + u"\" \""_s + db.directory() + QDir::separator() +
                 u"DATA-yeni.mdb\" komutunu çalıştırın, sonra eski dosyayı kaldırıp yeni "
                 u"dosyanın adını DATA.mdb yapın"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QCOMPARE(QFileInfo(db.filePath()).size(), 2048);
}

void ProviderTest::missingTableIsReported() {
    testsupport::TempDatabase db;
    db.exec(u"DROP TABLE kitapkayit"_s);
    auto q = books(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }), u"no such table: kitapkayit"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QCOMPARE(db.count(u"sqlite_master WHERE name = 'kitapkayit'"_s), 0); // not made either
}

void ProviderTest::missingColumnIsReported() {
    testsupport::TempDatabase db;
    QString create = data::okuyucuTable().createStatement();
    create.replace(u", ADRESI VARCHAR(255)"_s, QString());
    QVERIFY(!create.contains(u"ADRESI"_s));
    db.exec(u"DROP TABLE okuyucu"_s);
    db.exec(create);
    db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"Ayşe"_s});
    auto q = readers(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }), u"Field 'ADRESI' not found"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
    QCOMPARE(q->recordCount(), 0);
}

void ProviderTest::columnOfAnotherKindIsReported_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QString>("message");
    QTest::newRow("text for integer")
        << u"DEGERI INTEGER"_s << u"DEGERI VARCHAR(10)"_s
        << u"Type mismatch for field 'DEGERI', expecting: Integer actual: WideString"_s;
    QTest::newRow("integer for date-time")
        << u"EDINMETARIHI DATETIME"_s << u"EDINMETARIHI INTEGER"_s
        << u"Type mismatch for field 'EDINMETARIHI', expecting: DateTime actual: Integer"_s;
    QTest::newRow("date-time for text")
        << u"KITABINADI VARCHAR(100)"_s << u"KITABINADI DATETIME"_s
        << u"Type mismatch for field 'KITABINADI', expecting: WideString actual: DateTime"_s;
    QTest::newRow("plain integer for the key")
        << u"IDNO INTEGER PRIMARY KEY AUTOINCREMENT"_s << u"IDNO INTEGER"_s
        << u"Type mismatch for field 'IDNO', expecting: AutoInc actual: Integer"_s;
}

void ProviderTest::columnOfAnotherKindIsReported() {
    QFETCH(QString, declared);
    QFETCH(QString, changed);
    QFETCH(QString, message);
    testsupport::TempDatabase db;
    QString create = data::kitapkayitTable().createStatement();
    QVERIFY(create.contains(declared));
    create.replace(declared, changed);
    db.exec(u"DROP TABLE kitapkayit"_s);
    db.exec(create);
    auto q = books(programConnectionString(db));
    QCOMPARE(failure([&] { q->open(); }), message);
    QCOMPARE(q->state(), DataSetState::Inactive);
}

void ProviderTest::columnsAreFoundByNameWhateverTheirOrder() {
    testsupport::TempDatabase db;
    db.exec(u"DROP TABLE hareket"_s);
    db.exec(u"CREATE TABLE hareket (NOTU TEXT, DURUM VARCHAR(30), ACIKLAMA VARCHAR(255), "
            u"GERIGETIRMETARIHI DATETIME, TESLIMTARIHI DATETIME, ADIGIKITAP VARCHAR(255), "
            u"TELEFONU VARCHAR(255), O_ADI_SOYADI VARCHAR(255), "
            u"IDNO INTEGER PRIMARY KEY AUTOINCREMENT)"_s);
    db.insert(u"hareket"_s, {u"NOTU"_s, u"DURUM"_s, u"O_ADI_SOYADI"_s, u"TESLIMTARIHI"_s},
              {u"fazla sütun"_s, u"Verildi"_s, u"Ayşe Yılmaz"_s, u"2009-05-21 16:15:25.890"_s});
    TADOQuery emanet(u"emanet"_s, data::hareketTable(), u"select * from  hareket"_s);
    emanet.setConnectionString(programConnectionString(db));
    emanet.open();
    QCOMPARE(emanet.fieldCount(), 8);
    QCOMPARE(emanet.field(0).fieldName(), u"IDNO"_s); // the record set's own order
    QCOMPARE(emanet.fieldByName(u"O_ADI_SOYADI").text(), u"Ayşe Yılmaz"_s);
    QCOMPARE(emanet.fieldByName(u"DURUM").text(), u"Verildi"_s);
    QCOMPARE(emanet.fieldByName(u"TESLIMTARIHI").text(), u"21.05.2009 16:15:25"_s);
    QCOMPARE(emanet.fieldByName(u"IDNO").value(), data::Value(qint32(1)));

    // Writes go to the columns of those names.
    emanet.edit();
    emanet.fieldByName(u"ACIKLAMA").setText(u"yırtık kapak"_s);
    emanet.post();
    emanet.append();
    emanet.fieldByName(u"ADIGIKITAP").setText(u"Kuyucaklı Yusuf"_s);
    emanet.post();
    QCOMPARE(db.rows(u"SELECT IDNO, NOTU, DURUM, ACIKLAMA, ADIGIKITAP, O_ADI_SOYADI "
                     u"FROM hareket ORDER BY IDNO"_s),
             (std::vector<QStringList>{{u"1"_s, u"fazla sütun"_s, u"Verildi"_s, u"yırtık kapak"_s,
                                        u"<null>"_s, u"Ayşe Yılmaz"_s},
                                       {u"2"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                                        u"Kuyucaklı Yusuf"_s, u"<null>"_s}}));
    emanet.deleteRecord();
    emanet.first();
    emanet.deleteRecord();
    QCOMPARE(db.count(u"hareket"_s), 0);
}

void ProviderTest::tableBreakingTheSaveRulesIsRefused_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("what"); // after "...rely on: "
    QString noAutoIncrement = data::kitapkayitTable().createStatement();
    noAutoIncrement.replace(u"PRIMARY KEY AUTOINCREMENT"_s, u"PRIMARY KEY"_s);
    QTest::newRow("key without AUTOINCREMENT")
        << u"kitapkayit"_s << u"DROP TABLE kitapkayit; "_s + noAutoIncrement
        << u"its key IDNO is not INTEGER PRIMARY KEY AUTOINCREMENT, so the key of a deleted row "
           u"could be given to a new row, and a change meant for the deleted row would land on "
           u"the new one. Another program made that table; put the file's last backup in its "
           u"place"_s;
    const QString trigger =
        u"it carries the trigger '%1', which changes rows behind the program's back, so a saved "
        u"row could differ from the one the program shows. Another program added it; remove it "
        u"(DROP TRIGGER \"%1\") or put the file's last backup in its place"_s;
    QTest::newRow("trigger that rewrites a saved row")
        << u"okuyucu"_s
        << u"CREATE TRIGGER buyuk_harf AFTER UPDATE ON okuyucu BEGIN UPDATE okuyucu SET "
           u"ADISOYADI = upper(NEW.ADISOYADI) WHERE IDNO = NEW.IDNO; END"_s
        << trigger.arg(u"buyuk_harf"_s);
    QTest::newRow("trigger that drops new rows, table named in other letter case")
        << u"hareket"_s
        << u"CREATE TRIGGER sessiz BEFORE INSERT ON HAREKET BEGIN SELECT RAISE(IGNORE); END"_s
        << trigger.arg(u"sessiz"_s);
}

void ProviderTest::tableBreakingTheSaveRulesIsRefused() {
    QFETCH(QString, table);
    QFETCH(QString, change);
    QFETCH(QString, what);
    testsupport::TempDatabase db;
    db.exec(change);
    const data::TableDef* def = nullptr;
    for (const data::TableDef* t : data::allTables())
        if (t->tableName() == table)
            def = t;
    QVERIFY(def);
    TADOQuery q(table, *def, u"select * from  "_s + table);
    q.setConnectionString(programConnectionString(db));
    QCOMPARE(failure([&] { q.open(); }),
             u"The table '%1' of the file '%2' does not keep the rules the program's saves rely "
             u"on: "_s.arg(table, db.filePath()) +
                 what);
    QCOMPARE(q.state(), DataSetState::Inactive);
    // The other two tables open as ever.
    for (const data::TableDef* t : data::allTables())
        if (t != def) {
            TADOQuery other(t->tableName(), *t, u"select * from  "_s + t->tableName());
            other.setConnectionString(programConnectionString(db));
            QCOMPARE(failure([&] { other.open(); }), QString());
        }
}

void ProviderTest::writeAheadLogFileComesBackToTheJournalWithEveryRow() {
    testsupport::TempDatabase db;
    for (const QString& t : {u"A"_s, u"B"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
    {
        // Another tool switches the file to WAL mode and leaves its last rows in the log only.
        data::sqlite::Database other(db.filePath(), data::sqlite::Database::Mode::ReadWrite);
        QCOMPARE(other.journalMode(), u"delete"_s);
        other.execute(u"PRAGMA journal_mode = WAL"_s);
        QCOMPARE(sqlite3_db_config(other.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr),
                 SQLITE_OK);
        other.execute(u"PRAGMA wal_autocheckpoint = 0"_s);
        other.execute(u"INSERT INTO kitapkayit (KITABINADI) VALUES ('C'), ('Ç')"_s);
    }
    QVERIFY(data::isWriteAheadLogFile(db.filePath()));
    QVERIFY(QFileInfo(db.filePath() + u"-wal"_s).size() > 0);

    auto q = books(programConnectionString(db));
    q->open();
    QCOMPARE(column(*q, u"KITABINADI"_s), (QStringList{u"A"_s, u"B"_s, u"C"_s, u"Ç"_s}));
    QVERIFY(!data::isWriteAheadLogFile(db.filePath()));
    QVERIFY(!QFile::exists(db.filePath() + u"-wal"_s));
    QVERIFY(!QFile::exists(db.filePath() + u"-shm"_s));
    // Every row is in the file itself, kept with the rollback journal, and the program writes on.
    q->append();
    q->fieldByName(u"KITABINADI").setText(u"D"_s);
    q->post();
    q.reset();
    QCOMPARE(testsupport::fileRows(db.filePath(), u"PRAGMA journal_mode"_s),
             QList<QStringList>{{u"delete"_s}});
    QCOMPARE(testsupport::fileRows(db.filePath(), u"SELECT KITABINADI FROM kitapkayit"_s),
             (QList<QStringList>{{u"A"_s}, {u"B"_s}, {u"C"_s}, {u"Ç"_s}, {u"D"_s}}));
}

// The one row inserter of the demo data (strict), the import (long texts kept and counted) and
// the post (values as the record set holds them): each refuses what the file could not give
// back as it was given.
void ProviderTest::rowInserterKeepsWhatTheFileCanGiveBack_data() {
    using Rules = data::sqlite::RowInserter::Rules;
    QTest::addColumn<int>("rules");
    QTest::addColumn<data::Value>("title");
    QTest::addColumn<data::Value>("value");
    QTest::addColumn<data::Value>("acquired");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("stored"); // title, value, its storage, date; or empty
    QTest::addColumn<int>("longTitles");
    const data::Value date(
        platform::DateTime::fromDate(QDate(1752, 9, 14), QTime(16, 15, 25, 890)));
    const data::Value longTitle(QString(101, u'ş'));
    const data::Value early(platform::DateTime(-700000)); // the year 83
    const QString earlyMessage = u"The date and time of day count -700000 cannot be stored in "
                                 u"field 'EDINMETARIHI': the file keeps dates from the year 100 "
                                 u"to the year 9999 only"_s;
    QTest::newRow("strict: every kind in its column")
        << int(Rules::Strict) << data::Value(u"Çalıkuşu"_s) << data::Value(12) << date << QString()
        << QStringList{u"Çalıkuşu"_s, u"12"_s, u"integer"_s, u"1752-09-14 16:15:25.890"_s} << 0;
    QTest::newRow("strict: a text longer than its column")
        << int(Rules::Strict) << longTitle << data::Value() << data::Value()
        << u"kitapkayit.KITABINADI: '%1' is longer than 100 characters"_s.arg(longTitle.toText())
        << QStringList() << 0;
    QTest::newRow("strict: a text in an integer column")
        << int(Rules::Strict) << data::Value() << data::Value(u"12"_s) << data::Value()
        << u"kitapkayit.DEGERI: a value of another kind than Integer"_s << QStringList() << 0;
    QTest::newRow("strict: a date before the year 100")
        << int(Rules::Strict) << data::Value() << data::Value() << early << earlyMessage
        << QStringList() << 0;
    QTest::newRow("another program's file: a long text kept whole and counted")
        << int(Rules::KeepLongTexts) << longTitle << data::Value() << data::Value() << QString()
        << QStringList{longTitle.toText(), u"<null>"_s, u"null"_s, u"<null>"_s} << 1;
    QTest::newRow("another program's file: a date before the year 100")
        << int(Rules::KeepLongTexts) << data::Value() << data::Value() << early << earlyMessage
        << QStringList() << 0;
    QTest::newRow("a post: a text that another program stored in an integer column")
        << int(Rules::AsGiven) << data::Value() << data::Value(u"12a"_s) << data::Value()
        << QString() << QStringList{u"<null>"_s, u"12a"_s, u"text"_s, u"<null>"_s} << 0;
    QTest::newRow("a post: a date before the year 100")
        << int(Rules::AsGiven) << data::Value() << data::Value() << early << earlyMessage
        << QStringList() << 0;
}

void ProviderTest::rowInserterKeepsWhatTheFileCanGiveBack() {
    QFETCH(int, rules);
    QFETCH(data::Value, title);
    QFETCH(data::Value, value);
    QFETCH(data::Value, acquired);
    QFETCH(QString, message);
    QFETCH(QStringList, stored);
    QFETCH(int, longTitles);
    testsupport::TempDatabase db;
    const data::TableDef& books = data::kitapkayitTable();
    const std::vector<int> columns{2, 8, 9}; // KITABINADI, DEGERI, EDINMETARIHI
    {
        data::sqlite::Database file(db.filePath(), data::sqlite::Database::Mode::ReadWrite);
        data::sqlite::RowInserter insert(file, books, columns,
                                         static_cast<data::sqlite::RowInserter::Rules>(rules));
        QCOMPARE(failure([&] { insert.insert({title, value, acquired}); }), message);
        std::map<int, qint64> counted;
        if (longTitles)
            counted[2] = longTitles;
        QCOMPARE(insert.tooLong(), counted);
    }
    const std::vector<QStringList> rows =
        db.rows(u"SELECT KITABINADI, DEGERI, typeof(DEGERI), EDINMETARIHI FROM kitapkayit"_s);
    QCOMPARE(rows,
             stored.isEmpty() ? std::vector<QStringList>() : std::vector<QStringList>{stored});
}

void ProviderTest::missingConnectionString() {
    testsupport::TempDatabase db;
    TADOQuery q(u"okuyucu"_s, data::okuyucuTable(), u"select * from  okuyucu"_s);
    QCOMPARE(failure([&] { q.open(); }), u"Missing Connection or ConnectionString"_s);
    QCOMPARE(q.state(), DataSetState::Inactive);
    QCOMPARE(failure([&] { q.execSQL(); }), u"Missing Connection or ConnectionString"_s);
    q.setConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False"_s);
    QCOMPARE(failure([&] { q.open(); }), u"Missing Connection or ConnectionString"_s);
    // Given one afterwards, the same record set opens.
    q.setConnectionString(programConnectionString(db));
    q.open();
    QCOMPARE(q.state(), DataSetState::Browse);
}

void ProviderTest::changedRowIsNotOverwritten_data() {
    QTest::addColumn<QString>("declared"); // the table as another program made it, or empty
    QTest::addColumn<QString>("otherCopy");
    QTest::addColumn<QString>("stored");
    QTest::newRow("the same column changed")
        << QString() << u"UPDATE kitapkayit SET KITABINADI = 'Bereketli Topraklar' WHERE IDNO = 2"_s
        << u"A|<null>,Bereketli Topraklar|<null>,C|<null>"_s;
    QTest::newRow("row deleted") << QString() << u"DELETE FROM kitapkayit WHERE IDNO = 2"_s
                                 << u"A|<null>,C|<null>"_s;
    QString noCase = data::kitapkayitTable().createStatement();
    noCase.replace(u"KITABINADI VARCHAR(100)"_s, u"KITABINADI VARCHAR(100) COLLATE NOCASE"_s);
    QTest::newRow("only the letter case changed, in a column compared without case")
        << u"DROP TABLE kitapkayit; "_s + noCase
        << u"UPDATE kitapkayit SET KITABINADI = 'b' WHERE IDNO = 2"_s
        << u"A|<null>,b|<null>,C|<null>"_s;
}

void ProviderTest::changedRowIsNotOverwritten() {
    QFETCH(QString, declared);
    QFETCH(QString, otherCopy);
    QFETCH(QString, stored);
    testsupport::TempDatabase db;
    if (!declared.isEmpty())
        db.exec(declared);
    for (const QString& t : {u"A"_s, u"B"_s, u"C"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
    auto q = books(programConnectionString(db));
    q->open();
    q->moveTo(1);
    q->edit();
    q->fieldByName(u"KITABINADI").setText(u"B2"_s);
    db.exec(otherCopy);

    QCOMPARE(failure([&] { q->post(); }),
             u"Row cannot be located for updating. Some values may have been changed since it "
             u"was last read."_s);
    QCOMPARE(q->state(), DataSetState::Edit);
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), u"B2"_s);
    QVERIFY(q->modified());
    const auto now = [&] {
        QStringList out;
        for (const QStringList& r :
             db.rows(u"SELECT KITABINADI, YAZARI FROM kitapkayit ORDER BY IDNO"_s))
            out << r.join(u'|');
        return out.join(u',');
    };
    QCOMPARE(now(), stored);
    // Moving on tries again and fails the same way; the row stays pending.
    QVERIFY(!failure([&] { q->next(); }).isEmpty());
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(q->state(), DataSetState::Edit);
    QCOMPARE(now(), stored);
}

void ProviderTest::changedRowIsNotDeleted_data() {
    QTest::addColumn<QString>("otherCopy");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("editing");
    const QString change = u"UPDATE kitapkayit SET DEGERI = 5 WHERE IDNO = 2"_s;
    const QString remove = u"DELETE FROM kitapkayit WHERE IDNO = 2"_s;
    QTest::newRow("changed, browse") << change << 3 << false;
    QTest::newRow("deleted, browse") << remove << 2 << false;
    QTest::newRow("changed, pending edit") << change << 3 << true;
    QTest::newRow("deleted, pending edit") << remove << 2 << true;
}

void ProviderTest::changedRowIsNotDeleted() {
    QFETCH(QString, otherCopy);
    QFETCH(int, left);
    QFETCH(bool, editing);
    testsupport::TempDatabase db;
    for (const QString& t : {u"A"_s, u"B"_s, u"C"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
    auto q = books(programConnectionString(db));
    q->open();
    q->moveTo(1);
    if (editing) {
        q->edit();
        q->fieldByName(u"KITABINADI").setText(u"B2"_s);
    }
    db.exec(otherCopy);
    QCOMPARE(failure([&] { q->deleteRecord(); }),
             u"Row cannot be located for deletion. Some values may have been changed since it "
             u"was last read."_s);
    QCOMPARE(q->state(), editing ? DataSetState::Edit : DataSetState::Browse);
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(q->recordCount(), 3);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), editing ? u"B2"_s : u"B"_s);
    QCOMPARE(q->modified(), editing);
    QCOMPARE(db.count(u"kitapkayit"_s), left);
}

// Appends a book as the program would and posts it; the failure's message, empty on success.
QString postOneBook(const QString& connectionString) {
    auto q = books(connectionString);
    return failure([&] {
        q->open();
        q->append();
        q->fieldByName(u"KITABINADI").setText(u"Yeni"_s);
        q->post();
    });
}

void ProviderTest::failuresOfTheFileSayWhatToDo_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message"); // %1: the file
    QTest::newRow("damaged, found at the first read")
        << u"damaged"_s
        << u"The file '%1' is damaged (database disk image is malformed). Check it with "
           u"'ternavolk-db check' and put its last backup in its place"_s;
    QTest::newRow("search text holding U+0000")
        << u"nul"_s
        << u"The text sent to the file '%1' holds the character U+0000, which cannot be "
           u"searched for or stored. Remove it and try again"_s;
#ifndef Q_OS_WIN
    // POSIX only: Windows closes a folder to writing by its access list, which Wine, where the
    // Windows build is tested, does not enforce.
    QTest::newRow("folder without room for the journal")
        << u"folder"_s
        << u"The program cannot write in the folder of the file '%1', so it cannot create the "
           u"journal file beside it that keeps a save whole, and nothing was saved. Let the "
           u"program write in that folder, or move DATA.mdb into a folder where it can"_s;
#endif
}

void ProviderTest::failuresOfTheFileSayWhatToDo() {
    QFETCH(QString, situation);
    QFETCH(QString, message);
    testsupport::TempDatabase db;
    db.exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
            u"INSERT INTO kitapkayit (KITABINADI, ACIKLAMA) SELECT 'Kitap ' || i, "
            u"printf('%0255d', i) FROM n"_s);
    const QString file = db.filePath();
    QString actual;
    if (situation == u"damaged"_s) {
        // The root page of the books' table overwritten, the file's header whole.
        QVERIFY(testsupport::overwriteRootPage(file, u"kitapkayit"_s));
    }
    QFile before(file);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    if (situation == u"damaged"_s) {
        auto q = books(programConnectionString(db));
        actual = failure([&] { q->open(); });
        QCOMPARE(q->state(), DataSetState::Inactive);
    } else if (situation == u"nul"_s) {
        auto q = books(programConnectionString(db));
        q->clearSql();
        q->addSql(u"select * from  kitapkayit where KITABINADI like '%a"_s + QChar(u'\0') +
                  u"b%'"_s);
        actual = failure([&] { q->execSQL(); });
        QCOMPARE(failure([&] { q->open(); }), actual);
        QCOMPARE(q->state(), DataSetState::Inactive);
    } else {
#ifndef Q_OS_WIN
        // The folder closed to writing. The superuser may write anywhere, so then the post
        // runs in a copy of this program as the unprivileged user.
        const QString dir = db.directory();
        QVERIFY(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                               QFileDevice::ReadOther | QFileDevice::ExeOther));
        if (geteuid() != 0) {
            actual = postOneBook(programConnectionString(db));
        } else {
            const QString root = QFileInfo(dir).path();
            QVERIFY(QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ExeOther |
                                                    QFileDevice::ReadOther));
            QVERIFY(chown(QFile::encodeName(dir).constData(), nobody, nobody) == 0);
            QVERIFY(chown(QFile::encodeName(file).constData(), nobody, nobody) == 0);
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--post-as-nobody"_s, programConnectionString(db)});
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
            actual = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        }
        QVERIFY(QFile::setPermissions(dir, QFile::permissions(dir) | QFileDevice::WriteOwner));
        QVERIFY(!QFile::exists(file + u"-journal"_s));
#endif
    }
    QCOMPARE(actual, message.arg(file));
    QFile after(file);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll() == bytes); // nothing was changed
}

void ProviderTest::twoCopiesEditingOneReader_data() {
    QTest::addColumn<QString>("firstColumn");
    QTest::addColumn<QString>("secondColumn");
    QTest::addColumn<bool>("secondRefused");
    QTest::addColumn<QString>("stored"); // TELEFONU|ADRESI after both posts
    QTest::newRow("different columns: both kept")
        << u"TELEFONU"_s << u"ADRESI"_s << false << u"0312 111 22 33|Kızılay, Ankara"_s;
    QTest::newRow("the same column: the second refused")
        << u"TELEFONU"_s << u"TELEFONU"_s << true << u"0312 111 22 33|Ulus"_s;
}

void ProviderTest::twoCopiesEditingOneReader() {
    QFETCH(QString, firstColumn);
    QFETCH(QString, secondColumn);
    QFETCH(bool, secondRefused);
    QFETCH(QString, stored);
    testsupport::TempDatabase db;
    db.insert(u"okuyucu"_s, {u"ADISOYADI"_s, u"TELEFONU"_s, u"ADRESI"_s},
              {u"Ayşe Yılmaz"_s, u"0312 000 00 00"_s, u"Ulus"_s});
    // Two librarians, each with the program open: two record sets on two connections.
    auto first = readers(programConnectionString(db));
    auto second = readers(programConnectionString(db));
    first->open();
    second->open();
    const auto valueFor = [](const QString& column) {
        return column == u"TELEFONU"_s ? u"0312 111 22 33"_s : u"Kızılay, Ankara"_s;
    };
    first->edit();
    first->fieldByName(firstColumn).setText(valueFor(firstColumn));
    second->edit();
    second->fieldByName(secondColumn)
        .setText(secondRefused ? u"0312 999 99 99"_s : valueFor(secondColumn));
    first->post();
    QCOMPARE(first->state(), DataSetState::Browse);

    const QString message = failure([&] { second->post(); });
    const auto now = [&] {
        return db.rows(u"SELECT TELEFONU, ADRESI FROM okuyucu"_s).front().join(u'|');
    };
    QCOMPARE(now(), stored);
    if (secondRefused) {
        QCOMPARE(message, u"Row cannot be located for updating. Some values may have been "
                          u"changed since it was last read."_s);
        QCOMPARE(second->state(), DataSetState::Edit);
        QVERIFY(second->modified());
        QCOMPARE(second->fieldByName(u"TELEFONU").text(), u"0312 999 99 99"_s);
        QCOMPARE(second->assignedColumns(), std::vector<int>{8});
    } else {
        QCOMPARE(message, QString());
        QCOMPARE(second->state(), DataSetState::Browse);
        // The second copy shows the row as stored, with the first copy's change.
        QCOMPARE(second->fieldByName(u"TELEFONU").text() + u'|' +
                     second->fieldByName(u"ADRESI").text(),
                 stored);
    }
    // Every other column as it was.
    QCOMPARE(db.rows(u"SELECT IDNO, ADISOYADI FROM okuyucu"_s),
             (std::vector<QStringList>{{u"1"_s, u"Ayşe Yılmaz"_s}}));
}

void ProviderTest::postMeetingALockStoresNothing_data() {
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("lock");
    // RESERVED: another copy is writing, the post cannot begin; SHARED: another copy is
    // reading, the post has written its row into the journal but cannot commit it.
    QTest::newRow("insert, file being written") << true << u"BEGIN IMMEDIATE"_s;
    QTest::newRow("insert, file being read") << true << u"SELECT count(*) FROM kitapkayit"_s;
    QTest::newRow("edit, file being written") << false << u"BEGIN IMMEDIATE"_s;
    QTest::newRow("edit, file being read") << false << u"SELECT count(*) FROM kitapkayit"_s;
}

void ProviderTest::postMeetingALockStoresNothing() {
    QFETCH(bool, inserting);
    QFETCH(QString, lock);
    testsupport::TempDatabase db;
    db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"A"_s});
    auto q = books(programConnectionString(db));
    q->open();
    inserting ? q->append() : q->edit();
    q->fieldByName(u"KITABINADI").setText(u"Yeni"_s);
    q->fieldByName(u"DEGERI").setText(u"40"_s);
    if (lock.startsWith(u"BEGIN"_s)) {
        db.exec(lock);
    } else {
        db.exec(u"BEGIN"_s);
        db.rows(lock); // holds the read lock until the transaction ends
    }
    const QString message = failure([&] { q->post(); });
    db.exec(u"ROLLBACK"_s);
    QCOMPARE(message, u"The file '"_s + db.filePath() +
                          u"' is in use: another copy of the program or another program is "
                          u"writing to it, and nothing was saved. Try again in a moment"_s);
    QCOMPARE(q->state(), inserting ? DataSetState::Insert : DataSetState::Edit);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), u"Yeni"_s);
    QCOMPARE(q->fieldByName(u"DEGERI").text(), u"40"_s);
    QVERIFY(q->modified());
    QCOMPARE(db.rows(u"SELECT IDNO, KITABINADI, DEGERI FROM kitapkayit"_s),
             (std::vector<QStringList>{{u"1"_s, u"A"_s, u"<null>"_s}}));
    QCOMPARE(db.rows(u"PRAGMA integrity_check"_s), std::vector<QStringList>{{u"ok"_s}});
    QVERIFY(!QFile::exists(db.filePath() + u"-journal"_s));

    // The lock gone, "Kaydet" again stores the row once.
    q->post();
    QCOMPARE(q->state(), DataSetState::Browse);
    QCOMPARE(db.rows(u"SELECT IDNO, KITABINADI, DEGERI FROM kitapkayit"_s),
             inserting ? (std::vector<QStringList>{{u"1"_s, u"A"_s, u"<null>"_s},
                                                   {u"2"_s, u"Yeni"_s, u"40"_s}})
                       : (std::vector<QStringList>{{u"1"_s, u"Yeni"_s, u"40"_s}}));
}

namespace {
// Another copy of the program that takes the file the moment a write statement of the provider
// has finished (the commit done), and keeps it until the test lets go.
struct LockAfterWrite {
    static inline sqlite3* other = nullptr;
    static inline bool armed = false;
    static inline bool taken = false;

    static int traced(unsigned, void*, void* statement, void*) {
        const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
        if (armed && sql &&
            (qstrnicmp(sql, "INSERT", 6) == 0 || qstrnicmp(sql, "UPDATE", 6) == 0)) {
            armed = false;
            taken = sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        }
        return 0;
    }
    // Run for every connection opened from now on: watches it for finished statements.
    static int watch(sqlite3* db, const char**, const void*) {
        if (db != other)
            sqlite3_trace_v2(db, SQLITE_TRACE_PROFILE, traced, nullptr);
        return SQLITE_OK;
    }
};
} // namespace

void ProviderTest::postThatReachedTheFileIsReportedSaved_data() {
    QTest::addColumn<bool>("inserting");
    QTest::newRow("insert") << true;
    QTest::newRow("edit") << false;
}

void ProviderTest::postThatReachedTheFileIsReportedSaved() {
    QFETCH(bool, inserting);
    testsupport::TempDatabase db;
    db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"A"_s});
    QVERIFY(sqlite3_open_v2(db.filePath().toUtf8().constData(), &LockAfterWrite::other,
                            SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK);
    const auto watch = reinterpret_cast<void (*)()>(&LockAfterWrite::watch);
    sqlite3_auto_extension(watch);
    auto q = books(programConnectionString(db));
    q->open();
    inserting ? q->append() : q->edit();
    q->fieldByName(u"KITABINADI").setText(u"Yeni"_s);
    LockAfterWrite::armed = true;
    LockAfterWrite::taken = false;

    // The row is in the file before the other copy takes it: nothing may then report the
    // post as failed (nor leave it pending, to be stored twice by a second "Kaydet").
    const QString message = failure([&] { q->post(); });
    const bool taken = LockAfterWrite::taken;
    sqlite3_exec(LockAfterWrite::other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(LockAfterWrite::other);
    LockAfterWrite::other = nullptr;
    sqlite3_cancel_auto_extension(watch);
    QVERIFY(taken);
    QCOMPARE(message, QString());
    QCOMPARE(q->state(), DataSetState::Browse);
    QCOMPARE(q->fieldByName(u"IDNO").text(), inserting ? u"2"_s : u"1"_s);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), u"Yeni"_s);
    QCOMPARE(db.rows(u"SELECT IDNO, KITABINADI FROM kitapkayit"_s),
             inserting ? (std::vector<QStringList>{{u"1"_s, u"A"_s}, {u"2"_s, u"Yeni"_s}})
                       : (std::vector<QStringList>{{u"1"_s, u"Yeni"_s}}));
}

void ProviderTest::newRowsGetTheNextKey() {
    testsupport::TempDatabase db;
    for (const QString& t : {u"A"_s, u"B"_s, u"C"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
    auto q = books(programConnectionString(db));
    q->open();
    q->last();
    q->deleteRecord(); // key 3 is used up, not given again
    q->append();
    q->post();
    q->append();
    q->fieldByName(u"KITABINADI").setText(u"E"_s);
    q->post();
    QCOMPARE(db.rows(u"SELECT IDNO, KITABINADI FROM kitapkayit ORDER BY IDNO"_s),
             (std::vector<QStringList>{
                 {u"1"_s, u"A"_s}, {u"2"_s, u"B"_s}, {u"4"_s, u"<null>"_s}, {u"5"_s, u"E"_s}}));
    QCOMPARE(q->fieldByName(u"IDNO").text(), u"5"_s);
}

void ProviderTest::turkishLikeThroughSql_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("found");

    const QStringList sahin = {u"şahin yılmaz"_s, u"ŞAHİN KAYA"_s, u"SAHIN DEMIR"_s};
    QTest::newRow("şahin") << u"like '%şahin%'"_s << sahin;
    QTest::newRow("ŞAHİN") << u"like '%ŞAHİN%'"_s << sahin;
    QTest::newRow("SAHIN") << u"like '%SAHIN%'"_s << sahin;
    QTest::newRow("upper-case keyword") << u"LIKE 'sahın%'"_s << sahin;
    QTest::newRow("start of the name") << u"like 'ş%'"_s << sahin;
    QTest::newRow("dotted İ finds the dotless I")
        << u"like '%DEMİR'"_s << QStringList{u"SAHIN DEMIR"_s};
    QTest::newRow("% matches every text, never null")
        << u"like '%'"_s
        << QStringList{u"şahin yılmaz"_s, u"ŞAHİN KAYA"_s, u"SAHIN DEMIR"_s, u"O'NEIL"_s,
                       QString()};
    QTest::newRow("%% matches the empty text")
        << u"like '%%'"_s
        << QStringList{u"şahin yılmaz"_s, u"ŞAHİN KAYA"_s, u"SAHIN DEMIR"_s, u"O'NEIL"_s,
                       QString()};
    QTest::newRow("empty pattern") << u"like ''"_s << QStringList{QString()};
    QTest::newRow("doubled quote") << u"like '%''%'"_s << QStringList{u"O'NEIL"_s};
    QTest::newRow("doubled quote, folded") << u"like 'o''neıl'"_s << QStringList{u"O'NEIL"_s};
    QTest::newRow("nothing") << u"like '%çiğdem%'"_s << QStringList();
    QTest::newRow("not like leaves null out")
        << u"not like '%a%'"_s << QStringList{u"O'NEIL"_s, QString()};
}

void ProviderTest::turkishLikeThroughSql() {
    QFETCH(QString, condition);
    QFETCH(QStringList, found);
    testsupport::TempDatabase db;
    for (const QString& name :
         {u"şahin yılmaz"_s, u"ŞAHİN KAYA"_s, u"SAHIN DEMIR"_s, u"O'NEIL"_s, QString()})
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {name});
    db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {QVariant()});
    QCOMPARE(db.rows(u"SELECT count(*) FROM okuyucu WHERE ADISOYADI = ''"_s),
             std::vector<QStringList>{{u"1"_s}});

    // The search sequence: clear, one line, execute, open.
    auto q = readers(programConnectionString(db));
    q->clearSql();
    q->addSql(u"select * from  okuyucu where ADISOYADI "_s + condition);
    q->execSQL();
    q->open();
    QCOMPARE(column(*q, u"ADISOYADI"_s), found);
}

void ProviderTest::onlyOneStatementIsRun() {
    testsupport::TempDatabase db;
    db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"Ayşe"_s});
    auto q = readers(programConnectionString(db));
    const QString refused = u"Characters found after end of SQL statement"_s;

    q->clearSql();
    q->addSql(u"select * from  okuyucu; delete from okuyucu"_s);
    QCOMPARE(failure([&] { q->execSQL(); }), refused);
    QCOMPARE(failure([&] { q->open(); }), refused);
    QCOMPARE(q->state(), DataSetState::Inactive);

    // A search text that tries to end the statement.
    q->clearSql();
    q->addSql(u"select * from  okuyucu where ADISOYADI like '%x'; drop table okuyucu; --%'"_s);
    QCOMPARE(failure([&] { q->execSQL(); }), refused);
    QCOMPARE(failure([&] { q->open(); }), refused);
    // The statement on two lines, the second a statement of its own.
    q->clearSql();
    q->addSql(u"select * from  okuyucu;"_s);
    q->addSql(u"update okuyucu set ADISOYADI = 'x'"_s);
    QCOMPARE(failure([&] { q->open(); }), refused);
    QCOMPARE(db.rows(u"SELECT ADISOYADI FROM okuyucu"_s), std::vector<QStringList>{{u"Ayşe"_s}});

    // A closing ";" alone is fine, and an invalid statement gives the engine's message.
    q->clearSql();
    q->addSql(u"select * from  okuyucu;"_s);
    q->open();
    QCOMPARE(column(*q, u"ADISOYADI"_s), QStringList{u"Ayşe"_s});
    q->clearSql();
    q->addSql(u"selec * from  okuyucu"_s);
    QCOMPARE(failure([&] { q->open(); }), u"near \"selec\": syntax error"_s);
    QCOMPARE(q->state(), DataSetState::Inactive);
}

void ProviderTest::executeKeepsRowsAndState() {
    testsupport::TempDatabase db;
    for (const QString& t : {u"A"_s, u"B"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
    auto q = books(programConnectionString(db));
    q->open();
    q->next();
    q->execSQL();
    QCOMPARE(q->state(), DataSetState::Browse);
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(q->recordCount(), 2);
    q->edit();
    q->fieldByName(u"KITABINADI").setText(u"B2"_s);
    q->execSQL();
    QCOMPARE(q->state(), DataSetState::Edit);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), u"B2"_s);
    q->cancel();

    // A failing statement raises the engine's message and changes nothing either.
    db.exec(u"DROP TABLE kitapkayit"_s);
    QCOMPARE(failure([&] { q->execSQL(); }), u"no such table: kitapkayit"_s);
    QCOMPARE(q->state(), DataSetState::Browse);
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(q->fieldByName(u"KITABINADI").text(), u"B"_s);
}

// Run with "--post-as-nobody CONNECTIONSTRING" the program posts one book as the unprivileged
// user and prints the failure's message (the folder test above, when run as the superuser).
int main(int argc, char* argv[]) {
#ifndef Q_OS_WIN
    if (argc == 3 && std::strcmp(argv[1], "--post-as-nobody") == 0) {
        if (setgid(nobody) != 0 || setuid(nobody) != 0)
            return 2;
        std::puts(postOneBook(QString::fromLocal8Bit(argv[2])).toUtf8().constData());
        return 0;
    }
#endif
    QCoreApplication app(argc, argv);
    ProviderTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_provider.moc"
