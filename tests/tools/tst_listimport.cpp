// The lists import's recognition, plans and writers on cells made here (no file is read): the
// blocks of e-Okul's class lists and schools' own lists, the rules of numbers, classes, prices
// and dates, the next school year against a register, and the one transaction that writes all
// of it or nothing.

#include "data/sqlite.h"
#include "platform/errors.h"
#include "platform/textrules.h"
#include "support/tempdatabase.h"
#include "tools/bookimport.h"
#include "tools/pupillist.h"
#include "tools/readerimport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tools::lists;
using tools::sheets::Cell;
using tools::sheets::Workbook;

Q_DECLARE_METATYPE(tools::sheets::Workbook)

namespace {

// A cell written the short way: "#9001.5" a number, "@2024-09-15" a date cell, anything else
// a text; "" no cell.
std::optional<Cell> cell(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    if (text.startsWith(u'#'))
        return Cell::ofNumber(text.mid(1).toDouble());
    if (text.startsWith(u'@'))
        return Cell::ofDate(
            platform::DateTime::fromDate(QDate::fromString(text.mid(1), Qt::ISODate)).days());
    return Cell::ofText(text);
}

// A sheet from lines of cells separated by "|", a line per row (row 1 first).
tools::sheets::Sheet grid(const QString& name, const QStringList& lines) {
    tools::sheets::Sheet sheet{name, {}};
    for (qsizetype r = 0; r < lines.size(); ++r) {
        tools::sheets::Row row{static_cast<int>(r), {}};
        const QStringList cells = lines[r].split(u'|');
        for (qsizetype c = 0; c < cells.size(); ++c)
            if (const std::optional<Cell> v = cell(cells[c]))
                row.cells.emplace_back(static_cast<int>(c), *v);
        if (!row.cells.empty())
            sheet.rows.push_back(row);
    }
    return sheet;
}

Workbook book(const QString& file, const QStringList& lines) {
    return Workbook{
        u"/okul/"_s + file, tools::sheets::Format::Xls, false, {grid(u"Sayfa1"_s, lines)}};
}

QStringList pupilLines(const std::vector<Pupil>& pupils) {
    QStringList out;
    for (const Pupil& p : pupils)
        out << p.number + u'|' + p.name + u'|' + p.klass + u'|' + sourceText(p.at);
    return out;
}

QStringList listedLines(const std::vector<Listed>& rows) {
    QStringList out;
    for (const Listed& l : rows)
        out << englishText(l);
    return out;
}

QStringList moveLines(const std::vector<Move>& moves) {
    QStringList out;
    for (const Move& m : moves)
        out << m.pupil.number + u'|' + m.reader.name + u'|' + m.pupil.name + u'|' + m.reader.klass +
                   u'|' + m.pupil.klass;
    return out;
}

template <typename F> QString failure(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.message();
    }
    return u"no failure"_s;
}

// Stops a write at its `at`-th step, as "İptal" does.
class CancelAt : public platform::Progress {
public:
    explicit CancelAt(qint64 at) : at_(at) {}
    void begin(qint64, const QString&) override {}
    void step(qint64) override {
        if (++steps_ == at_)
            throw platform::Cancelled();
    }

private:
    qint64 at_, steps_ = 0;
};

const QString school = u"ATATÜRK ANADOLU LİSESİ"_s;
const QString readerRowsSql = u"select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI, UNVANI, "
                              u"TELEFONU, CEPTELEFONU, ADRESI from okuyucu order by IDNO"_s;

} // namespace

class ListImportTest : public QObject {
    Q_OBJECT

private slots:
    void pupilsAreFoundInBlocksAndHeaders_data() {
        QTest::addColumn<std::vector<Workbook>>("books");
        QTest::addColumn<QStringList>("pupils");
        QTest::addColumn<QStringList>("problems");

        QTest::newRow("e-Okul, header as in one variant, count rows")
            << std::vector<Workbook>{book(
                   u"9.XLS"_s,
                   {u"ATATÜRK ANADOLU LİSESİ"_s, u"10. Sınıf / A Şubesi (ALAN) Sınıf Listesi"_s,
                    u""_s, u"S.No|Öğrenci No|Adı|Soyadı|Cinsiyeti|Pansiyon Durum|Dalı"_s,
                    u"#1|#9001|AYŞE|YILMAZ|Kız|Gündüzlü"_s, u"#2|#9002.0|MEHMET|ÖZTÜRK|Erkek"_s,
                    u""_s, u"|Kız|#1"_s, u"|Erkek|#1"_s, u"|Toplam|#2"_s,
                    u"10. Sınıf / I Şubesi Sınıf Listesi"_s,
                    u"S.No|Öğrenci No|Adı|Soyadı|Cinsiyeti"_s, u"#1|#1002|IŞIL|AKSOY|Kız"_s,
                    u"10. SINIF / İ ŞUBESİ SINIF LİSTESİ"_s,
                    u"S.NO|ÖĞRENCİ NO|ADI|SOYADI|CİNSİYETİ"_s, u"#1|#1010|İSMAİL|GÜNEŞ|Erkek"_s,
                    u"Kız : 0|Erkek : 1|Toplam : 1"_s})}
            << QStringList{u"9001|AYŞE YILMAZ|10/A|'9.XLS' row 5"_s,
                           u"9002|MEHMET ÖZTÜRK|10/A|'9.XLS' row 6"_s,
                           u"1002|IŞIL AKSOY|10/I|'9.XLS' row 13"_s,
                           u"1010|İSMAİL GÜNEŞ|10/İ|'9.XLS' row 16"_s}
            << QStringList{};
        QTest::newRow("e-Okul, the other header order, a merged header, a title further right")
            << std::vector<Workbook>{book(
                   u"10.XLS"_s,
                   {u"||9. Sınıf / Ç Şubesi Sınıf Listesi||Sınıf Öğretmeni: AHMET ER"_s, u""_s,
                    u""_s, u"S.No|Adı||Soyadı|Öğrenci No|Dalı|Cinsiyeti"_s,
                    u"#1||ELİF NUR|DEMİR|#1001||Kız"_s, u"#2|ŞEVVAL||ÖZ|#1011||Kız"_s, u""_s,
                    u"|Kız|#2"_s, u"|Erkek|#0"_s, u"|Toplam|#2"_s})}
            << QStringList{u"1001|ELİF NUR DEMİR|9/Ç|'10.XLS' row 5"_s,
                           u"1011|ŞEVVAL ÖZ|9/Ç|'10.XLS' row 6"_s}
            << QStringList{};
        QTest::newRow("numbers saved with decimals, leading zeros, blanks in names")
            << std::vector<Workbook>{book(
                   u"liste.csv"_s, {u"Öğrenci No.|Adı Soyadı"_s, u"9001.0|  AYŞE   YILMAZ "_s,
                                    u"09002|ALİ VELİ"_s, u"9003,0|CAN ER"_s})}
            << QStringList{u"9001|AYŞE YILMAZ||'liste.csv' row 2"_s,
                           u"9002|ALİ VELİ||'liste.csv' row 3"_s,
                           u"9003|CAN ER||'liste.csv' row 4"_s}
            << QStringList{};
        QTest::newRow("class and section columns")
            << std::vector<Workbook>{book(u"liste.csv"_s, {u"Numarası|Adı|Soyadı|Sınıf|Şube"_s,
                                                           u"#601|ÖMER FARUK|TUNÇ|#6|I"_s,
                                                           u"#602|İPEK|UÇAR|6|İ"_s})}
            << QStringList{u"601|ÖMER FARUK TUNÇ|6/I|'liste.csv' row 2"_s,
                           u"602|İPEK UÇAR|6/İ|'liste.csv' row 3"_s}
            << QStringList{};
        QTest::newRow("a school's ways of writing a class")
            << std::vector<Workbook>{book(
                   u"liste.csv"_s, {u"No|Adı Soyadı|Sınıfı"_s, u"1|A B|5/A"_s, u"2|C D|5-B"_s,
                                    u"3|E F|5 İ"_s, u"4|G H|10A"_s, u"5|I J|ANASINIFI"_s,
                                    u"6|K L"_s, u"7|M N|11. Sınıf / Ç Şubesi"_s})}
            << QStringList{u"1|A B|5/A|'liste.csv' row 2"_s,
                           u"2|C D|5/B|'liste.csv' row 3"_s,
                           u"3|E F|5/İ|'liste.csv' row 4"_s,
                           u"4|G H|10/A|'liste.csv' row 5"_s,
                           u"5|I J|ANASINIFI|'liste.csv' row 6"_s,
                           u"6|K L||'liste.csv' row 7"_s,
                           u"7|M N|11/Ç|'liste.csv' row 8"_s}
            << QStringList{};
        QTest::newRow("rows that are no pupils")
            << std::vector<Workbook>{book(u"liste.csv"_s,
                                          {u"Okul No|Adı Soyadı|Cinsiyeti"_s, u"|ZEYNEP KAYA|Kız"_s,
                                           u"A-12|ALİ KAYA"_s, u"#9001.5|CAN ER"_s, u"#9005"_s,
                                           u"|"_s, u"#9006|BERK SÖNMEZ|Erkek"_s})}
            << QStringList{u"9006|BERK SÖNMEZ||'liste.csv' row 7"_s}
            << QStringList{u"'liste.csv' row 2 ZEYNEP KAYA: no pupil number; not taken"_s,
                           u"'liste.csv' row 3 ALİ KAYA: 'A-12' is no pupil number; not taken"_s,
                           u"'liste.csv' row 4 CAN ER: '9001.5' is no pupil number; not taken"_s,
                           u"'liste.csv' row 5, 9005: a pupil number without a name; not taken"_s};
        QTest::newRow("one list in two files: the same pupil twice, a number given twice")
            << std::vector<Workbook>{book(u"9A.xls"_s,
                                          {u"9. Sınıf / A Şubesi Sınıf Listesi"_s,
                                           u"Öğrenci No|Adı|Soyadı"_s, u"#9001|AYŞE|YILMAZ"_s,
                                           u"#9002|MEHMET|ÖZTÜRK"_s}),
                                     book(u"hepsi.xls"_s,
                                          {u"9. Sınıf / A Şubesi Sınıf Listesi"_s,
                                           u"Öğrenci No|Adı|Soyadı"_s, u"#9001|Ayşe|Yılmaz"_s,
                                           u"#9002|MEHMET|ÖZ"_s, u"#9003|CAN|ER"_s})}
            << QStringList{u"9001|AYŞE YILMAZ|9/A|'9A.xls' row 3"_s,
                           u"9003|CAN ER|9/A|'hepsi.xls' row 5"_s}
            << QStringList{u"'hepsi.xls' row 3, 9001 Ayşe Yılmaz: listed before ('9A.xls' row 3); "
                           u"taken once"_s,
                           u"'9A.xls' row 4, 9002 MEHMET ÖZTÜRK: the same number with another "
                           u"name or class ('hepsi.xls' row 4); neither taken"_s,
                           u"'hepsi.xls' row 4, 9002 MEHMET ÖZ: the same number with another "
                           u"name or class ('9A.xls' row 4); neither taken"_s};
    }
    void pupilsAreFoundInBlocksAndHeaders() {
        QFETCH(std::vector<Workbook>, books);
        QFETCH(QStringList, pupils);
        QFETCH(QStringList, problems);
        const PupilList list = recognisePupils(books);
        QCOMPARE(pupilLines(list.pupils), pupils);
        QCOMPARE(listedLines(list.problems), problems);
    }

    void aListWithoutHeaderIsRefused() {
        const std::vector<Workbook> books{
            book(u"iyi.xls"_s, {u"Öğrenci No|Adı Soyadı"_s, u"#1|A B"_s}),
            book(u"not.xlsx"_s, {u"Tarih|Konu|Not"_s, u"21.05.2026|Toplantı|Veli"_s})};
        try {
            recognisePupils(books);
            QFAIL("no refusal");
        } catch (const tools::sheets::SheetError& e) {
            QCOMPARE(e.fault(), tools::sheets::Fault::NoHeader);
            QCOMPARE(e.path(), u"/okul/not.xlsx"_s);
            QCOMPARE(e.message(),
                     u"'/okul/not.xlsx' has no row of column names that the import knows (looked "
                     u"for a pupil number ('Öğrenci No', 'Numarası' or 'No') and a name ('Adı "
                     u"Soyadı', or 'Adı' and 'Soyadı')); nothing was written"_s);
        }
        // A header with no numbered pupil under it would make the whole school leave.
        QCOMPARE(failure([&] {
                     recognisePupils(
                         {books[0], book(u"bos.xls"_s, {u"9. Sınıf / A Şubesi Sınıf Listesi"_s,
                                                        u"Öğrenci No|Adı|Soyadı"_s,
                                                        u"|AYŞE|YILMAZ"_s, u"|Kız|#0"_s})});
                 }),
                 u"'/okul/bos.xls' holds no pupil with a number under its header rows; nothing "
                 u"was written"_s);
        QCOMPARE(failure([&] { findBookHeaders({books[0]}); }).left(60),
                 u"'/okul/iyi.xls' has no row of column names that the import k"_s);
    }

    void numbersDatesAndHeadersReadAsExcelMeansThem_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number 9001.0") << u"number"_s << u"#9001"_s << u"9001"_s;
        QTest::newRow("number 9001.5") << u"number"_s << u"#9001.5"_s << u""_s;
        QTest::newRow("number negative") << u"number"_s << u"#-3"_s << u""_s;
        QTest::newRow("number text zeros") << u"number"_s << u" 000 "_s << u"0"_s;
        QTest::newRow("number text 1.000") << u"number"_s << u"1.000"_s << u"1"_s;
        QTest::newRow("number text 1.001") << u"number"_s << u"1.001"_s << u""_s;
        QTest::newRow("header Öğrenci No.") << u"header"_s << u"Öğrenci No."_s << u"ogrencino"_s;
        QTest::newRow("header ÖĞRENCİ  NO") << u"header"_s << u"ÖĞRENCİ  NO"_s << u"ogrencino"_s;
        QTest::newRow("header Adı Soyadı") << u"header"_s << u"ADI SOYADI"_s << u"adisoyadi"_s;
        QTest::newRow("header S.No") << u"header"_s << u"S.No"_s << u"sno"_s;
        QTest::newRow("serial 61: 1 March 1900") << u"serial"_s << u"61"_s << u"01.03.1900"_s;
        QTest::newRow("serial 59: 28 February 1900") << u"serial"_s << u"59"_s << u"28.02.1900"_s;
        QTest::newRow("serial 60: Excel's 29 February 1900") << u"serial"_s << u"60"_s << u""_s;
        QTest::newRow("serial 1") << u"serial"_s << u"1"_s << u"01.01.1900"_s;
        QTest::newRow("serial 0") << u"serial"_s << u"0"_s << u""_s;
        QTest::newRow("serial 45500") << u"serial"_s << u"45500"_s << u"27.07.2024"_s;
        QTest::newRow("serial 2958465") << u"serial"_s << u"2958465"_s << u"31.12.9999"_s;
        QTest::newRow("serial 2958466") << u"serial"_s << u"2958466"_s << u""_s;
        QTest::newRow("1904 serial 0") << u"serial1904"_s << u"0"_s << u"01.01.1904"_s;
        QTest::newRow("1904 serial 43889") << u"serial1904"_s << u"43889"_s << u"29.02.2024"_s;
        QTest::newRow("title plain")
            << u"title"_s << u"9. Sınıf / A Şubesi Sınıf Listesi"_s << u"9/A"_s;
        QTest::newRow("title in capitals with field")
            << u"title"_s << u"12. SINIF / ŞB ŞUBESİ (ALAN) SINIF LİSTESİ"_s << u"12/ŞB"_s;
        QTest::newRow("title of a preparatory class")
            << u"title"_s << u"Hazırlık Sınıfı / A Şubesi Sınıf Listesi"_s << u"Hazırlık/A"_s;
        QTest::newRow("no title") << u"title"_s << u"Sınıf Listesi"_s << u""_s;
    }
    void numbersDatesAndHeadersReadAsExcelMeansThem() {
        QFETCH(QString, what);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QString got;
        if (what == u"number") {
            got = wholeNumber(*cell(input));
        } else if (what == u"header") {
            got = tools::sheets::headerKey(input);
        } else if (what.startsWith(u"serial")) {
            const auto days = tools::sheets::serialToDays(input.toDouble(), what == u"serial1904");
            got = days ? platform::dayText(platform::DateTime(*days).date()) : QString();
        } else {
            got = classOfTitle(input);
        }
        QCOMPARE(got, expected);
    }

    // The next school year against a register that also holds another school, a teacher, one
    // who left earlier, a number typed twice: every outcome, the books still out, and the rows
    // as written.
    void aNextSchoolYearMovesClassesAndListsConflictsAndLeavers() {
        testsupport::TempDatabase db;
        const auto reader = [&](const QString& name, const QString& klass, const QString& okul,
                                const QString& number, const QVariant& title) {
            return db.insert(u"okuyucu"_s,
                             {u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s, u"NUMARASI"_s,
                              u"UNVANI"_s, u"TELEFONU"_s},
                             {name, klass, okul, number, title, u"0312 111"_s});
        };
        const qint64 ayse = reader(u"AYŞE YILMAZ"_s, u"9/A"_s, school, u"9001"_s, u"Öğrenci"_s);
        const qint64 zeynep = reader(u"ZEYNEP ÇELİK"_s, u"9/A"_s, school, u"9003"_s, u"Öğrenci"_s);
        const qint64 irem = reader(u"İREM ŞAHİN"_s, u"9/Ç"_s, school, u"9011"_s, QVariant());
        reader(u"IŞIL AKSOY"_s, u"10/I"_s, school, u"01002"_s, u"Öğrenci"_s);
        const qint64 sevval =
            reader(u"ŞEVVAL ÖZ"_s, u"10/İ"_s, u"Atatürk  Anadolu Lisesi"_s, u"1011"_s, QVariant());
        reader(u"MEHMET HOCA"_s, u"ÖĞRETMEN"_s, school, QString(), u"Öğretmen"_s);
        reader(u"ESKİ MEZUN"_s, u"Ayrıldı"_s, school, u"8000"_s, u"Öğrenci"_s);
        reader(u"ÇİFT BİR"_s, u"9/B"_s, school, u"7000"_s, u"Öğrenci"_s);
        reader(u"ÇİFT İKİ"_s, u"9/B"_s, school, u"7000"_s, u"Öğrenci"_s);
        reader(u"BAŞKA OKUL"_s, u"5/A"_s, u"GAZİ LİSESİ"_s, u"9001"_s, u"Öğrenci"_s);
        const auto loan = [&](const QString& name, const QString& book, const QString& status) {
            db.insert(
                u"hareket"_s,
                {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s, u"GERIGETIRMETARIHI"_s,
                 u"DURUM"_s},
                {name, book, u"2026-03-01 16:15:25.890"_s, u"2026-03-21 16:15:25.890"_s, status});
        };
        loan(u"ZEYNEP ÇELİK"_s, u"BEYAZ DİŞ"_s, u"Verildi"_s);
        loan(u"ZEYNEP ÇELİK"_s, u"SEFİLLER"_s, u"geri alındı"_s);
        loan(u"İREM ŞAHİN"_s, u"ÇALIKUŞU"_s, u"Verildi"_s);
        const std::vector<QStringList> before = db.rows(readerRowsSql);

        const PupilList list = recognisePupils({book(
            u"2027.xls"_s, {u"10. Sınıf / A Şubesi Sınıf Listesi"_s, u"Öğrenci No|Adı|Soyadı"_s,
                            u"#9001|AYŞE|YILMAZ"_s, u"#9101|YUSUF|ARSLAN"_s,
                            u"10. Sınıf / Ç Şubesi Sınıf Listesi"_s, u"Öğrenci No|Adı|Soyadı"_s,
                            u"#9011|İREM|ŞAHİNOĞLU"_s, u"#7000|ÇİFT|BİR"_s,
                            u"10. Sınıf / I Şubesi Sınıf Listesi"_s, u"Öğrenci No|Adı|Soyadı"_s,
                            u"#1002|Işıl|Aksoy"_s, u"#1003|UZUN|"_s + QString(100, u'A')})});
        ReaderPlan plan;
        {
            data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
            plan = planReaders(list, u" atatürk anadolu lisesi "_s,
                               readRegister(conn, u" atatürk anadolu lisesi "_s));
            readBooksOut(conn, plan);
        }
        QCOMPARE(pupilLines(plan.added), QStringList{u"9101|YUSUF ARSLAN|10/A|'2027.xls' row 4"_s});
        QCOMPARE(moveLines(plan.moved), QStringList{u"9001|AYŞE YILMAZ|AYŞE YILMAZ|9/A|10/A"_s});
        QCOMPARE(moveLines(plan.unchanged), QStringList{u"1002|IŞIL AKSOY|Işıl Aksoy|10/I|10/I"_s});
        QCOMPARE(moveLines(plan.conflicts),
                 QStringList{u"9011|İREM ŞAHİN|İREM ŞAHİNOĞLU|9/Ç|10/Ç"_s});
        QCOMPARE(plan.conflicts[0].booksOut.size(), size_t(1));
        QCOMPARE(plan.conflicts[0].booksOut[0].title, u"ÇALIKUŞU"_s);
        QCOMPARE(plan.leaving.size(), size_t(2));
        QCOMPARE(plan.leaving[0].reader.name, u"ZEYNEP ÇELİK"_s);
        QCOMPARE(plan.leaving[0].booksOut,
                 (std::vector<BookOut>{{u"BEYAZ DİŞ"_s, QDate(2026, 3, 1), QDate(2026, 3, 21)}}));
        QCOMPARE(plan.leaving[1].reader.name, u"ŞEVVAL ÖZ"_s);
        QVERIFY(plan.leaving[1].booksOut.empty());
        QCOMPARE(listedLines(plan.skipped),
                 QStringList{u"'2027.xls' row 8, 7000 ÇİFT BİR: 2 readers of this school have this "
                             u"number in the register; none changed"_s});
        QCOMPARE(listedLines(plan.problems),
                 QStringList{u"'2027.xls' row 12, 1003 UZUN "_s + QString(34, u'A') +
                             u"…: ADISOYADI: 'UZUN "_s + QString(100, u'A') +
                             u"' is longer than 100 characters; not taken"_s});

        // Nothing is written before the write; the write takes the chosen ones only.
        QCOMPARE(db.rows(readerRowsSql), before);
        const ReaderWrite w = writeReaders(db.filePath(), list, plan, {{irem}, {zeynep}},
                                           data::sqlite::busyTimeoutMs, platform::noProgress());
        QCOMPARE(w.added, 1);
        QCOMPARE(w.moved, 1);
        QCOMPARE(w.renamed, 1);
        QCOMPARE(w.markedLeft, 1);
        std::vector<QStringList> after = before;
        after[static_cast<size_t>(ayse - 1)][2] = u"10/A"_s;
        after[static_cast<size_t>(zeynep - 1)][2] = u"Ayrıldı"_s;
        after[static_cast<size_t>(irem - 1)][1] = u"İREM ŞAHİNOĞLU"_s;
        after[static_cast<size_t>(irem - 1)][2] = u"10/Ç"_s;
        after.push_back({u"11"_s, u"YUSUF ARSLAN"_s, u"10/A"_s, u"atatürk anadolu lisesi"_s,
                         u"9101"_s, u"Öğrenci"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s});
        QCOMPARE(db.rows(readerRowsSql), after);
        QCOMPARE(
            db.rows(u"select ADISOYADI, OGRENIMDURUMU from okuyucu where IDNO = %1"_s.arg(sevval)),
            (std::vector<QStringList>{{u"ŞEVVAL ÖZ"_s, u"10/İ"_s}}));
        QCOMPARE(db.count(u"hareket"_s), 3);
    }

    // Between the preview and the write another computer saves, the librarian presses "İptal",
    // or the file is locked: each writes nothing.
    void aWriteIsWholeOrNothing_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("register changed after the preview")
            << u"changed"_s
            << u"The readers of 'ATATÜRK ANADOLU LİSESİ' in '%1' changed after the preview "
               u"(another computer saved meanwhile); nothing was written. Preview again."_s;
        QTest::newRow("cancelled at the second row") << u"cancel"_s << u"Operation aborted"_s;
        QTest::newRow("file locked by another copy")
            << u"locked"_s
            << u"The file '%1' is in use: another copy of the program or another program is "
               u"writing to it"_s;
    }
    void aWriteIsWholeOrNothing() {
        QFETCH(QString, what);
        QFETCH(QString, message);
        testsupport::TempDatabase db;
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s, u"NUMARASI"_s},
                  {u"AYŞE YILMAZ"_s, u"9/A"_s, school, u"9001"_s});
        const PupilList list = recognisePupils(
            {book(u"l.xls"_s, {u"10. Sınıf / A Şubesi Sınıf Listesi"_s, u"Öğrenci No|Adı Soyadı"_s,
                               u"#9001|AYŞE YILMAZ"_s, u"#9002|ALİ KAYA"_s, u"#9003|CAN ER"_s})});
        ReaderPlan plan;
        {
            data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
            plan = planReaders(list, school, readRegister(conn, school));
        }
        QCOMPARE(plan.added.size(), size_t(2));
        const std::vector<QStringList> before = db.rows(readerRowsSql);
        std::unique_ptr<data::sqlite::Database> other;
        if (what == u"changed")
            db.exec(u"update okuyucu set OGRENIMDURUMU = '10/A' where NUMARASI = '9001'"_s);
        if (what == u"locked") {
            other = std::make_unique<data::sqlite::Database>(
                db.filePath(), data::sqlite::Database::Mode::ReadWrite);
            other->execute(u"BEGIN IMMEDIATE"_s);
        }
        const std::vector<QStringList> expected = db.rows(readerRowsSql);
        CancelAt progress(what == u"cancel" ? 2 : -1);
        const QString got =
            failure([&] { writeReaders(db.filePath(), list, plan, {}, 100, progress); });
        const QString want = message.contains(u"%1"_s) ? message.arg(db.filePath()) : message;
        if (what == u"locked") // SQLite's own words follow
            QVERIFY2(got.startsWith(want), qPrintable(got));
        else
            QCOMPARE(got, want);
        other.reset();
        QCOMPARE(db.rows(readerRowsSql), expected);
        QCOMPARE(expected.size(), before.size());
    }

    void bookValuesAreReadAsTheSchoolWroteThem_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("date1904");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& header, const QString& value,
                            const QString& expected, bool date1904 = false) {
            QTest::newRow(name) << header << value << date1904 << expected;
        };
        row("price as a number", u"Fiyatı"_s, u"#25.9"_s, u"DEGERI 25, rounded"_s);
        row("price with a comma", u"Fiyatı"_s, u"25,90"_s, u"DEGERI 25, rounded"_s);
        row("price with a point and TL", u"Değeri"_s, u"25.90 TL"_s, u"DEGERI 25, rounded"_s);
        row("price with a lira sign", u"Değeri"_s, u"₺40"_s, u"DEGERI 40"_s);
        row("price with thousands", u"Fiyatı"_s, u"1.250,75"_s, u"DEGERI 1250, rounded"_s);
        row("price 1.250 is thousands", u"Fiyatı"_s, u"1.250"_s, u"DEGERI 1250"_s);
        row("price in words", u"Fiyatı"_s, u"bedava"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: DEGERI: 'bedava' is no price; not taken"_s);
        row("price negative", u"Fiyatı"_s, u"#-5"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: DEGERI: '-5' is no price; not taken"_s);
        row("price beyond the column", u"Fiyatı"_s, u"#3000000000"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: DEGERI: '3000000000' is more than the "
            u"register keeps; not taken"_s);
        row("date cell", u"Geliş Tarihi"_s, u"@2024-09-15"_s,
            u"EDINMETARIHI 2024-09-15 00:00:00.000"_s);
        row("date as Excel serial", u"Edinme Tarihi"_s, u"#45500.5"_s,
            u"EDINMETARIHI 2024-07-27 12:00:00.000"_s);
        row("date as 1904 serial", u"Edinme Tarihi"_s, u"#43889"_s,
            u"EDINMETARIHI 2024-02-29 00:00:00.000"_s, true);
        row("date as text", u"Geliş Tarihi"_s, u"15.09.2024"_s,
            u"EDINMETARIHI 2024-09-15 00:00:00.000"_s);
        row("date as short text with time", u"Baskı Tarihi"_s, u"2.9.2025 13:30"_s,
            u"BASKITARIHI 2025-09-02 13:30:00.000"_s);
        row("date as ISO text", u"Baskı Tarihi"_s, u"2025-09-02"_s,
            u"BASKITARIHI 2025-09-02 00:00:00.000"_s);
        row("no such day", u"Geliş Tarihi"_s, u"31.02.2024"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: EDINMETARIHI: '31.02.2024' is no date; not "
            u"taken"_s);
        row("a year is no date", u"Geliş Tarihi"_s, u"#2019"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: EDINMETARIHI: '2019' is no date; not "
            u"taken"_s);
        row("year as a number in a text column", u"Basım Yılı"_s, u"#2019"_s, u"BASIMYILI 2019"_s);
        row("barcode as a number", u"Barkodu"_s, u"#9789754588248"_s, u"BARKODU 9789754588248"_s);
        row("text too long", u"Baskı No"_s, u"12345678901"_s,
            u"problem: 'k.xlsx' row 2, serial 1 NUTUK: BASKINO: '12345678901' is longer than 10 "
            u"characters; not taken"_s);
        row("text at its length", u"Baskı No"_s, u"1234567890"_s, u"BASKINO 1234567890"_s);
    }
    void bookValuesAreReadAsTheSchoolWroteThem() {
        QFETCH(QString, header);
        QFETCH(QString, value);
        QFETCH(bool, date1904);
        QFETCH(QString, expected);
        Workbook b{
            u"/okul/k.xlsx"_s,
            tools::sheets::Format::Xlsx,
            date1904,
            {grid(u"Sayfa1"_s, {u"Demirbaş No|Kitabın Adı|"_s + header, u"#1|NUTUK|"_s + value})}};
        const BookLayout layout = findBookHeaders({b});
        const BookPlan plan = planBooks({b}, layout, automaticColumns(layout), {});
        QString got;
        if (!plan.problems.empty()) {
            got = u"problem: "_s + englishText(plan.problems[0]);
        } else {
            QCOMPARE(plan.added.size(), size_t(1));
            const std::vector<int> columns = bookColumns();
            const data::TableDef& t = data::kitapkayitTable();
            for (size_t i = 0; i < columns.size(); ++i) {
                const QString name =
                    QString::fromUtf16(t.columns[static_cast<size_t>(columns[i])].name);
                const data::Value& v = plan.added[0].values[i];
                if (name == u"SERINO" || name == u"KITABINADI" || v.isNull())
                    continue;
                got = name + u' ' +
                      (v.isDateTime()  ? v.toDateTime().toIso()
                       : v.isInteger() ? QString::number(v.toInteger())
                                       : v.toText());
            }
            if (plan.rounded)
                got += u", rounded"_s;
        }
        QCOMPARE(got, expected);
    }

    // Duplicates by serial number, else by barcode, against the register and within the lists;
    // the librarian's own matching (a column left out, another header taken); the rows written.
    void booksAreMatchedDeduplicatedAndWritten() {
        testsupport::TempDatabase db;
        db.insert(u"kitapkayit"_s, {u"SERINO"_s, u"KITABINADI"_s, u"BARKODU"_s},
                  {u"00100"_s, u"ÇALIKUŞU"_s, u"8690000000009"_s});
        Workbook b{u"/okul/kitaplar.xlsx"_s,
                   tools::sheets::Format::Xlsx,
                   false,
                   {grid(u"Demirbaş"_s,
                         {u"KÜTÜPHANE DEMİRBAŞ DEFTERİ"_s, u""_s,
                          u"Sıra|Kayıt No|Eserin Adı|Yazarı|Barkod|Değeri|Notlar|Raf"_s,
                          u"#1|#1|SEFİLLER|VICTOR HUGO|#9789754588248|#25.9|yıpranmış|A-1"_s,
                          u"#2|#100|ÇALIKUŞU|REŞAT NURİ"_s, u"#3|#1|SEFİLLER"_s,
                          u"#4||İNCE MEMED||8690000000001"_s, u"#5||İNCE MEMED||8690000000001"_s,
                          u"#6||BAŞKA|| 869 0000000009"_s, u"#7|||||||C-3"_s, u"#8"_s,
                          u"#9|#9|KUYUCAKLI YUSUF|SABAHATTİN ALİ||#12||B-2"_s}),
                    grid(u"Bağış"_s, {u"Demirbaş No|Adı"_s, u"#1|SEFİLLER"_s, u"X-1|NUTUK"_s})}};
        const BookLayout layout = findBookHeaders({b});
        QCOMPARE(layout.headers,
                 (QStringList{u"Sıra"_s, u"Kayıt No"_s, u"Eserin Adı"_s, u"Yazarı"_s, u"Barkod"_s,
                              u"Değeri"_s, u"Notlar"_s, u"Raf"_s, u"Demirbaş No"_s, u"Adı"_s}));
        BookColumns columns = automaticColumns(layout);
        QStringList matched;
        for (const auto& [column, key] : columns)
            matched << QString::fromUtf16(data::kitapkayitTable().columns[size_t(column)].name) +
                           u'=' + key;
        QCOMPARE(matched,
                 (QStringList{u"SERINO=kayitno"_s, u"KITABINADI=eserinadi"_s, u"YAZARI=yazari"_s,
                              u"BARKODU=barkod"_s, u"DEGERI=degeri"_s, u"ACIKLAMA=notlar"_s}));
        // The librarian takes "Raf" as the description instead, and the second sheet's own
        // headers for the serial number and the title are not matched: its books have none.
        const int aciklama = 14;
        columns[aciklama] = u"raf"_s;
        BookPlan plan;
        {
            data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
            plan = planBooks({b}, layout, columns, readBookRegister(conn));
        }
        QCOMPARE(listedLines(plan.skipped),
                 (QStringList{u"'kitaplar.xlsx' sheet 'Demirbaş' row 5, serial 100 ÇALIKUŞU: its "
                              u"serial number is already in the register; skipped"_s,
                              u"'kitaplar.xlsx' sheet 'Demirbaş' row 6, serial 1 SEFİLLER: its "
                              u"serial number came earlier in the lists ('kitaplar.xlsx' sheet "
                              u"'Demirbaş' row 4); skipped"_s,
                              u"'kitaplar.xlsx' sheet 'Demirbaş' row 8 İNCE MEMED: its barcode "
                              u"8690000000001 came earlier in the lists ('kitaplar.xlsx' sheet "
                              u"'Demirbaş' row 7); skipped"_s,
                              u"'kitaplar.xlsx' sheet 'Demirbaş' row 9 BAŞKA: its barcode 869 "
                              u"0000000009 is already in the register; skipped"_s}));
        QCOMPARE(listedLines(plan.problems),
                 QStringList{u"'kitaplar.xlsx' sheet 'Demirbaş' row 10: no book title; not "
                             u"taken"_s});
        QCOMPARE(plan.added.size(), size_t(3));
        QCOMPARE(plan.rounded, 1);
        QCOMPARE(writeBooks(db.filePath(), {b}, layout, columns, plan, data::sqlite::busyTimeoutMs,
                            platform::noProgress()),
                 3);
        QCOMPARE(
            db.rows(u"select SERINO, KITABINADI, YAZARI, BARKODU, DEGERI, ACIKLAMA, "
                    u"EDINMETARIHI from kitapkayit order by IDNO"_s),
            (std::vector<QStringList>{{u"00100"_s, u"ÇALIKUŞU"_s, u"<null>"_s, u"8690000000009"_s,
                                       u"<null>"_s, u"<null>"_s, u"<null>"_s},
                                      {u"1"_s, u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"9789754588248"_s,
                                       u"25"_s, u"A-1"_s, u"<null>"_s},
                                      {u"<null>"_s, u"İNCE MEMED"_s, u"<null>"_s,
                                       u"8690000000001"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s},
                                      {u"9"_s, u"KUYUCAKLI YUSUF"_s, u"SABAHATTİN ALİ"_s,
                                       u"<null>"_s, u"12"_s, u"B-2"_s, u"<null>"_s}}));
        // Once written, the same list adds nothing more.
        {
            data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
            QVERIFY(planBooks({b}, layout, columns, readBookRegister(conn)).added.empty());
        }
        QCOMPARE(failure([&] {
                     writeBooks(db.filePath(), {b}, layout, columns, plan, 100,
                                platform::noProgress());
                 }),
                 u"The books in '%1' changed after the preview (another computer saved "
                 u"meanwhile); nothing was written. Preview again."_s.arg(db.filePath()));
        QCOMPARE(db.count(u"kitapkayit"_s), 4);
    }
};

QTEST_MAIN(ListImportTest)
#include "tst_listimport.moc"
