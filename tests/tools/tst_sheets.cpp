// The sample lists read by the built tool's child behind the wall (the cells as each format's
// library gives them), the files it must refuse and how the wall stops a reader that misbehaves,
// and the two commands end to end: what they print, what they write, and that a refused list
// writes nothing.

#include "data/sqlite.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/sheetwall.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using tools::sheets::Cell;
using tools::sheets::Fault;
using tools::sheets::SheetError;
using tools::sheets::Workbook;

Q_DECLARE_METATYPE(tools::sheets::Fault)

namespace {

const QString tool = QStringLiteral(TERNAVOLK_DB_TOOL);

QString sample(const QString& name) {
    return QStringLiteral(TERNAVOLK_LISTS_DATA) + u'/' + name;
}

// A row as "5: B=n9001 C=tAYŞE E=d2024-09-15" (column letters, n number, t text, d date).
QString dump(const tools::sheets::Row& row) {
    QString out = QString::number(row.index + 1) + u':';
    for (const auto& [column, cell] : row.cells) {
        out += u' ' + QChar(u'A' + column) + u'=';
        switch (cell.kind) {
        case Cell::Kind::Number:
            out += u'n' + QString::number(cell.number, 'g', 15);
            break;
        case Cell::Kind::Text:
            out += u't' + cell.text;
            break;
        case Cell::Kind::Date:
            out += u'd' + platform::DateTime(cell.number).toIso();
            break;
        }
    }
    return out;
}

std::vector<QStringList> readerRows(const QString& file) {
    std::vector<QStringList> out;
    for (const QStringList& r : testsupport::fileRows(
             file, u"select ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI, UNVANI, TELEFONU from "
                   u"okuyucu order by IDNO"_s))
        out.push_back(r);
    return out;
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void samplesReadAsTheirLibrariesGiveThem_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("date1904");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("e-Okul .XLS, header variant A")
            << u"eokul_9.XLS"_s << 0 << false << QStringList{u"2"_s, u"4"_s, u"5"_s, u"10"_s}
            << QStringList{u"2: A=t9. Sınıf / A Şubesi Sınıf Listesi"_s,
                           u"4: A=tS.No B=tÖğrenci No C=tAdı D=tSoyadı E=tCinsiyeti "
                           u"F=tPansiyon Durum G=tDalı"_s,
                           u"5: A=n1 B=n9001 C=tAYŞE D=tYILMAZ E=tKız F=tGündüzlü"_s,
                           u"10: B=tErkek C=n1"_s};
        QTest::newRow("e-Okul .XLS, variant B with a merged header")
            << u"eokul_10.XLS"_s << 0 << false << QStringList{u"4"_s, u"17"_s}
            << QStringList{u"4: A=tS.No B=tAdı D=tSoyadı E=tÖğrenci No F=tDalı G=tCinsiyeti "
                           u"H=tPansiyon Durum"_s,
                           u"17: A=n1 C=tİSMAİL D=tGÜNEŞ E=n1010 G=tErkek H=tGündüzlü"_s};
        QTest::newRow("e-Okul list saved again as .xlsx")
            << u"eokul_10.xlsx"_s << 1 << false << QStringList{u"2"_s, u"5"_s}
            << QStringList{u"2: A=t10. Sınıf / I Şubesi (ALAN) Sınıf Listesi"_s,
                           u"5: A=n1 B=tELİF NUR C=tDEMİR D=n1001 F=tKız G=tGündüzlü"_s};
        QTest::newRow("books .xlsx: a date cell, a barcode as a number, shared strings")
            << u"kitaplar.xlsx"_s << 1 << false << QStringList{u"1"_s, u"4"_s, u"15"_s}
            << QStringList{u"1: A=tKÜTÜPHANE DEMİRBAŞ DEFTERİ"_s,
                           u"4: A=n1 B=n1 C=tSEFİLLER D=tVICTOR HUGO E=tİŞ BANKASI F=tROMAN "
                           u"G=n9789754588248 H=n25.9 I=d2024-09-15 00:00:00.000 J=tBağış "
                           u"K=tİSTANBUL L=n2019 M=n3"_s,
                           u"15: A=n12 B=n12 C=tKÜRK MANTOLU MADONNA D=tSABAHATTİN ALİ "
                           u"H=t1.250,75 I=n45500"_s};
        QTest::newRow("books .xls: dates of the 1900 system, 1 March 1900")
            << u"kitaplar.xls"_s << 0 << false << QStringList{u"2"_s, u"3"_s}
            << QStringList{u"2: A=n501 B=tŞEKER PORTAKALI C=tJOSÉ MAURO DE VASCONCELOS D=n18 "
                           u"E=d2023-01-31 00:00:00.000"_s,
                           u"3: A=n502 B=tKÜÇÜK PRENS C=tANTOINE DE SAINT-EXUPÉRY D=n12.49 "
                           u"E=d1900-03-01 00:00:00.000 F=t9789750724053"_s};
        QTest::newRow("books .xlsx in the 1904 date system")
            << u"kitaplar_1904.xlsx"_s << 1 << true << QStringList{u"2"_s}
            << QStringList{u"2: A=tA-1 B=tDOKUZUNCU HARİCİYE KOĞUŞU C=d2024-02-29 13:30:00.000"_s};
        QTest::newRow("pupils .csv in Windows-1254 with semicolons")
            << u"ogrenciler_1254.csv"_s << 2 << false << QStringList{u"1"_s, u"3"_s, u"6"_s}
            << QStringList{u"1: A=tÖğrenci No B=tAdı Soyadı C=tSınıfı"_s,
                           u"3: A=t502 B=t  GÜLŞEN   ÖZ  C=t5-B"_s, u"6: A=t504 C=t5/A"_s};
        QTest::newRow("pupils .csv in UTF-8 with its mark and tabs")
            << u"ogrenciler_bom.csv"_s << 2 << false << QStringList{u"1"_s, u"3"_s}
            << QStringList{u"1: A=tNumarası B=tAdı C=tSoyadı D=tSınıf E=tŞube"_s,
                           u"3: A=t602 B=tİPEK C=tUÇAR D=t6 E=tİ"_s};
        QTest::newRow("pupils .csv in UTF-8 with commas and a quoted comma")
            << u"ogrenciler.csv"_s << 2 << false << QStringList{u"2"_s}
            << QStringList{u"2: A=t701 B=tKAAN, EFE"_s};
    }
    void samplesReadAsTheirLibrariesGiveThem() {
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(bool, date1904);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        const Workbook book = tools::sheets::readBehindWall(tool, sample(file));
        QCOMPARE(static_cast<int>(book.format), format);
        QCOMPARE(book.date1904, date1904);
        QCOMPARE(book.sheets.size(), size_t(1));
        QStringList got;
        for (const tools::sheets::Row& r : book.sheets[0].rows)
            if (rows.contains(QString::number(r.index + 1)))
                got << dump(r);
        QCOMPARE(got, expected);
    }

    void filesThatAreNoListsAreRefused_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow(".xls with a password")
            << u"sifreli.xls"_s << Fault::Encrypted
            << u"'%1' is protected with a password: save it again without one (in Excel: File, "
               u"Info, Protect Workbook); nothing was written"_s;
        QTest::newRow(".xlsx with a password (an encrypted package)")
            << u"sifreli.xlsx"_s << Fault::Encrypted
            << u"'%1' is protected with a password: save it again without one (in Excel: File, "
               u"Info, Protect Workbook); nothing was written"_s;
        QTest::newRow(".xls cut short")
            << u"bozuk.xls"_s << Fault::Damaged
            << u"'%1' is damaged (it is cut short): open it in Excel or LibreOffice and save it "
               u"again; nothing was written"_s;
        QTest::newRow(".xlsx whose sheet does not inflate")
            << u"bozuk.xlsx"_s << Fault::Damaged
            << u"'%1' is damaged (its part 'xl/worksheets/sheet1.xml' cannot be read): open it "
               u"in Excel or LibreOffice and save it again; nothing was written"_s;
        QTest::newRow("a picture named .xls")
            << u"resim.xls"_s << Fault::NotASpreadsheet
            << u"'%1' is not a spreadsheet (.xls, .xlsx or .csv) (it is a PNG picture); nothing "
               u"was written"_s;
        QTest::newRow("an empty file")
            << u"@empty"_s << Fault::Empty << u"The list '%1' is empty; nothing was written"_s;
        QTest::newRow("no file") << u"@missing"_s << Fault::Missing
                                 << u"Could not find the list '%1'; nothing was written"_s;
        QTest::newRow("a Word document named .xlsx")
            << u"belge.xlsx"_s << Fault::NotASpreadsheet
            << u"'%1' is not a spreadsheet (.xls, .xlsx or .csv) (it is a Word document); "
               u"nothing was written"_s;
    }
    void filesThatAreNoListsAreRefused() {
        QFETCH(QString, file);
        QFETCH(Fault, fault);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString path = sample(file);
        if (file.startsWith(u'@')) {
            path = dir.filePath(file.mid(1) + u".xls"_s);
            if (file == u"@empty") {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        try {
            tools::sheets::readBehindWall(tool, path);
            QFAIL("not refused");
        } catch (const SheetError& e) {
            QCOMPARE(e.fault(), fault);
            QCOMPARE(e.path(), path);
            QCOMPARE(e.message(), message.arg(path));
        }
    }

#ifndef Q_OS_WIN
    // A reader that crashes, stalls, floods or hands over nonsense is stopped by the wall, and
    // the list is refused as damaged; one that does not start says so.
    void theWallStopsAReaderThatMisbehaves_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("detail");
        QTest::newRow("crash") << u"kill -SEGV $$"_s
                               << u"the reader broke off (it crashed or went beyond its limit of "
                                  u"512 MB of memory or 60 s of processor time)"_s;
        QTest::newRow("silence") << u"echo 'a line of its own' >&2; exec sleep 30"_s
                                 << u"the reader gave nothing for 1 s; the reader said: a line of "
                                    u"its own"_s;
        QTest::newRow("flood of messages")
            << u"yes 'FreeXL: something went wrong' >&2"_s
            << u"the reader printed more than 4 KB of messages; the reader said: FreeXL: "
               u"something went wrong; the reader said: FreeXL: something went wrong; the "
               u"reader said: FreeXL: something went wrong"_s;
        QTest::newRow("nonsense") << u"printf '\\000\\000\\000\\002XY'"_s
                                  << u"its reader handed over what cannot be read"_s;
        QTest::newRow("a record too large")
            << u"printf '\\177\\377\\377\\377'; exec sleep 30"_s
            << u"the reader handed over a record of 2147483647 bytes"_s;
    }
    void theWallStopsAReaderThatMisbehaves() {
        QFETCH(QString, script);
        QFETCH(QString, detail);
        QTemporaryDir dir;
        const QString program = dir.filePath(u"reader"_s);
        {
            QFile f(program);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write((u"#!/bin/sh\n"_s + script + u"\n"_s).toUtf8());
        }
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("TERNAVOLK_SHEET_SILENT_SECONDS", "1");
        qputenv("TERNAVOLK_SHEET_MESSAGES_KB", "4");
        try {
            tools::sheets::readBehindWall(program, sample(u"eokul_9.XLS"_s));
            QFAIL("not refused");
        } catch (const SheetError& e) {
            const Fault expected =
                detail.contains(u"record of"_s) ? Fault::TooLarge : Fault::Damaged;
            QCOMPARE(e.fault(), expected);
            QCOMPARE(e.detail(), detail);
        }
        qunsetenv("TERNAVOLK_SHEET_SILENT_SECONDS");
        qunsetenv("TERNAVOLK_SHEET_MESSAGES_KB");
    }
#endif

    void aReaderThatDoesNotStartIsNamed() {
        try {
            tools::sheets::readBehindWall(u"/yok/ternavolk-db"_s, sample(u"eokul_9.XLS"_s));
            QFAIL("not refused");
        } catch (const SheetError& e) {
            QCOMPARE(e.fault(), Fault::ReaderFailed);
            QVERIFY2(e.detail().startsWith(u"the reader (/yok/ternavolk-db) does not start: "_s),
                     qPrintable(e.detail()));
        }
    }

    // The first school year, then the next one with --dry-run and for real, the way a school
    // uses the command; the other school's reader with the same number stays as it was.
    void readersCommandImportsAYearAndTheNext() {
        testsupport::TempDatabase db;
        const QString dir = db.directory();
        for (const QString& f : {u"eokul_9.XLS"_s, u"eokul_10.XLS"_s, u"eokul_2027.xls"_s})
            QVERIFY(QFile::copy(sample(f), dir + u'/' + f));
        db.insert(u"okuyucu"_s,
                  {u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s, u"NUMARASI"_s, u"TELEFONU"_s},
                  {u"BAŞKA ÖĞRENCİ"_s, u"5/A"_s, u"GAZİ LİSESİ"_s, u"9001"_s, u"0312 222"_s});
        db.release();
        const QStringList school{u"--school"_s, u"ATATÜRK ANADOLU LİSESİ"_s};
        testsupport::ToolRun r = testsupport::runTool(
            tool,
            QStringList{u"readers"_s, u"DATA.mdb"_s, u"eokul_9.XLS"_s, u"eokul_10.XLS"_s} + school,
            dir);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out,
                 u"Lists: 2 file(s), 9 pupil(s) in 4 class(es), school 'ATATÜRK ANADOLU LİSESİ'\n"
                 u"New readers: 9\nMoved to another class: 0\nUnchanged: 0\nName conflicts: 0\n"
                 u"Leaving: 0\nSkipped: 0\nProblems: 0\n"
                 u"new: 'eokul_9.XLS' row 5: 9001 AYŞE YILMAZ, 9/A\n"
                 u"new: 'eokul_9.XLS' row 6: 9002 MEHMET ÖZTÜRK, 9/A\n"
                 u"new: 'eokul_9.XLS' row 7: 9003 ZEYNEP ÇELİK, 9/A\n"
                 u"new: 'eokul_9.XLS' row 18: 9010 ALİ KAYA, 9/Ç\n"
                 u"new: 'eokul_9.XLS' row 19: 9011 İREM ŞAHİN, 9/Ç\n"
                 u"new: 'eokul_10.XLS' row 5: 1001 ELİF NUR DEMİR, 10/I\n"
                 u"new: 'eokul_10.XLS' row 6: 1002 IŞIL AKSOY, 10/I\n"
                 u"new: 'eokul_10.XLS' row 17: 1010 İSMAİL GÜNEŞ, 10/İ\n"
                 u"new: 'eokul_10.XLS' row 18: 1011 ŞEVVAL ÖZ, 10/İ\n"
                 u"Written: 9 new reader(s), 0 class(es) changed, 0 name(s) changed, 0 marked "
                 u"as left\n"_s);
        db.insert(u"hareket"_s,
                  {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s, u"GERIGETIRMETARIHI"_s,
                   u"DURUM"_s},
                  {u"ZEYNEP ÇELİK"_s, u"BEYAZ DİŞ"_s, u"2026-03-01 16:15:25.890"_s,
                   u"2026-03-21 16:15:25.890"_s, u"Verildi"_s});
        db.release();
        const std::vector<QStringList> yearOne = readerRows(db.filePath());

        const QString plan =
            u"Lists: 1 file(s), 9 pupil(s) in 6 class(es), school 'ATATÜRK ANADOLU LİSESİ'\n"
            u"New readers: 2\nMoved to another class: 5\nUnchanged: 1\nName conflicts: 1\n"
            u"Leaving: 2\nSkipped: 0\nProblems: 0\n"
            u"new: 'eokul_2027.xls' row 62: 9101 YUSUF ARSLAN, 9/B\n"
            u"new: 'eokul_2027.xls' row 63: 9102 DEFNE KOÇ, 9/B\n"
            u"moved: 'eokul_2027.xls' row 5: 9001 AYŞE YILMAZ, 9/A -> 10/A\n"
            u"moved: 'eokul_2027.xls' row 6: 9002 MEHMET ÖZTÜRK, 9/A -> 10/A\n"
            u"moved: 'eokul_2027.xls' row 17: 9010 ALİ KAYA, 9/Ç -> 10/Ç\n"
            u"moved: 'eokul_2027.xls' row 40: 1001 ELİF NUR DEMİR, 10/I -> 11/I\n"
            u"moved: 'eokul_2027.xls' row 51: 1010 İSMAİL GÜNEŞ, 10/İ -> 11/İ\n"
            u"conflict: 'eokul_2027.xls' row 18: 9011 in the register 'İREM ŞAHİN', in the list "
            u"'İREM ŞAHİNOĞLU'\n"
            u"leaving: 9003 ZEYNEP ÇELİK, 9/A; books out: BEYAZ DİŞ (due 21.03.2026)\n"
            u"leaving: 1011 ŞEVVAL ÖZ, 10/İ\n"_s;
        r = testsupport::runTool(
            tool,
            QStringList{u"readers"_s, u"DATA.mdb"_s, u"eokul_2027.xls"_s, u"--dry-run"_s} + school,
            dir);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, plan + u"Names in conflict are left as they are; --accept-names takes the "
                               u"lists' names.\n"
                               u"Leaving readers are left as they are; --mark-leavers marks them "
                               u"\"Ayrıldı\".\nDry run: nothing was written.\n"_s);
        QCOMPARE(readerRows(db.filePath()), yearOne);

        r = testsupport::runTool(tool,
                                 QStringList{u"readers"_s, u"DATA.mdb"_s, u"eokul_2027.xls"_s,
                                             u"--accept-names"_s, u"--mark-leavers"_s} +
                                     school,
                                 dir);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, plan + u"Written: 2 new reader(s), 5 class(es) changed, 1 name(s) "
                               u"changed, 2 marked as left\n"_s);
        const QString a = u"ATATÜRK ANADOLU LİSESİ"_s, o = u"Öğrenci"_s, n = u"<null>"_s;
        QCOMPARE(readerRows(db.filePath()),
                 (std::vector<QStringList>{
                     {u"BAŞKA ÖĞRENCİ"_s, u"5/A"_s, u"GAZİ LİSESİ"_s, u"9001"_s, n, u"0312 222"_s},
                     {u"AYŞE YILMAZ"_s, u"10/A"_s, a, u"9001"_s, o, n},
                     {u"MEHMET ÖZTÜRK"_s, u"10/A"_s, a, u"9002"_s, o, n},
                     {u"ZEYNEP ÇELİK"_s, u"Ayrıldı"_s, a, u"9003"_s, o, n},
                     {u"ALİ KAYA"_s, u"10/Ç"_s, a, u"9010"_s, o, n},
                     {u"İREM ŞAHİNOĞLU"_s, u"10/Ç"_s, a, u"9011"_s, o, n},
                     {u"ELİF NUR DEMİR"_s, u"11/I"_s, a, u"1001"_s, o, n},
                     {u"IŞIL AKSOY"_s, u"10/I"_s, a, u"1002"_s, o, n},
                     {u"İSMAİL GÜNEŞ"_s, u"11/İ"_s, a, u"1010"_s, o, n},
                     {u"ŞEVVAL ÖZ"_s, u"Ayrıldı"_s, a, u"1011"_s, o, n},
                     {u"YUSUF ARSLAN"_s, u"9/B"_s, a, u"9101"_s, o, n},
                     {u"DEFNE KOÇ"_s, u"9/B"_s, a, u"9102"_s, o, n}}));
    }

    // A school's own lists in three encodings and separators, taken together as one list.
    void readersCommandTakesASchoolsOwnTextLists() {
        testsupport::TempDatabase db;
        const QString dir = db.directory();
        for (const QString& f :
             {u"ogrenciler_1254.csv"_s, u"ogrenciler_bom.csv"_s, u"ogrenciler.csv"_s})
            QVERIFY(QFile::copy(sample(f), dir + u'/' + f));
        db.release();
        const testsupport::ToolRun r = testsupport::runTool(
            tool,
            {u"readers"_s, u"DATA.mdb"_s, u"ogrenciler_1254.csv"_s, u"ogrenciler_bom.csv"_s,
             u"ogrenciler.csv"_s, u"--school"_s, u"Gazi İlkokulu"_s, u"--dry-run"_s},
            dir);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out,
                 u"Lists: 3 file(s), 7 pupil(s) in 5 class(es), school 'Gazi İlkokulu'\n"
                 u"New readers: 7\nMoved to another class: 0\nUnchanged: 0\nName conflicts: 0\n"
                 u"Leaving: 0\nSkipped: 0\nProblems: 1\n"
                 u"new: 'ogrenciler_1254.csv' row 2: 501 ÇAĞLA IŞIK, 5/A\n"
                 u"new: 'ogrenciler_1254.csv' row 3: 502 GÜLŞEN ÖZ, 5/B\n"
                 u"new: 'ogrenciler_1254.csv' row 4: 503 İLKER ĞÜNEŞ, 5/İ\n"
                 u"new: 'ogrenciler_bom.csv' row 2: 601 ÖMER FARUK TUNÇ, 6/I\n"
                 u"new: 'ogrenciler_bom.csv' row 3: 602 İPEK UÇAR, 6/İ\n"
                 u"new: 'ogrenciler.csv' row 2: 701 KAAN, EFE, no class\n"
                 u"new: 'ogrenciler.csv' row 3: 702 BERK SÖNMEZ, no class\n"
                 u"problem: 'ogrenciler_1254.csv' row 6, 504: a pupil number without a name; not "
                 u"taken\nDry run: nothing was written.\n"_s);
        QCOMPARE(db.count(u"okuyucu"_s), 0);
    }

    void booksCommandImportsTheSchoolsSpreadsheet() {
        testsupport::TempDatabase db;
        const QString dir = db.directory();
        QVERIFY(QFile::copy(sample(u"kitaplar.xlsx"_s), dir + u"/kitaplar.xlsx"_s));
        db.insert(u"kitapkayit"_s, {u"SERINO"_s, u"KITABINADI"_s}, {u"100"_s, u"ÇALIKUŞU"_s});
        db.release();
        const testsupport::ToolRun r =
            testsupport::runTool(tool, {u"books"_s, u"DATA.mdb"_s, u"kitaplar.xlsx"_s}, dir);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        const QString longTitle = u"UZUN "_s.repeated(21);
        QCOMPARE(
            r.out,
            u"Lists: 1 file(s)\n"
            u"Columns: SERINO <- 'Demirbaş No', KITABINADI <- 'Kitabın Adı', YAZARI <- 'Yazarı', "
            u"TURU <- 'Türü', YAYINEVI <- 'Yayınevi', BARKODU <- 'Barkodu', EDINME <- 'Edinme "
            u"Şekli', DEGERI <- 'Fiyatı', EDINMETARIHI <- 'Geliş Tarihi', BASIMYERI <- 'Basım "
            u"Yeri', BASIMYILI <- 'Basım Yılı', BASKINO <- 'Baskı No', ACIKLAMA <- 'Açıklama'; "
            u"not taken: 'Sıra'\n"
            u"New books: 4\nSkipped: 3\nProblems: 4\nPrices rounded down to whole lira: 3\n"
            u"new: 'kitaplar.xlsx' row 4, serial 1 SEFİLLER\n"
            u"new: 'kitaplar.xlsx' row 5, serial 2 BEYAZ DİŞ\n"
            u"new: 'kitaplar.xlsx' row 8 İNCE MEMED\n"
            u"new: 'kitaplar.xlsx' row 15, serial 12 KÜRK MANTOLU MADONNA\n"
            u"skipped: 'kitaplar.xlsx' row 6, serial 2 BEYAZ DİŞ: its serial number came "
            u"earlier in the lists ('kitaplar.xlsx' row 5); skipped\n"
            u"skipped: 'kitaplar.xlsx' row 7, serial 100 ÇALIKUŞU: its serial number is already "
            u"in the register; skipped\n"
            u"skipped: 'kitaplar.xlsx' row 9 İNCE MEMED: its barcode 8690000000001 came earlier "
            u"in the lists ('kitaplar.xlsx' row 8); skipped\n"
            u"problem: 'kitaplar.xlsx' row 10, serial 7 "_s +
                longTitle.simplified().left(39) + u"…: KITABINADI: '"_s + longTitle.simplified() +
                u"' is longer than 100 characters; not taken\n"
                u"problem: 'kitaplar.xlsx' row 11, serial 8 NUTUK: DEGERI: 'bedava' is no price; "
                u"not taken\n"
                u"problem: 'kitaplar.xlsx' row 12, serial 9 KUYUCAKLI YUSUF: DEGERI: '3000000000' "
                u"is more than the register keeps; not taken\n"
                u"problem: 'kitaplar.xlsx' row 13, serial 10 TUTUNAMAYANLAR: EDINMETARIHI: "
                u"'31.02.2024' is no date; not taken\n"
                u"Written: 4 new book(s)\n"_s);
        QCOMPARE(
            testsupport::fileRows(
                db.filePath(),
                u"select SERINO, KITABINADI, YAZARI, YAYINEVI, TURU, BARKODU, EDINME, DEGERI, "
                u"EDINMETARIHI, BASIMYERI, BASIMYILI, BASKINO, ACIKLAMA from kitapkayit "
                u"order by IDNO"_s),
            (QList<QStringList>{
                {u"100"_s, u"ÇALIKUŞU"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s},
                {u"1"_s, u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"İŞ BANKASI"_s, u"ROMAN"_s,
                 u"9789754588248"_s, u"Bağış"_s, u"25"_s, u"2024-09-15 00:00:00.000"_s,
                 u"İSTANBUL"_s, u"2019"_s, u"3"_s, u"<null>"_s},
                {u"2"_s, u"BEYAZ DİŞ"_s, u"JACK LONDON"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s, u"25"_s, u"2024-09-15 00:00:00.000"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s, u"Yıpranmış"_s},
                {u"<null>"_s, u"İNCE MEMED"_s, u"YAŞAR KEMAL"_s, u"<null>"_s, u"<null>"_s,
                 u"8690000000001"_s, u"<null>"_s, u"40"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s, u"<null>"_s},
                {u"12"_s, u"KÜRK MANTOLU MADONNA"_s, u"SABAHATTİN ALİ"_s, u"<null>"_s, u"<null>"_s,
                 u"<null>"_s, u"<null>"_s, u"1250"_s, u"2024-07-27 00:00:00.000"_s, u"<null>"_s,
                 u"<null>"_s, u"<null>"_s, u"<null>"_s}}));
    }

    // One list of several refused: nothing of the others is written; exit code 1.
    void aRefusedListWritesNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");
        QTest::newRow("readers, the second list encrypted")
            << QStringList{u"readers"_s,     u"DATA.mdb"_s, u"eokul_9.XLS"_s,
                           u"sifreli.xls"_s, u"--school"_s, u"X"_s}
            << u"ternavolk-db: 'sifreli.xls' is protected with a password: save it again without "
               u"one (in Excel: File, Info, Protect Workbook); nothing was written\n"_s;
        QTest::newRow("readers, a list without header")
            << QStringList{u"readers"_s,        u"DATA.mdb"_s, u"ogrenciler.csv"_s,
                           u"basliksiz.xlsx"_s, u"--school"_s, u"X"_s}
            << u"ternavolk-db: 'basliksiz.xlsx' has no row of column names that the import knows "
               u"(looked for a pupil number ('Öğrenci No', 'Numarası' or 'No') and a name ('Adı "
               u"Soyadı', or 'Adı' and 'Soyadı')); nothing was written\n"_s;
        QTest::newRow("books, a class list given")
            << QStringList{u"books"_s, u"DATA.mdb"_s, u"kitaplar.csv"_s, u"eokul_9.XLS"_s}
            << u"ternavolk-db: 'eokul_9.XLS' has no row of column names that the import knows "
               u"(looked for a book title ('Kitabın Adı', 'Eserin Adı' or 'Adı') beside another "
               u"column of books ('Demirbaş No', 'Yazarı', ...) in the first 30 rows); nothing "
               u"was written\n"_s;
        QTest::newRow("books, a damaged workbook")
            << QStringList{u"books"_s, u"DATA.mdb"_s, u"kitaplar.xls"_s, u"bozuk.xlsx"_s}
            << u"ternavolk-db: 'bozuk.xlsx' is damaged (its part 'xl/worksheets/sheet1.xml' "
               u"cannot be read): open it in Excel or LibreOffice and save it again; nothing was "
               u"written\n"_s;
    }
    void aRefusedListWritesNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        testsupport::TempDatabase db;
        const QString dir = db.directory();
        for (const QString& f : args.mid(2))
            if (f.contains(u'.'))
                QVERIFY(QFile::copy(sample(f), dir + u'/' + f));
        db.release();
        const QByteArray before = [&] {
            QFile f(db.filePath());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const testsupport::ToolRun r = testsupport::runTool(tool, args, dir);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err, err);
        QFile f(db.filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
};

QTEST_MAIN(SheetsTest)
#include "tst_sheets.moc"
