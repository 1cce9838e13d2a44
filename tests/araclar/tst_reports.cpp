// The companion's reports: which loans are out and late (with "today" given, never the
// clock), the reader found by the loan's name, the Turkish-aware filter, the histories and
// statistics, the CSV bytes Excel reads, the PDF, and the import tool's lines in Turkish.

#include "araclar/csv.h"
#include "araclar/history.h"
#include "araclar/importoutput.h"
#include "araclar/loans.h"
#include "araclar/printout.h"
#include "araclar/statistics.h"
#include "data/sqlite.h"
#include "platform/errors.h"
#include "support/tempdatabase.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using araclar::OutLoan;
using araclar::ReportTable;

namespace {

const QDate today(2026, 5, 21);

QVariant iso(const QString& day) {
    return day + u" 16:15:25.890"_s;
}

qint64 addLoan(testsupport::TempDatabase& db, const QVariant& reader, const QVariant& book,
               const QVariant& handedOver, const QVariant& due, const QVariant& status) {
    return db.insert(
        u"hareket"_s,
        {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s, u"GERIGETIRMETARIHI"_s, u"DURUM"_s},
        {reader, book, handedOver, due, status});
}

void addReader(testsupport::TempDatabase& db, const QString& name, const QString& school,
               const QString& level = u"LİSE"_s, const QString& phone = u"555"_s) {
    db.insert(u"okuyucu"_s, {u"ADISOYADI"_s, u"OKULU"_s, u"OGRENIMDURUMU"_s, u"TELEFONU"_s},
              {name, school, level, phone});
}

std::vector<OutLoan> outLoans(testsupport::TempDatabase& db, QDate day = today) {
    const data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
    return araclar::readOutLoans(conn, day);
}

QStringList texts(const ReportTable& t, int row) {
    QStringList out;
    for (const QVariant& c : t.rows[row])
        out << araclar::cellText(c);
    return out;
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT

private slots:
    void outAndOverdueRules_data() {
        QTest::addColumn<QVariant>("status");
        QTest::addColumn<QVariant>("due");
        QTest::addColumn<bool>("out");
        QTest::addColumn<int>("daysLate");
        const QVariant none;
        QTest::newRow("returned as the list writes it")
            << QVariant(u"Geri Alindi"_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("returned in Turkish capitals")
            << QVariant(u"GERİ ALINDI"_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("returned with dotless i")
            << QVariant(u"geri alındı"_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("returned in plain capitals")
            << QVariant(u"GERI ALINDI"_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("returned with blanks")
            << QVariant(u"  Geri   Alindi "_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("returned without the blank")
            << QVariant(u"GeriAlindi"_s) << iso(u"2026-05-01"_s) << false << 0;
        QTest::newRow("given, due yesterday")
            << QVariant(u"Verildi"_s) << iso(u"2026-05-20"_s) << true << 1;
        QTest::newRow("given, due today")
            << QVariant(u"Verildi"_s) << iso(u"2026-05-21"_s) << true << 0;
        QTest::newRow("given, due tomorrow")
            << QVariant(u"Verildi"_s) << iso(u"2026-05-22"_s) << true << 0;
        QTest::newRow("misspelt given, a year late")
            << QVariant(u"Veridi"_s) << iso(u"2025-05-21"_s) << true << 365;
        QTest::newRow("empty status is out")
            << QVariant(u""_s) << iso(u"2026-05-11"_s) << true << 10;
        QTest::newRow("no status is out") << none << iso(u"2026-05-11"_s) << true << 10;
        QTest::newRow("anything else is out")
            << QVariant(u"Geri Alinmadi"_s) << iso(u"2026-04-21"_s) << true << 30;
        QTest::newRow("no due date: out, never late")
            << QVariant(u"Verildi"_s) << none << true << 0;
        QTest::newRow("empty due date") << QVariant(u"Verildi"_s) << QVariant(u""_s) << true << 0;
        QTest::newRow("unreadable due date")
            << QVariant(u"Verildi"_s) << QVariant(u"yarın"_s) << true << 0;
        QTest::newRow("due date without time")
            << QVariant(u"Verildi"_s) << QVariant(u"2026-05-19"_s) << true << 2;
    }
    void outAndOverdueRules() {
        QFETCH(QVariant, status);
        QFETCH(QVariant, due);
        QFETCH(bool, out);
        QFETCH(int, daysLate);
        testsupport::TempDatabase db;
        addLoan(db, u"ALİ"_s, u"KİTAP"_s, iso(u"2026-04-01"_s), due, status);
        const std::vector<OutLoan> loans = outLoans(db);
        QCOMPARE(loans.size(), out ? 1u : 0u);
        if (!out)
            return;
        QCOMPARE(loans[0].daysLate, daysLate);
        QCOMPARE(araclar::overdueOrder(loans).size(), daysLate > 0 ? 1u : 0u);
        QCOMPARE(araclar::outOrder(loans).size(), 1u);
    }

    void readerFoundByTheExactName_data() {
        QTest::addColumn<QStringList>("readers"); // name|school pairs
        QTest::addColumn<QStringList>("row");
        const QStringList tail{u"KÜÇÜK PRENS"_s, u"01.04.2026"_s, u"11.05.2026"_s, u"10"_s};
        QTest::newRow("one reader")
            << QStringList{u"AYŞE ŞAHİN|İNÖNÜ ORTAOKULU"_s}
            << QStringList{u"AYŞE ŞAHİN"_s, u"İNÖNÜ ORTAOKULU"_s, u"LİSE"_s, u"555"_s} + tail;
        QTest::newRow("no reader")
            << QStringList{u"BAŞKA BİRİ|X"_s}
            << QStringList{u"AYŞE ŞAHİN"_s, u"okuyucu kaydı yok"_s, u""_s, u""_s} + tail;
        QTest::newRow("name differs in case only")
            << QStringList{u"Ayşe Şahin|X"_s}
            << QStringList{u"AYŞE ŞAHİN"_s, u"okuyucu kaydı yok"_s, u""_s, u""_s} + tail;
        QTest::newRow("two readers of that name")
            << QStringList{u"AYŞE ŞAHİN|A"_s, u"AYŞE ŞAHİN|B"_s}
            << QStringList{u"AYŞE ŞAHİN"_s, u"aynı adda 2 okuyucu"_s, u""_s, u""_s} + tail;
        QTest::newRow("three readers of that name")
            << QStringList{u"AYŞE ŞAHİN|A"_s, u"AYŞE ŞAHİN|A"_s, u"AYŞE ŞAHİN|C"_s}
            << QStringList{u"AYŞE ŞAHİN"_s, u"aynı adda 3 okuyucu"_s, u""_s, u""_s} + tail;
    }
    void readerFoundByTheExactName() {
        QFETCH(QStringList, readers);
        QFETCH(QStringList, row);
        testsupport::TempDatabase db;
        for (const QString& r : readers)
            addReader(db, r.section(u'|', 0, 0), r.section(u'|', 1));
        addLoan(db, u"AYŞE ŞAHİN"_s, u"KÜÇÜK PRENS"_s, iso(u"2026-04-01"_s), iso(u"2026-05-11"_s),
                u"Verildi"_s);
        const std::vector<OutLoan> loans = outLoans(db);
        const ReportTable t =
            araclar::loanTable(u"Geciken Kitaplar"_s, loans, araclar::overdueOrder(loans));
        QCOMPARE(t.rows.size(), 1);
        QCOMPARE(texts(t, 0), row);
    }

    void listsInTheirOrderAndNarrowed_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("school");
        QTest::addColumn<QStringList>("overdue"); // readers, in order
        QTest::addColumn<QStringList>("out");
        QTest::newRow("everything")
            << u""_s << u""_s << QStringList{u"ÇAĞRI ŞAHİN"_s, u"MERVE IŞIK"_s, u"ALİ VELİ"_s}
            << QStringList{u"ÇAĞRI ŞAHİN"_s, u"MERVE IŞIK"_s, u"ALİ VELİ"_s, u"OSMAN ÖZ"_s,
                           u"YOK KİŞİ"_s};
        QTest::newRow("reader without Turkish letters")
            << u"sahin"_s << u""_s << QStringList{u"ÇAĞRI ŞAHİN"_s}
            << QStringList{u"ÇAĞRI ŞAHİN"_s};
        QTest::newRow("dotless i typed as i")
            << u"isik"_s << u""_s << QStringList{u"MERVE IŞIK"_s} << QStringList{u"MERVE IŞIK"_s};
        QTest::newRow("book in small letters")
            << u"küçük prens"_s << u""_s << QStringList{u"ALİ VELİ"_s}
            << QStringList{u"ALİ VELİ"_s, u"YOK KİŞİ"_s};
        QTest::newRow("school") << u"inonu"_s << u""_s
                                << QStringList{u"ÇAĞRI ŞAHİN"_s, u"ALİ VELİ"_s}
                                << QStringList{u"ÇAĞRI ŞAHİN"_s, u"ALİ VELİ"_s};
        QTest::newRow("chosen school") << u""_s << u"GAZİ LİSESİ"_s << QStringList{u"MERVE IŞIK"_s}
                                       << QStringList{u"MERVE IŞIK"_s, u"OSMAN ÖZ"_s};
        QTest::newRow("chosen school and text")
            << u"öz"_s << u"GAZİ LİSESİ"_s << QStringList{} << QStringList{u"OSMAN ÖZ"_s};
        QTest::newRow("wildcards keep their meaning")
            << u"ş_hin"_s << u""_s << QStringList{u"ÇAĞRI ŞAHİN"_s}
            << QStringList{u"ÇAĞRI ŞAHİN"_s};
        QTest::newRow("nothing") << u"zzz"_s << u""_s << QStringList{} << QStringList{};
    }
    void listsInTheirOrderAndNarrowed() {
        QFETCH(QString, typed);
        QFETCH(QString, school);
        QFETCH(QStringList, overdue);
        QFETCH(QStringList, out);
        testsupport::TempDatabase db;
        addReader(db, u"ÇAĞRI ŞAHİN"_s, u"İNÖNÜ ORTAOKULU"_s);
        addReader(db, u"MERVE IŞIK"_s, u"GAZİ LİSESİ"_s);
        addReader(db, u"ALİ VELİ"_s, u"İNÖNÜ ORTAOKULU"_s);
        addReader(db, u"OSMAN ÖZ"_s, u"GAZİ LİSESİ"_s);
        addLoan(db, u"ALİ VELİ"_s, u"KÜÇÜK PRENS"_s, iso(u"2026-05-01"_s), iso(u"2026-05-20"_s),
                u"Verildi"_s);
        addLoan(db, u"OSMAN ÖZ"_s, u"SEFİLLER"_s, iso(u"2026-05-10"_s), iso(u"2026-05-30"_s),
                u"Verildi"_s);
        addLoan(db, u"ÇAĞRI ŞAHİN"_s, u"BEYAZ DİŞ"_s, iso(u"2026-03-01"_s), iso(u"2026-03-21"_s),
                u"Veridi"_s);
        addLoan(db, u"YOK KİŞİ"_s, u"KÜÇÜK PRENS"_s, iso(u"2026-05-10"_s), QVariant(),
                u"Verildi"_s);
        addLoan(db, u"MERVE IŞIK"_s, u"İNCE MEMED"_s, iso(u"2026-04-01"_s), iso(u"2026-04-21"_s),
                u""_s);
        addLoan(db, u"OSMAN ÖZ"_s, u"KÜÇÜK PRENS"_s, iso(u"2026-01-01"_s), iso(u"2026-01-21"_s),
                u"geri alındı"_s);
        const std::vector<OutLoan> loans = outLoans(db);
        const araclar::TextFilter pattern(typed);
        const auto readers = [&](const std::vector<int>& order) {
            QStringList names;
            for (const int i : order)
                if (araclar::loanMatches(loans[static_cast<size_t>(i)], pattern, school))
                    names << loans[static_cast<size_t>(i)].reader;
            return names;
        };
        QCOMPARE(readers(araclar::overdueOrder(loans)), overdue);
        QCOMPARE(readers(araclar::outOrder(loans)), out);
    }

    void historiesNewestFirst() {
        testsupport::TempDatabase db;
        addReader(db, u"ELİF ŞAHİN"_s, u"A"_s);
        addReader(db, u"ELİF ŞAHİN"_s, u"B"_s);
        addLoan(db, u"ELİF ŞAHİN"_s, u"SEFİLLER"_s, iso(u"2026-01-05"_s), iso(u"2026-01-20"_s),
                u"Geri Alindi"_s);
        addLoan(db, u"ELİF ŞAHİN"_s, u"BEYAZ DİŞ"_s, iso(u"2026-05-01"_s), iso(u"2026-05-16"_s),
                u"Verildi"_s);
        addLoan(db, u"ELİF ŞAHİN"_s, u"KÜÇÜK PRENS"_s, QVariant(), QVariant(), u"Verildi"_s);
        addLoan(db, u"ELİF ŞAHİN"_s, u"İNCE MEMED"_s, iso(u"2026-05-15"_s), iso(u"2026-05-30"_s),
                u"Veridi"_s);
        addLoan(db, u"BAŞKASI"_s, u"SEFİLLER"_s, iso(u"2026-02-01"_s), iso(u"2026-02-15"_s),
                u"GERİ ALINDI"_s);
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"SEFİLLER"_s});
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"SEFİLLER"_s});
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"ÇALIKUŞU"_s});
        const data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);

        QCOMPARE(araclar::historyNames(conn, araclar::HistoryOf::Reader),
                 QStringList{u"ELİF ŞAHİN"_s});
        QCOMPARE(araclar::historyNames(conn, araclar::HistoryOf::Book),
                 (QStringList{u"ÇALIKUŞU"_s, u"SEFİLLER"_s}));
        const ReportTable reader =
            araclar::history(conn, araclar::HistoryOf::Reader, u"ELİF ŞAHİN"_s, today);
        QCOMPARE(reader.title, u"Okuyucu Geçmişi: ELİF ŞAHİN"_s);
        QCOMPARE(reader.rows.size(), 4);
        QCOMPARE(texts(reader, 0), (QStringList{u"İNCE MEMED"_s, u"15.05.2026"_s, u"30.05.2026"_s,
                                                u"Dışarıda"_s, u"Veridi"_s, u""_s}));
        QCOMPARE(texts(reader, 1), (QStringList{u"BEYAZ DİŞ"_s, u"01.05.2026"_s, u"16.05.2026"_s,
                                                u"Gecikmiş (5 gün)"_s, u"Verildi"_s, u""_s}));
        QCOMPARE(texts(reader, 2), (QStringList{u"SEFİLLER"_s, u"05.01.2026"_s, u"20.01.2026"_s,
                                                u"Geri alındı"_s, u"Geri Alindi"_s, u""_s}));
        QCOMPARE(texts(reader, 3),
                 (QStringList{u"KÜÇÜK PRENS"_s, u""_s, u""_s, u"Dışarıda"_s, u"Verildi"_s, u""_s}));
        const ReportTable book =
            araclar::history(conn, araclar::HistoryOf::Book, u"SEFİLLER"_s, today);
        QCOMPARE(book.rows.size(), 2);
        QCOMPARE(texts(book, 0)[0], u"BAŞKASI"_s);
        QCOMPARE(texts(book, 1)[0], u"ELİF ŞAHİN"_s);
    }

    void statisticsOfAPeriod() {
        QCOMPARE(araclar::schoolYearStart(QDate(2026, 5, 21)), QDate(2025, 9, 1));
        QCOMPARE(araclar::schoolYearStart(QDate(2026, 9, 1)), QDate(2026, 9, 1));
        QCOMPARE(araclar::schoolYearStart(QDate(2026, 8, 31)), QDate(2025, 9, 1));
        testsupport::TempDatabase db;
        addReader(db, u"ALİ"_s, u"GAZİ LİSESİ"_s);
        addReader(db, u"AYŞE"_s, u"İNÖNÜ ORTAOKULU"_s);
        addReader(db, u"CAN"_s, u"GAZİ LİSESİ"_s);
        addReader(db, u"CAN"_s, u"İNÖNÜ ORTAOKULU"_s);
        addReader(db, u"DENİZ"_s, u""_s);
        const auto loan = [&](const char16_t* reader, const char16_t* book, const QString& day) {
            addLoan(db, QString::fromUtf16(reader), QString::fromUtf16(book), iso(day), QVariant(),
                    u"Verildi"_s);
        };
        loan(u"ALİ", u"SEFİLLER", u"2025-09-01"_s); // first day: counted
        loan(u"ALİ", u"SEFİLLER", u"2026-05-21"_s); // last day, in the afternoon: counted
        loan(u"AYŞE", u"SEFİLLER", u"2026-01-10"_s);
        loan(u"AYŞE", u"BEYAZ DİŞ", u"2026-01-11"_s);
        loan(u"CAN", u"BEYAZ DİŞ", u"2026-02-01"_s);
        loan(u"DENİZ", u"ÇALIKUŞU", u"2026-02-02"_s);
        loan(u"YOK", u"ÇALIKUŞU", u"2026-02-03"_s);
        loan(u"ALİ", u"ESKİ KİTAP", u"2025-08-31"_s); // the day before: not counted
        loan(u"ALİ", u"YENİ KİTAP", u"2026-05-22"_s); // the day after: not counted
        const data::sqlite::Database conn(db.filePath(), data::sqlite::Database::Mode::ReadOnly);
        const QDate from(2025, 9, 1);
        const auto all = [](const ReportTable& t) {
            QStringList rows;
            for (int r = 0; r < t.rows.size(); ++r)
                rows << texts(t, r).join(u'|');
            return rows;
        };
        const ReportTable books = araclar::mostLentBooks(conn, from, today);
        QCOMPARE(books.title, u"En Çok Okunan Kitaplar (01.09.2025 – 21.05.2026)"_s);
        QCOMPARE(all(books),
                 (QStringList{u"1|SEFİLLER|3"_s, u"2|BEYAZ DİŞ|2"_s, u"3|ÇALIKUŞU|2"_s}));
        QCOMPARE(
            all(araclar::mostActiveReaders(conn, from, today)),
            (QStringList{u"1|ALİ|2"_s, u"2|AYŞE|2"_s, u"3|CAN|1"_s, u"4|DENİZ|1"_s, u"5|YOK|1"_s}));
        QCOMPARE(all(araclar::loansPerSchool(conn, from, today)),
                 (QStringList{u"GAZİ LİSESİ|2"_s, u"İNÖNÜ ORTAOKULU|2"_s,
                              u"aynı adda okuyucular farklı okullarda|1"_s, u"okulu girilmemiş|1"_s,
                              u"okuyucu kaydı yok|1"_s}));
    }

    void csvBytesForTurkishExcel() {
        ReportTable t;
        t.title = u"Liste"_s;
        t.headers = QStringList{u"Okuyucu"_s, u"Tarih"_s, u"Gün"_s, u"Not"_s};
        t.rows.append(
            QVariantList{u"ŞAHİN; Çağrı"_s, QDate(2026, 5, 1), 20, u"dedi ki \"tamam\""_s});
        t.rows.append(QVariantList{u"İĞNE"_s, QVariant(), QVariant(), u" baştaki boşluk"_s});
        t.rows.append(QVariantList{u"iki\r\nsatır"_s, QDate(1999, 12, 31), 0, u""_s});
        const QByteArray expected =
            "\xEF\xBB\xBF"
            "Okuyucu;Tarih;G\xC3\xBCn;Not\r\n"
            "\"\xC5\x9E"
            "AH\xC4\xB0N; \xC3\x87"
            "a\xC4\x9Fr\xC4\xB1\";01.05.2026;20;\"dedi ki \"\"tamam\"\"\"\r\n"
            "\xC4\xB0\xC4\x9ENE;;;\" ba\xC5\x9Ftaki bo\xC5\x9Fluk\"\r\n"
            "\"iki\r\nsat\xC4\xB1r\";31.12.1999;0;\r\n";
        QCOMPARE(araclar::toCsv(t), expected);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"liste.csv"_s);
        araclar::saveCsv(t, path, nullptr);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), expected);
        try {
            araclar::saveCsv(t, dir.filePath(u"yok/liste.csv"_s), nullptr);
            QFAIL("a file in a missing folder was written");
        } catch (const platform::Error& e) {
            QVERIFY2(e.message().startsWith(u"'"_s + dir.filePath(u"yok/liste.csv"_s) +
                                            u"' yazılamadı"_s),
                     qPrintable(e.message()));
            QVERIFY(e.message().endsWith(u"başka bir ad veya klasör seçin."_s));
        }
    }

    void pdfWithTitleDateAndPages() {
        ReportTable t;
        t.title = u"Geciken Kitaplar"_s;
        t.headers = QStringList{u"Okuyucu"_s, u"Kitap"_s, u"Gecikme (gün)"_s};
        for (int i = 1; i <= 150; ++i)
            t.rows.append(QVariantList{u"ÇAĞRI IŞIK %1"_s.arg(i), u"KÜÇÜK PRENS"_s, i});
        QTemporaryDir dir;
        const QString path = dir.filePath(u"liste.pdf"_s);
        araclar::savePdf(t, today, path, nullptr);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QVERIFY(f.size() > 1000);

        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not read");
        QProcess p;
        p.start(pdftotext, {u"-layout"_s, path, u"-"_s});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(u"Geciken Kitaplar"_s), qPrintable(text.left(400)));
        QVERIFY(text.contains(u"Tarih: 21.05.2026"_s));
        QVERIFY(text.contains(u"Kayıt sayısı: 150"_s));
        QVERIFY(text.contains(u"ÇAĞRI IŞIK 1 "_s));
        QVERIFY(text.contains(u"ÇAĞRI IŞIK 150"_s));
        const int pages = static_cast<int>(text.count(u'\f'));
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QVERIFY(text.contains(u"Sayfa 1 / %1"_s.arg(pages)));
        QVERIFY(text.contains(u"Sayfa %1 / %1"_s.arg(pages)));
        // The captions repeat on every page the table runs over.
        QCOMPARE(static_cast<int>(text.count(u"Gecikme (gün)"_s)), pages);
    }

    void turkishAlphabeticalOrder_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("less");
        QTest::newRow("C before Ç") << u"CEM"_s << u"ÇAĞRI"_s << true;
        QTest::newRow("Ç before D") << u"ÇAĞRI"_s << u"DENİZ"_s << true;
        QTest::newRow("dotless before dotted") << u"ışık"_s << u"İNCE"_s << true;
        QTest::newRow("I before İ in capitals") << u"IRMAK"_s << u"İBRAHİM"_s << true;
        QTest::newRow("Ş before T, after S") << u"ŞEKER"_s << u"SEFA"_s << false;
        QTest::newRow("Ü before V") << u"ÜMİT"_s << u"VELİ"_s << true;
        QTest::newRow("letters alike in either case") << u"ali"_s << u"ALİ"_s << false;
        QTest::newRow("a prefix first") << u"AHMET"_s << u"AHMET YILMAZ"_s << true;
        QTest::newRow("blank before letters") << u"AHMET YILMAZ"_s << u"AHMETCAN"_s << true;
        QTest::newRow("digits before letters") << u"9. SINIF"_s << u"A SINIFI"_s << true;
    }
    void turkishAlphabeticalOrder() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, less);
        QCOMPARE(araclar::turkishLess(a, b), less);
        if (less)
            QVERIFY(!araclar::turkishLess(b, a));
    }

    // The import's JSON events, as `ternavolk-db import --json` writes them, in Turkish.
    void importEventsInTurkish_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("turkish");
        using E = araclar::ImportEvent;
        QTest::newRow("start") << R"({"event":"start","old":"/a/DATA.mdb","new":"/b/yeni.mdb"})"_ba
                               << int(E::Start) << u"Aktarma başladı."_s;
        QTest::newRow("progress") << R"({"event":"progress","table":"hareket","rows":15000})"_ba
                                  << int(E::Progress)
                                  << u"Ödünçler (hareket): şimdiye kadar 15.000 satır okundu…"_s;
        QTest::newRow("table, warned")
            << R"({"event":"table","table":"okuyucu","read":1200,"written":1199,"warnings":[)"
               R"({"code":"column-skipped","column":"EPOSTA","text":"x"},)"
               R"({"code":"column-missing","column":"DURUM","text":"x"},)"
               R"({"code":"new-keys","column":"IDNO","text":"x"},)"
               R"({"code":"texts-too-long","column":"ACIKLAMA","count":3,"size":255,"text":"x"},)"
               R"({"code":"column-emptied","column":"DEGERI","kinds":["Memo"],"text":"x"},)"
               R"({"code":"row-left-out","row":17,"page":4,"slot":2,"reason":"null-mask","text":"x"},)"
               R"({"code":"row-left-out","row":null,"page":9,"slot":5,"reason":"offsets","text":"x"},)"
               R"({"code":"value-emptied","row":3,"column":"ADRESI","reason":"text","text":"x"},)"
               R"({"code":"reader-remark","line":"offset 4096 is beyond EOF","text":"x"},)"
               R"({"code":"something-new","text":"a reworded English line"}]})"_ba
            << int(E::Table)
            << u"Okuyucular (okuyucu): 1.200 satır okundu, 1.199 satır yazıldı.\n"
               u"    Uyarı: 'EPOSTA' sütunu programda yok; aktarılmadı\n"
               u"    Uyarı: 'DURUM' sütunu eski tabloda yok; boş bırakıldı\n"
               u"    Uyarı: 'IDNO' sütunu eski tabloda yok; kayıtlara yeni kodlar verildi\n"
               u"    Uyarı: 'ACIKLAMA' sütununda 255 karakterden uzun 3 metin var; tamamı "
               u"aktarıldı\n"
               u"    Uyarı: 'DEGERI' sütununda programın orada tutmadığı türde değerler var; boş "
               u"bırakıldı\n"
               u"    Uyarı: 17. satır bozuk olduğu için aktarılmadı (boş sayılan değerleri "
               u"satırda duruyor)\n"
               u"    Uyarı: 9. sayfadaki 5. yerdeki satır bozuk olduğu için aktarılmadı (sayfadaki "
               u"satır yerleri tutarsız)\n"
               u"    Uyarı: 3. satır: 'ADRESI' değeri güvenilir olmadığı için boş bırakıldı "
               u"(metni okunamıyor)\n"
               u"    Uyarı: Access dosyası okunurken bir not düşüldü: offset 4096 is beyond EOF\n"
               u"    Uyarı: Bir uyarı var (kodu: something-new)"_s;
        QTest::newRow("done, clean") << R"({"event":"done","new":"/b/yeni.mdb","warnings":0})"_ba
                                     << int(E::Done) << u"Aktarma uyarısız tamamlandı."_s;
        QTest::newRow("done, warned") << R"({"event":"done","new":"/b/yeni.mdb","warnings":2})"_ba
                                      << int(E::Done) << u"Aktarma 2 uyarıyla tamamlandı."_s;
        const QString none = u"Aktarma yapılamadı; yeni dosya oluşturulmadı. "_s;
        const QString repair =
            u" Eski dosyayı Access ile açıp \"Veritabanını Sıkıştır ve Onar\" yaptıktan sonra "
            u"yeniden deneyin; olmazsa ternavolk-db import --salvage ile okunabilen kadarı "
            u"aktarılabilir."_s;
        QTest::newRow("refused: damaged rows")
            << R"({"event":"failed","cause":"damaged","table":"hareket","rows":[3,8],"reason":"null-mask","lines":[],"text":"x"})"_ba
            << int(E::Failed)
            << none +
                   u"Eski dosyanın 'hareket' tablosu bozuk (3, 8. satır: boş sayılan değerleri "
                   u"satırda duruyor)."_s +
                   repair;
        QTest::newRow("refused: the reader went beyond its memory")
            << R"({"event":"failed","cause":"reader-limit","limit":"memory","memoryMB":512,"cpuSeconds":120,"lines":["out of memory"],"text":"x"})"_ba
            << int(E::Failed)
            << none +
                   u"Access dosyasını okumak izin verilen belleği (512 MB) aştı; dosya bozuk "
                   u"olabilir. (Access okuyucusunun söyledikleri: out of memory)"_s +
                   repair;
        QTest::newRow("refused: the reader said it cannot read the file")
            << R"({"event":"failed","cause":"reader-refused","lines":["Unrecognized format"],"text":"x"})"_ba
            << int(E::Failed)
            << none +
                   u"Access dosyası okunamıyor: dosya bozuk ya da yarım. (Access okuyucusunun "
                   u"söyledikleri: Unrecognized format)"_s +
                   repair;
        QTest::newRow("the new file's disk is full")
            << R"({"event":"failed","cause":"write-failed","fault":"disk-full","text":"x"})"_ba
            << int(E::Failed)
            << none + u"Yeni dosyanın yazılacağı disk dolu. Diskte yer açıp yeniden deneyin."_s;
        QTest::newRow("not the tool's")
            << "Importing 'a' into 'b'"_ba << int(E::Unknown) << QString();
    }
    void importEventsInTurkish() {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(QString, turkish);
        const araclar::ImportEvent event = araclar::parseImportEvent(line);
        QCOMPARE(int(event.kind), kind);
        QCOMPARE(araclar::turkishImportEvent(event), turkish);
    }
};

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
