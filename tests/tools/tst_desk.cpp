// The desk's codes and actions over a real DATA.mdb: what a scanned text finds, the codes
// "Barkod Ver" gives, a loan written as the loan entry window writes it, each rule and its
// override, returns with one and several holders, and undo after another copy's change.

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "platform/progress.h"
#include "support/tempdatabase.h"
#include "tools/check.h"
#include "tools/codes.h"
#include "tools/desk.h"

#include <QTest>

using namespace Qt::StringLiterals;
namespace desk = tools::desk;
using desk::Rule;
using tools::Found;

Q_DECLARE_METATYPE(std::vector<Rule>)
Q_DECLARE_METATYPE(std::vector<Found>)

namespace {

const QDateTime now(QDate(2026, 5, 21), QTime(10, 0));
const QString loanColumns =
    u"IDNO, O_ADI_SOYADI, TELEFONU, ADIGIKITAP, TESLIMTARIHI, GERIGETIRMETARIHI, ACIKLAMA, DURUM"_s;

// Stops at the step the test names: "İptal".
class StopAt : public platform::Progress {
public:
    explicit StopAt(qint64 step) : step_(step) {}
    void begin(qint64, const QString&) override {}
    void step(qint64 done) override {
        if (done == step_)
            throw platform::Cancelled();
    }

private:
    qint64 step_;
};

} // namespace

class DeskTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> db;

    // Readers: 1 a pupil with a number, 2 a teacher without a number or mobile, 3 and 4 two
    // pupils sharing the number 77 (two schools in one file).
    // Books: 1 BEYAZ DİŞ, 2 and 3 two copies of SEFİLLER, 4 a dictionary, 5 a book whose
    // BARKODU a school typed equal to reader 1's number, 6 without a code.
    void seed() {
        const QStringList r{u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s,   u"NUMARASI"_s,
                            u"UNVANI"_s,    u"CEPTELEFONU"_s,   u"TELEFONU"_s};
        db->insert(u"okuyucu"_s, r,
                   {u"ÇAĞRI ŞAHİN"_s, u"10/A"_s, u"İNÖNÜ LİSESİ"_s, u"123"_s, u"Öğrenci"_s,
                    u"0555 111 11 11"_s, u"0312 111"_s});
        db->insert(u"okuyucu"_s, r,
                   {u"MERVE IŞIK"_s, u"ÜNİVERSİTE"_s, u"İNÖNÜ LİSESİ"_s, QVariant(), u"ÖĞRETMEN"_s,
                    u""_s, u"0312 222"_s});
        db->insert(u"okuyucu"_s, r,
                   {u"ELİF KAYA"_s, u"9/B"_s, u"İNÖNÜ LİSESİ"_s, u"77"_s, u"Öğrenci"_s, QVariant(),
                    QVariant()});
        db->insert(u"okuyucu"_s, r,
                   {u"ALİ VELİ"_s, u"5/C"_s, u"GAZİ ORTAOKULU"_s, u"77"_s, u"Öğrenci"_s, QVariant(),
                    QVariant()});
        const QStringList b{u"KITABINADI"_s, u"YAZARI"_s, u"TURU"_s, u"BARKODU"_s, u"SERINO"_s};
        db->insert(u"kitapkayit"_s, b,
                   {u"BEYAZ DİŞ"_s, u"JACK LONDON"_s, u"Roman"_s, u"200000000001"_s, u"1"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"Roman"_s, u"200000000002"_s, u"2"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"Roman"_s, u"200000000003"_s, u"3"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"TÜRKÇE SÖZLÜK"_s, u"TDK"_s, u" SÖZLÜK "_s, u"ABC4"_s, u"4"_s});
        db->insert(u"kitapkayit"_s, b, {u"NUTUK"_s, u"ATATÜRK"_s, u"Tarih"_s, u"123"_s, u"5"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"ÇALIKUŞU"_s, u"REŞAT NURİ"_s, u"Roman"_s, QVariant(), u"6"_s});
    }

    void loan(const QString& reader, const QString& book, int dueInDays, const QString& status) {
        db->insert(u"hareket"_s,
                   {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s, u"GERIGETIRMETARIHI"_s,
                    u"DURUM"_s},
                   {reader, book, u"2026-05-01 09:00:00.000"_s,
                    now.date().addDays(dueInDays).toString(Qt::ISODate) + u" 09:00:00.000"_s,
                    status});
    }

    std::unique_ptr<data::sqlite::Database> open() { return desk::openDesk(db->filePath()); }

    std::vector<QStringList> loans() {
        return db->rows(u"select "_s + loanColumns + u" from hareket order by IDNO"_s);
    }

private slots:
    void init() {
        db = std::make_unique<testsupport::TempDatabase>();
        seed();
    }
    void cleanup() { db.reset(); }

    void aNewFileCarriesTheLookupIndexesAndStillChecksSound() {
        QCOMPARE(db->rows(u"select name from sqlite_master where type = 'index' order by name"_s),
                 (std::vector<QStringList>{{u"hareket_ADIGIKITAP"_s},
                                           {u"hareket_O_ADI_SOYADI"_s},
                                           {u"kitapkayit_BARKODU"_s},
                                           {u"okuyucu_NUMARASI"_s}}));
        QCOMPARE(tools::checkDatabase(db->filePath()), QStringList{});
        // A file made before the desk gets them at its first use, once.
        db->exec(u"drop index kitapkayit_BARKODU; drop index hareket_ADIGIKITAP"_s);
        QVERIFY(tools::ensureLookupIndexes(*open()));
        QCOMPARE(db->count(u"sqlite_master where type = 'index'"_s), 4);
    }

    void aScannedTextFindsItsReadersAndBooks_data() {
        QTest::addColumn<QString>("scanned");
        QTest::addColumn<std::vector<Found>>("found");
        const auto reader = [](qint64 id, const QString& name, const QString& detail) {
            return Found{Found::Kind::Reader, id, name, detail};
        };
        const auto book = [](qint64 id, const QString& name, const QString& detail) {
            return Found{Found::Kind::Book, id, name, detail};
        };
        QTest::newRow("a given book code")
            << u"200000000001"_s << std::vector<Found>{book(1, u"BEYAZ DİŞ"_s, u"JACK LONDON"_s)};
        QTest::newRow("blanks around it")
            << u"  200000000002 "_s << std::vector<Found>{book(2, u"SEFİLLER"_s, u"VICTOR HUGO"_s)};
        QTest::newRow("a code a school typed, read with Caps Lock")
            << u"abc4"_s << std::vector<Found>{book(4, u"TÜRKÇE SÖZLÜK"_s, u"TDK"_s)};
        QTest::newRow("a pupil's number")
            << u"77"_s
            << std::vector<Found>{reader(3, u"ELİF KAYA"_s, u"9/B, İNÖNÜ LİSESİ"_s),
                                  reader(4, u"ALİ VELİ"_s, u"5/C, GAZİ ORTAOKULU"_s)};
        QTest::newRow("a number that is also a book's code")
            << u"123"_s
            << std::vector<Found>{reader(1, u"ÇAĞRI ŞAHİN"_s, u"10/A, İNÖNÜ LİSESİ"_s),
                                  book(5, u"NUTUK"_s, u"ATATÜRK"_s)};
        QTest::newRow("the desk's card code")
            << u"K4"_s << std::vector<Found>{reader(4, u"ALİ VELİ"_s, u"5/C, GAZİ ORTAOKULU"_s)};
        QTest::newRow("the desk's card code typed small")
            << u"k2"_s
            << std::vector<Found>{reader(2, u"MERVE IŞIK"_s, u"ÜNİVERSİTE, İNÖNÜ LİSESİ"_s)};
        QTest::newRow("a card code of no reader") << u"K99"_s << std::vector<Found>{};
        QTest::newRow("a name typed by hand") << u"şahin"_s << std::vector<Found>{};
        QTest::newRow("part of a code") << u"20000000000"_s << std::vector<Found>{};
        QTest::newRow("a quote") << u"1' or '1'='1"_s << std::vector<Found>{};
    }
    void aScannedTextFindsItsReadersAndBooks() {
        QFETCH(QString, scanned);
        QFETCH(std::vector<Found>, found);
        QCOMPARE(tools::resolveCode(*open(), scanned), found);
    }

    void eachCardCarriesACodeThatFindsExactlyItsReader() {
        const auto d = open();
        // Reader 1's number is also a book's code; 2 has none; 3 and 4 share theirs.
        QCOMPARE(tools::readerCardCode(*d, 1), u"K1"_s);
        QCOMPARE(tools::readerCardCode(*d, 2), u"K2"_s);
        QCOMPARE(tools::readerCardCode(*d, 3), u"K3"_s);
        QCOMPARE(tools::readerCardCode(*d, 4), u"K4"_s);
        db->exec(u"update kitapkayit set BARKODU = '5005' where IDNO = 5; "
                 u"update okuyucu set NUMARASI = '78' where IDNO = 4"_s);
        QCOMPARE(tools::readerCardCode(*d, 1), u"123"_s);
        QCOMPARE(tools::readerCardCode(*d, 4), u"78"_s);
        QCOMPARE(tools::readerCardCode(*d, 99), QString());
        for (qint64 id = 1; id <= 4; ++id) {
            const std::vector<Found> f = tools::resolveCode(*d, tools::readerCardCode(*d, id));
            QCOMPARE(f.size(), size_t(1));
            QCOMPARE(f[0].id, id);
        }
    }

    void barkodVerGivesFreeCodesAndKeepsEveryExistingOne() {
        // Book 7 is taken at variant 0 by a code a school typed, book 8 by a long code that
        // holds it, book 9 by a pupil's number; book 10 has blanks for a code.
        const QStringList b{u"KITABINADI"_s, u"BARKODU"_s};
        db->insert(u"kitapkayit"_s, b, {u"YEDİ"_s, QVariant()});
        db->insert(u"kitapkayit"_s, b, {u"SEKİZ"_s, u""_s});
        db->insert(u"kitapkayit"_s, b, {u"DOKUZ"_s, QVariant()});
        db->insert(u"kitapkayit"_s, b, {u"ON"_s, u"   "_s});
        db->insert(u"kitapkayit"_s, b, {u"HAZIR"_s, u"200000000007"_s});
        db->insert(u"kitapkayit"_s, b, {u"UZUN"_s, u"X200000000008Y"_s});
        db->exec(u"update okuyucu set NUMARASI = '200000000009' where IDNO = 2"_s);
        const auto d = open();
        const tools::CodeGiving done =
            tools::giveBookCodes(*d, {6, 7, 8, 9, 10, 1, 6, 99}, platform::noProgress());
        QCOMPARE(done.given.size(), size_t(5));
        QStringList given;
        for (const tools::GivenCode& g : done.given)
            given << QString::number(g.book) + u' ' + g.title + u' ' + g.code;
        QCOMPARE(given, (QStringList{u"6 ÇALIKUŞU 200000000006"_s, u"7 YEDİ 210000000007"_s,
                                     u"8 SEKİZ 210000000008"_s, u"9 DOKUZ 210000000009"_s,
                                     u"10 ON 200000000010"_s}));
        QCOMPARE(done.alreadyHad, std::vector<qint64>{1});
        QCOMPARE(done.missing, std::vector<qint64>{99});
        QCOMPARE(db->rows(u"select BARKODU from kitapkayit where IDNO in (1, 4, 5, 11, 12) "
                          u"order by IDNO"_s),
                 (std::vector<QStringList>{{u"200000000001"_s},
                                           {u"ABC4"_s},
                                           {u"123"_s},
                                           {u"200000000007"_s},
                                           {u"X200000000008Y"_s}}));
        // Every given code finds its book alone.
        for (const tools::GivenCode& g : done.given) {
            const std::vector<Found> f = tools::resolveCode(*d, g.code);
            QCOMPARE(f.size(), size_t(1));
            QCOMPARE(f[0].kind, Found::Kind::Book);
            QCOMPARE(f[0].id, g.book);
        }
    }

    void barkodVerStoppedWritesNothing() {
        db->insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"YEDİ"_s});
        StopAt stop(2);
        QVERIFY_THROWS_EXCEPTION(platform::Cancelled, tools::giveBookCodes(*open(), {6, 7}, stop));
        QCOMPARE(db->rows(u"select count(*) from kitapkayit where BARKODU is null"_s),
                 (std::vector<QStringList>{{u"2"_s}}));
    }

    void aLoanIsTheRowTheLoanEntryWindowWouldStore() {
        const auto d = open();
        const desk::Lending pupil = desk::lend(*d, 1, 1, now, desk::Rules(), {});
        QCOMPARE(pupil.outcome, desk::Lending::Outcome::Lent);
        QVERIFY(pupil.stops.empty());
        desk::Rules week;
        week.loanDays = 7;
        const desk::Lending teacher = desk::lend(*d, 2, 2, now.addSecs(61).addMSecs(250), week, {});
        QCOMPARE(teacher.outcome, desk::Lending::Outcome::Lent);
        const desk::Lending noPhone = desk::lend(*d, 3, 3, now, desk::Rules(), {});
        QCOMPARE(noPhone.outcome, desk::Lending::Outcome::Lent);
        QCOMPARE(loans(), (std::vector<QStringList>{
                              {u"1"_s, u"ÇAĞRI ŞAHİN"_s, u"0555 111 11 11"_s, u"BEYAZ DİŞ"_s,
                               u"2026-05-21 10:00:00.000"_s, u"2026-06-05 10:00:00.000"_s,
                               u"<null>"_s, u"Verildi"_s},
                              {u"2"_s, u"MERVE IŞIK"_s, u"0312 222"_s, u"SEFİLLER"_s,
                               u"2026-05-21 10:01:01.250"_s, u"2026-05-28 10:01:01.250"_s,
                               u"<null>"_s, u"Verildi"_s},
                              {u"3"_s, u"ELİF KAYA"_s, u"<null>"_s, u"SEFİLLER"_s,
                               u"2026-05-21 10:00:00.000"_s, u"2026-06-05 10:00:00.000"_s,
                               u"<null>"_s, u"Verildi"_s}}));
        QCOMPARE(pupil.written->id(), 1);
        QCOMPARE(pupil.written->text(u"DURUM"), u"Verildi"_s);
        QVERIFY(pupil.written->isNull(u"ACIKLAMA"));
        // What the desk wrote is what the reader now holds, and the overdue list's rule reads
        // it as out.
        const desk::ReaderState s =
            desk::readerState(*d, *desk::readReader(*d, 1), now.date(), desk::Rules());
        QCOMPARE(s.held.size(), size_t(1));
        QCOMPARE(s.held[0].due, QDate(2026, 6, 5));
        QCOMPARE(s.mayTake(), 2);
    }

    void aReaderOrBookRemovedMeanwhileWritesNothing() {
        const auto d = open();
        QCOMPARE(desk::lend(*d, 99, 1, now, desk::Rules(), {}).outcome,
                 desk::Lending::Outcome::ReaderGone);
        QCOMPARE(desk::lend(*d, 1, 99, now, desk::Rules(), {}).outcome,
                 desk::Lending::Outcome::BookGone);
        QCOMPARE(db->count(u"hareket"_s), 0);
    }

    void eachRuleStopsUntilItIsOverridden_data() {
        QTest::addColumn<qint64>("reader");
        QTest::addColumn<qint64>("book");
        QTest::addColumn<QStringList>("held"); // "due in days|status" of the reader's loans
        QTest::addColumn<bool>("lateBlocks");
        QTest::addColumn<std::vector<Rule>>("overridden");
        QTest::addColumn<QStringList>("stops"); // "rule held limit kind"
        QTest::newRow("a pupil with two books takes a third")
            << 1LL << 1LL << QStringList{u"5|Verildi"_s, u"5|Veridi"_s} << true
            << std::vector<Rule>{} << QStringList{};
        QTest::newRow("a pupil with three books is stopped")
            << 1LL << 1LL << QStringList{u"5|Verildi"_s, u"5|"_s, u"5|Veridi"_s} << true
            << std::vector<Rule>{} << QStringList{u"Limit 3 3 "_s};
        QTest::newRow("books back do not count")
            << 1LL << 1LL
            << QStringList{u"5|Verildi"_s, u"-9|GERİ ALINDI"_s, u"-9|geri alındı"_s,
                           u"-9| Geri  Alindi "_s}
            << true << std::vector<Rule>{} << QStringList{};
        QTest::newRow("a teacher with four books takes a fifth")
            << 2LL << 1LL
            << QStringList{u"5|Verildi"_s, u"5|Verildi"_s, u"5|Verildi"_s, u"5|Verildi"_s} << true
            << std::vector<Rule>{} << QStringList{};
        QTest::newRow("a teacher with five books is stopped")
            << 2LL << 1LL
            << QStringList{u"5|Verildi"_s, u"5|Verildi"_s, u"5|Verildi"_s, u"5|Verildi"_s,
                           u"5|Verildi"_s}
            << true << std::vector<Rule>{} << QStringList{u"Limit 5 5 "_s};
        QTest::newRow("a dictionary is not lent")
            << 1LL << 4LL << QStringList{} << true << std::vector<Rule>{}
            << QStringList{u"NotLent 0 0 SÖZLÜK"_s};
        QTest::newRow("a late book stops a new one")
            << 1LL << 1LL << QStringList{u"-1|Verildi"_s} << true << std::vector<Rule>{}
            << QStringList{u"Late 1 0 "_s};
        QTest::newRow("due today is not late") << 1LL << 1LL << QStringList{u"0|Verildi"_s} << true
                                               << std::vector<Rule>{} << QStringList{};
        QTest::newRow("the late rule switched off")
            << 1LL << 1LL << QStringList{u"-1|Verildi"_s} << false << std::vector<Rule>{}
            << QStringList{};
        QTest::newRow("every rule at once")
            << 1LL << 4LL << QStringList{u"-3|Verildi"_s, u"-2|"_s, u"5|x"_s} << true
            << std::vector<Rule>{}
            << QStringList{u"NotLent 0 0 SÖZLÜK"_s, u"Limit 3 3 "_s, u"Late 2 0 "_s};
        QTest::newRow("Yine de ver past the limit")
            << 1LL << 1LL << QStringList{u"5|Verildi"_s, u"5|"_s, u"5|Veridi"_s} << true
            << std::vector<Rule>{Rule::Limit} << QStringList{};
        QTest::newRow("Yine de ver past one rule leaves the others")
            << 1LL << 4LL << QStringList{u"-3|Verildi"_s} << true << std::vector<Rule>{Rule::Late}
            << QStringList{u"NotLent 0 0 SÖZLÜK"_s};
        QTest::newRow("Yine de ver past every rule")
            << 1LL << 4LL << QStringList{u"-3|Verildi"_s, u"-2|"_s, u"5|x"_s} << true
            << std::vector<Rule>{Rule::NotLent, Rule::Limit, Rule::Late} << QStringList{};
    }
    void eachRuleStopsUntilItIsOverridden() {
        QFETCH(qint64, reader);
        QFETCH(qint64, book);
        QFETCH(QStringList, held);
        QFETCH(bool, lateBlocks);
        QFETCH(std::vector<Rule>, overridden);
        QFETCH(QStringList, stops);
        const QString name = reader == 1 ? u"ÇAĞRI ŞAHİN"_s : u"MERVE IŞIK"_s;
        for (const QString& h : held)
            loan(name, u"ESKİ KİTAP"_s, h.section(u'|', 0, 0).toInt(), h.section(u'|', 1));
        const qint64 before = db->count(u"hareket"_s);
        desk::Rules rules;
        rules.lateBlocks = lateBlocks;
        const desk::Lending l = desk::lend(*open(), reader, book, now, rules, overridden);
        QStringList got;
        for (const desk::Stop& s : l.stops)
            got << QStringLiteral("%1 %2 %3 %4")
                       .arg(s.rule == Rule::NotLent ? u"NotLent"_s
                            : s.rule == Rule::Limit ? u"Limit"_s
                                                    : u"Late"_s)
                       .arg(s.held)
                       .arg(s.limit)
                       .arg(s.kind);
        QCOMPARE(got, stops);
        QCOMPARE(l.outcome,
                 stops.isEmpty() ? desk::Lending::Outcome::Lent : desk::Lending::Outcome::Stopped);
        QCOMPARE(db->count(u"hareket"_s), before + (stops.isEmpty() ? 1 : 0));
        QCOMPARE(l.written.has_value(), stops.isEmpty());
    }

    void rulesReadTeachersAndKindsAsTheSearchDoes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("teacher");
        QTest::addColumn<bool>("notLent");
        QTest::newRow("Öğretmen") << u"Öğretmen"_s << true << false;
        QTest::newRow("capitals") << u"BİLİŞİM ÖĞRETMENİ"_s << true << false;
        QTest::newRow("without Turkish letters") << u"ogretmen"_s << true << false;
        QTest::newRow("a pupil") << u"Öğrenci"_s << false << false;
        QTest::newRow("a dictionary, capitals and blanks") << u"  SÖZLÜK "_s << false << true;
        QTest::newRow("an encyclopaedia") << u"ansiklopedi"_s << false << true;
        QTest::newRow("a periodical") << u"DERGİ"_s << false << true;
        QTest::newRow("a reference work") << u"başvuru"_s << false << true;
        QTest::newRow("a kind that only holds one") << u"Dergi Arşivi"_s << false << false;
        QTest::newRow("no kind") << u""_s << false << false;
    }
    void rulesReadTeachersAndKindsAsTheSearchDoes() {
        QFETCH(QString, text);
        QFETCH(bool, teacher);
        QFETCH(bool, notLent);
        QCOMPARE(desk::isTeacher(text), teacher);
        QCOMPARE(desk::isNotLent(desk::Rules(), text), notLent);
    }

    void aTitleListsTheLoansOutOfIt() {
        loan(u"ÇAĞRI ŞAHİN"_s, u"SEFİLLER"_s, -3, u"Verildi"_s);
        loan(u"MERVE IŞIK"_s, u"SEFİLLER"_s, 4, u"Veridi"_s);
        loan(u"ELİF KAYA"_s, u"SEFİLLER"_s, -20, u"Geri Alindi"_s);
        loan(u"ELİF KAYA"_s, u"BEYAZ DİŞ"_s, -1, u"Verildi"_s);
        const auto d = open();
        const std::vector<desk::OutLoan> two = desk::loansOutOf(*d, u"SEFİLLER"_s, now.date());
        QCOMPARE(two.size(), size_t(2));
        QCOMPARE(two[0].reader, u"ÇAĞRI ŞAHİN"_s);
        QCOMPARE(two[0].daysLate, 3);
        QCOMPARE(two[1].reader, u"MERVE IŞIK"_s);
        QCOMPARE(two[1].daysLate, 0);
        QCOMPARE(desk::loansOutOf(*d, u"NUTUK"_s, now.date()).size(), size_t(0));

        const desk::Returning r = desk::giveBack(*d, two[0].row, now.date());
        QCOMPARE(r.outcome, desk::Outcome::Done);
        QCOMPARE(r.daysLate, 3);
        QCOMPARE(r.after->text(u"DURUM"), u"Geri Alindi"_s);
        QCOMPARE(db->rows(u"select DURUM from hareket order by IDNO"_s),
                 (std::vector<QStringList>{
                     {u"Geri Alindi"_s}, {u"Veridi"_s}, {u"Geri Alindi"_s}, {u"Verildi"_s}}));
        // The same listing again: that loan is back, the return changes nothing.
        QCOMPARE(desk::giveBack(*d, two[0].row, now.date()).outcome, desk::Outcome::Changed);
        QCOMPARE(desk::loansOutOf(*d, u"SEFİLLER"_s, now.date()).size(), size_t(1));
    }

    void undoChecksWhatIsStoredNow_data() {
        QTest::addColumn<bool>("lend");         // undo a loan, or a return
        QTest::addColumn<QString>("meanwhile"); // what another copy of the program did
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("rows"); // the loans afterwards: "IDNO ACIKLAMA DURUM"
        QTest::newRow("a loan taken back")
            << true << u""_s << int(desk::Outcome::Done) << QStringList{u"1 <null> Verildi"_s};
        QTest::newRow("a loan whose remark the program changed stays")
            << true << u"update hareket set ACIKLAMA = 'yırtık' where IDNO = 2"_s
            << int(desk::Outcome::Changed)
            << QStringList{u"1 <null> Verildi"_s, u"2 yırtık Verildi"_s};
        QTest::newRow("a loan returned meanwhile stays")
            << true << u"update hareket set DURUM = 'Geri Alindi' where IDNO = 2"_s
            << int(desk::Outcome::Changed)
            << QStringList{u"1 <null> Verildi"_s, u"2 <null> Geri Alindi"_s};
        QTest::newRow("a loan deleted meanwhile")
            << true << u"delete from hareket where IDNO = 2"_s << int(desk::Outcome::Gone)
            << QStringList{u"1 <null> Verildi"_s};
        QTest::newRow("a return taken back")
            << false << u""_s << int(desk::Outcome::Done) << QStringList{u"1 <null> Verildi"_s};
        QTest::newRow("a return whose status the program set again stays")
            << false << u"update hareket set DURUM = 'GERİ ALINDI' where IDNO = 1"_s
            << int(desk::Outcome::Changed) << QStringList{u"1 <null> GERİ ALINDI"_s};
        QTest::newRow("a return whose row the program changed stays")
            << false << u"update hareket set GERIGETIRMETARIHI = '2026-06-01' where IDNO = 1"_s
            << int(desk::Outcome::Changed) << QStringList{u"1 <null> Geri Alindi"_s};
        QTest::newRow("a return deleted meanwhile")
            << false << u"delete from hareket where IDNO = 1"_s << int(desk::Outcome::Gone)
            << QStringList{};
    }
    void undoChecksWhatIsStoredNow() {
        QFETCH(bool, lend);
        QFETCH(QString, meanwhile);
        QFETCH(int, outcome);
        QFETCH(QStringList, rows);
        loan(u"ÇAĞRI ŞAHİN"_s, u"SEFİLLER"_s, 3, u"Verildi"_s);
        const auto d = open();
        desk::Outcome got;
        if (lend) {
            const desk::Lending l = desk::lend(*d, 1, 1, now, desk::Rules(), {});
            QCOMPARE(l.outcome, desk::Lending::Outcome::Lent);
            if (!meanwhile.isEmpty())
                db->exec(meanwhile);
            got = desk::undoLend(*d, *l.written);
        } else {
            const desk::Returning r = desk::giveBack(
                *d, desk::loansOutOf(*d, u"SEFİLLER"_s, now.date()).at(0).row, now.date());
            QCOMPARE(r.outcome, desk::Outcome::Done);
            if (!meanwhile.isEmpty())
                db->exec(meanwhile);
            got = desk::undoReturn(*d, r.before, *r.after);
        }
        QCOMPARE(int(got), outcome);
        QStringList stored;
        for (const QStringList& r :
             db->rows(u"select IDNO, ACIKLAMA, DURUM from hareket order by IDNO"_s))
            stored << r.join(u' ');
        QCOMPARE(stored, rows);
    }

    void aBusyFileGivesItsCauseAndWritesNothing() {
        data::sqlite::Database other(db->filePath(), data::sqlite::Database::Mode::ReadWrite);
        other.execute(u"BEGIN IMMEDIATE"_s);
        other.execute(u"insert into hareket (O_ADI_SOYADI) values ('BAŞKA KOPYA')"_s);
        auto d = open();
        d->setBusyTimeout(50);
        try {
            desk::lend(*d, 1, 1, now, desk::Rules(), {});
            QFAIL("a lend on a busy file went through");
        } catch (const data::FileError& e) {
            QCOMPARE(e.fault(), data::FileFault::Busy);
        }
        other.execute(u"ROLLBACK"_s);
        QCOMPARE(db->count(u"hareket"_s), 0);
        // Once the other copy is done, the same scan goes through.
        QCOMPARE(desk::lend(*d, 1, 1, now, desk::Rules(), {}).outcome,
                 desk::Lending::Outcome::Lent);
    }
};

QTEST_GUILESS_MAIN(DeskTest)
#include "tst_desk.moc"
