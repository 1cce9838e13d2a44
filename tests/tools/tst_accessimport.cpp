// Bringing an Access-format library across with `ternavolk-db import`: every value of both
// sample files exactly as an independent reader read it, keys that go on after the largest
// record code, a new file for its owner only, and nothing half-made when the old file is
// damaged or the new one is already there.

#include "data/adoquery.h"
#include "data/connectionstring.h"
#include "data/tables.h"
#include "support/filemode.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/accessreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QString samples = QString::fromUtf8(TERNAVOLK_ACCESS_DATA);

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray utf16(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

// The rows of each table as the expected file lists them: a line naming the table and its
// columns, then one JSON object a row.
std::map<QString, QList<QJsonObject>> expectedRows(const QString& file) {
    std::map<QString, QList<QJsonObject>> out;
    QString table;
    for (const QByteArray& line : readAll(file).split('\n')) {
        if (line.startsWith('{'))
            out[table] << QJsonDocument::fromJson(line).object();
        else if (!line.isEmpty() && !line.startsWith("format"))
            table = QString::fromUtf8(line.left(line.indexOf(' ')));
    }
    return out;
}

// A value as SQLite's quote() gives it: NULL, a bare integer, or a quoted text; an ISO
// date-time of the expected file ("...T10:30:00.000Z") as the program stores it.
QString quoted(const QJsonValue& v, data::Kind kind) {
    if (v.isNull())
        return u"NULL"_s;
    if (v.isDouble())
        return QString::number(v.toInteger());
    QString text = v.toString();
    if (kind == data::Kind::DateTime)
        text = text.replace(u'T', u' ').chopped(1);
    return u"'"_s + text.replace(u"'"_s, u"''"_s) + u"'"_s;
}

QString quotedColumns(const data::TableDef& table) {
    QStringList parts;
    for (const data::ColumnDef& c : table.columns)
        parts << u"quote("_s + QString::fromUtf16(c.name) + u")"_s;
    return parts.join(u", "_s);
}

using Run = testsupport::ToolRun;

Run import(const QString& oldPath, const QString& newPath) {
    return testsupport::runTool(QString::fromUtf8(TERNAVOLK_DB_TOOL),
                                {QStringLiteral("import"), oldPath, newPath});
}

QString summary(const QString& oldPath, const QString& newPath, const QStringList& tables,
                int warnings) {
    return u"Importing '%1' into '%2'\n"_s.arg(oldPath, newPath) + tables.join(u'\n') +
           u"\nImported with %1 warning(s): %2\n"_s.arg(warnings).arg(newPath);
}

} // namespace

class AccessImport : public QObject {
    Q_OBJECT

    QTemporaryDir temp_;
    int counter_ = 0;

    // A fresh folder (Turkish letters and a blank in its name) inside the temporary one.
    QString freshDir() {
        const QString dir = temp_.path() + u"/Eski Kütüphane %1"_s.arg(++counter_);
        QDir().mkpath(dir);
        return dir;
    }

private slots:
    void everyValueComesAcrossExactly_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("renamed"); // a column renamed in the copy, or empty
        QTest::addColumn<QStringList>("hareketLines");
        const QStringList complete{u"hareket: 3 rows read, 3 written"_s};
        QTest::newRow("compressed texts")
            << u"kutuphane_jet4_compressed"_s << QString() << complete;
        QTest::newRow("plain texts") << u"kutuphane_jet4_plain"_s << QString() << complete;
        QTest::newRow("hareket.DURUM renamed DURUX")
            << u"kutuphane_jet4_plain"_s << u"DURUM"_s
            << QStringList{u"hareket: 3 rows read, 3 written"_s,
                           u"  warning: column 'DURUX' is not one of the program's; skipped"_s,
                           u"  warning: column 'DURUM' is missing from the old table; left "
                           u"empty"_s};
    }
    void everyValueComesAcrossExactly() {
        QFETCH(QString, file);
        QFETCH(QString, renamed);
        QFETCH(QStringList, hareketLines);
        const QString dir = freshDir(), newDir = dir + u"/yeni"_s;
        const QString oldPath = dir + u"/DATA.mdb"_s, newPath = newDir + u"/DATA.mdb"_s;
        QVERIFY(QDir().mkpath(newDir));
        QByteArray bytes = readAll(samples + u"/"_s + file + u".mdb"_s);
        QCOMPARE(bytes.size(), 159744);
        if (!renamed.isEmpty()) { // hareket's columns are defined last in the file
            const qsizetype at = bytes.lastIndexOf(utf16(renamed));
            QVERIFY(at > 0);
            bytes.replace(at + 2 * renamed.size() - 2, 1, "X");
        }
        writeAll(oldPath, bytes);
        auto expected = expectedRows(samples + u"/"_s + file + u".expected.txt"_s);
        QCOMPARE(expected.size(), 3u);
        if (!renamed.isEmpty())
            for (QJsonObject& row : expected[u"hareket"_s])
                row[renamed] = QJsonValue::Null;

        const Run r = import(oldPath, newPath);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, summary(oldPath, newPath,
                                QStringList{u"okuyucu: 4 rows read, 4 written"_s,
                                            u"kitapkayit: 5 rows read, 5 written"_s} +
                                    hareketLines,
                                static_cast<int>(hareketLines.size()) - 1));
        // The old file untouched; the new one alone in its folder (no temporary file or journal
        // left), for its owner only.
        QCOMPARE(readAll(oldPath), bytes);
        QCOMPARE(QDir(newDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{u"DATA.mdb"_s});
        COMPARE_FILE_MODE(newPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        for (const data::TableDef* t : data::allTables()) {
            const QList<QJsonObject>& rows = expected[t->tableName()];
            QList<QStringList> want;
            for (const QJsonObject& row : rows) {
                QCOMPARE(row.size(), static_cast<qsizetype>(t->columns.size()));
                QStringList cells;
                for (const data::ColumnDef& c : t->columns)
                    cells << quoted(row.value(QString::fromUtf16(c.name)), c.kind);
                want << cells;
            }
            QCOMPARE(testsupport::fileRows(newPath, u"SELECT %1 FROM %2 ORDER BY IDNO"_s.arg(
                                                        quotedColumns(*t), t->tableName())),
                     want);

            // The program opens what came across, and a new row gets the key after the
            // largest record code (not after the row count: IDNO has gaps).
            data::TADOQuery q(t->tableName(), *t, u"select * from  "_s + t->tableName());
            q.setConnectionString(data::connectionString(newDir));
            q.open();
            QCOMPARE(q.recordCount(), static_cast<int>(rows.size()));
            q.close();
            sqlite3* db = nullptr;
            QCOMPARE(
                sqlite3_open_v2(newPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
                SQLITE_OK);
            const QString insert = u"INSERT INTO %1 (%2) VALUES (NULL)"_s.arg(
                t->tableName(), QString::fromUtf16(t->columns[1].name));
            QCOMPARE(sqlite3_exec(db, insert.toUtf8().constData(), nullptr, nullptr, nullptr),
                     SQLITE_OK);
            QCOMPARE(sqlite3_last_insert_rowid(db), rows.last()[u"IDNO"_s].toInteger() + 1);
            sqlite3_close_v2(db);
        }
    }

    void anExistingNewFileIsLeftAlone() {
        const QString dir = freshDir();
        const QString oldPath = samples + u"/kutuphane_jet4_plain.mdb"_s;
        const QString newPath = dir + u"/DATA.mdb"_s;
        const QByteArray before("the librarian's own file\n\0\x01\xff", 28);
        writeAll(newPath, before);
        const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(newPath, mode));
        const Run r = import(oldPath, newPath);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, u"ternavolk-db: The file '%1' already exists; it is left as it is\n"_s.arg(
                            newPath));
        QCOMPARE(readAll(newPath), before);
        COMPARE_FILE_MODE(newPath, mode);
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{u"DATA.mdb"_s});
    }

    void aFileThatCannotBeReadLeavesNothing_data() {
        QTest::addColumn<int>("keep");         // bytes of the sample file kept; -1: all
        QTest::addColumn<QString>("renamed");  // a table renamed in the copy, or empty
        QTest::addColumn<QByteArray>("other"); // instead of the sample file, or empty
        QTest::addColumn<QString>("message");  // "@" stands for the old file's path
        QTest::newRow("cut inside a page")
            << 100000 << QString() << QByteArray()
            << u"'@' is damaged or cut short: its size of 100000 bytes does not fit the Access "
               u"format"_s;
        QTest::newRow("cut inside the list of tables")
            << 40960 << QString() << QByteArray()
            << u"'@' is damaged: table 'okuyucu' cannot be found (offset 57344 is beyond EOF)"_s;
        QTest::newRow("cut before the last table's rows") // two tables written by then
            << 143360 << QString() << QByteArray()
            << u"'@' is damaged: table 'hareket' holds 3 rows, of which 0 could be read"_s;
        QTest::newRow("a table missing")
            << -1 << u"hareket"_s << QByteArray() << u"'@' has no table 'hareket'"_s;
        QTest::newRow("no Access file")
            << -1 << QString() << QByteArray("ADISOYADI;OKULU\nAyşe;Gazi\n")
            << u"'@' is not an Access database file"_s;
        QTest::newRow("Access 97")
            << -1 << QString() << QByteArray("\0\x01\0\0Standard Jet DB\0\0\0\0\0", 24)
            << u"'@' is in the Access 97 format; save it from Access in "
               u"the Access 2000 format first"_s;
    }
    void aFileThatCannotBeReadLeavesNothing() {
        QFETCH(int, keep);
        QFETCH(QString, renamed);
        QFETCH(QByteArray, other);
        QFETCH(QString, message);
        const QString dir = freshDir();
        const QString oldPath = dir + u"/DATA.mdb"_s, newPath = dir + u"/yeni/DATA.mdb"_s;
        QVERIFY(QDir().mkpath(dir + u"/yeni"_s));
        QByteArray bytes =
            other.isEmpty() ? readAll(samples + u"/kutuphane_jet4_compressed.mdb"_s) : other;
        if (keep >= 0)
            bytes.truncate(keep);
        if (!renamed.isEmpty()) { // the first mention is the list of tables
            const qsizetype at = bytes.indexOf(utf16(renamed));
            QVERIFY(at > 0);
            bytes.replace(at + 2 * renamed.size() - 2, 1, "X");
        }
        writeAll(oldPath, bytes);
        const Run r = import(oldPath, newPath);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, u"Importing '%1' into '%2'\n"_s.arg(oldPath, newPath));
        QCOMPARE(r.err, u"ternavolk-db: "_s + message.replace(u"@"_s, oldPath) + u"\n"_s);
        QCOMPARE(readAll(oldPath), bytes);
        QCOMPARE(QDir(dir + u"/yeni"_s)
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void jetTextsAreDecoded_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("UTF-16") << utf16(u"Işıl Çağlar"_s) << u"Işıl Çağlar"_s;
        QTest::newRow("compressed, empty") << QByteArray("\xff\xfe") << QString();
        QTest::newRow("compressed Latin-1")
            << QByteArray("\xff\xfeG\xfcl Mah. \xc7") << u"Gül Mah. Ç"_s;
        QTest::newRow("compressed, then UTF-16, then compressed again")
            << QByteArray("\xff\xfe"
                          "Ay",
                          4) +
                   QByteArray("\0", 1) + utf16(u"şğ"_s) + QByteArray("\0 Y", 3)
            << u"Ayşğ Y"_s;
    }
    void jetTextsAreDecoded() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, text);
        QCOMPARE(tools::decodeJetText(reinterpret_cast<const unsigned char*>(stored.constData()),
                                      static_cast<int>(stored.size())),
                 text);
    }
};

QTEST_GUILESS_MAIN(AccessImport)
#include "tst_accessimport.moc"
