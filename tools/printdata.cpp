#include "tools/printdata.h"

#include "data/sqlite.h"
#include "printing/reporttable.h"
#include "tools/codes.h"
#include "tools/loanstate.h"

#include <algorithm>
#include <map>
#include <set>

namespace tools::printdata {

using data::sqlite::Database;
using data::sqlite::Statement;

namespace {

std::optional<qint64> serialNumber(const QString& serial) {
    const QString s = serial.trimmed();
    if (s.isEmpty() || s.size() > 18)
        return std::nullopt;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return s.toLongLong();
}

// Turkish alphabetical order of several keys in turn.
bool turkishBefore(const QStringList& a, const QStringList& b) {
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (printing::turkishLess(a[i], b[i]))
            return true;
        if (printing::turkishLess(b[i], a[i]))
            return false;
    }
    return false;
}

} // namespace

QString libraryName(const Database& db) {
    Statement st(db, QStringLiteral("select OKULU, count(*) as n from okuyucu where OKULU is not "
                                    "null and trim(OKULU) <> '' group by OKULU order by n desc, "
                                    "OKULU limit 1"));
    return st.step() ? st.text(0).trimmed() : QString();
}

std::vector<LabelBook> chooseBooks(const Database& db, const BookChoice& choice) {
    struct Row {
        LabelBook book;
        std::optional<qint64> serial;
    };
    std::vector<Row> rows;
    Statement st(db, QStringLiteral("select IDNO, KITABINADI, YAZARI, SERINO, BARKODU, "
                                    "EDINMETARIHI from kitapkayit order by IDNO"));
    std::map<qint64, size_t> wanted; // Books: each key's place in the order given
    if (choice.kind == BookChoice::Kind::Books)
        for (size_t i = 0; i < choice.books.size(); ++i)
            wanted.emplace(choice.books[i], i);
    while (st.step()) {
        Row r;
        r.book.id = st.int64(0);
        r.book.label = {st.text(1), st.text(2), st.text(3).trimmed(), st.text(4).trimmed()};
        r.serial = serialNumber(r.book.label.serial);
        bool take = false;
        switch (choice.kind) {
        case BookChoice::Kind::WithCode:
            take = !r.book.label.code.isEmpty();
            break;
        case BookChoice::Kind::Books:
            take = wanted.count(r.book.id) > 0;
            break;
        case BookChoice::Kind::Serials:
            take = r.serial && *r.serial >= choice.fromSerial && *r.serial <= choice.toSerial;
            break;
        case BookChoice::Kind::Since: {
            const std::optional<QDate> added = storedDate(st.utf8(5));
            take = added && *added >= choice.since;
            break;
        }
        }
        if (take)
            rows.push_back(std::move(r));
    }
    if (choice.kind == BookChoice::Kind::Books) {
        std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
            return wanted[a.book.id] < wanted[b.book.id];
        });
    } else {
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            if (a.serial.has_value() != b.serial.has_value())
                return a.serial.has_value();
            if (a.serial && *a.serial != *b.serial)
                return *a.serial < *b.serial;
            if (!a.serial && a.book.label.serial != b.book.label.serial)
                return printing::turkishLess(a.book.label.serial, b.book.label.serial);
            return a.book.id < b.book.id;
        });
    }
    std::vector<LabelBook> books;
    books.reserve(rows.size());
    for (Row& r : rows)
        books.push_back(std::move(r.book));
    return books;
}

std::vector<CardReader> chooseReaders(const Database& db, const ReaderChoice& choice) {
    std::vector<CardReader> readers;
    Statement st(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI from "
                                    "okuyucu order by IDNO"));
    std::map<qint64, size_t> wanted;
    for (size_t i = 0; i < choice.readers.size(); ++i)
        wanted.emplace(choice.readers[i], i);
    while (st.step()) {
        CardReader r;
        r.id = st.int64(0);
        r.card.name = st.text(1);
        r.card.level = st.text(2).trimmed();
        r.card.school = st.text(3).trimmed();
        r.card.number = st.text(4).trimmed();
        const bool take = choice.readers.empty()
                              ? (choice.school.isEmpty() || r.card.school == choice.school) &&
                                    (choice.level.isEmpty() || r.card.level == choice.level)
                              : wanted.count(r.id) > 0;
        if (take)
            readers.push_back(std::move(r));
    }
    if (!choice.readers.empty())
        std::stable_sort(
            readers.begin(), readers.end(),
            [&](const CardReader& a, const CardReader& b) { return wanted[a.id] < wanted[b.id]; });
    else
        std::stable_sort(readers.begin(), readers.end(),
                         [](const CardReader& a, const CardReader& b) {
                             return turkishBefore({a.card.school, a.card.level, a.card.name},
                                                  {b.card.school, b.card.level, b.card.name});
                         });
    for (CardReader& r : readers)
        r.card.code = readerCardCode(db, r.id);
    return readers;
}

QStringList schools(const Database& db) {
    Statement st(db, QStringLiteral("select distinct trim(OKULU) from okuyucu where OKULU is not "
                                    "null and trim(OKULU) <> ''"));
    QStringList list;
    while (st.step())
        list << st.text(0);
    std::stable_sort(list.begin(), list.end(), printing::turkishLess);
    return list;
}

QStringList levels(const Database& db, const QString& school) {
    Statement st(db, QStringLiteral("select distinct trim(OGRENIMDURUMU) from okuyucu where "
                                    "OGRENIMDURUMU is not null and trim(OGRENIMDURUMU) <> '' and "
                                    "(?1 = '' or trim(OKULU) = ?1)"));
    st.bindText(1, school);
    QStringList list;
    while (st.step())
        list << st.text(0);
    std::stable_sort(list.begin(), list.end(), printing::turkishLess);
    return list;
}

std::vector<printing::ReminderSlip> reminderSlips(const Database& db, QDate today,
                                                  const QString& school) {
    // The readers grouped by name first, so that each loan meets one row at most.
    Statement st(db, QStringLiteral(
                         "select h.O_ADI_SOYADI, h.ADIGIKITAP, h.GERIGETIRMETARIHI, h.DURUM, r.n, "
                         "r.OKULU, r.OGRENIMDURUMU, r.NUMARASI from hareket h left join (select "
                         "ADISOYADI, count(*) as n, min(OKULU) as OKULU, min(OGRENIMDURUMU) as "
                         "OGRENIMDURUMU, min(NUMARASI) as NUMARASI from okuyucu group by "
                         "ADISOYADI) r on r.ADISOYADI = h.O_ADI_SOYADI order by h.IDNO"));
    std::map<QString, printing::ReminderSlip> byName;
    while (st.step()) {
        if (isReturnedStatus(st.utf8(3)))
            continue;
        const std::optional<QDate> due = storedDate(st.utf8(2));
        const int late = daysLate(due, today);
        if (late <= 0)
            continue;
        const QString name = st.text(0);
        const bool one = st.int64(4) == 1;
        const QString readerSchool = one ? st.text(5).trimmed() : QString();
        if (!school.isEmpty() && readerSchool != school)
            continue;
        printing::ReminderSlip& slip = byName[name];
        if (slip.reader.isEmpty()) {
            slip.reader = name;
            slip.school = readerSchool;
            if (one) {
                slip.level = st.text(6).trimmed();
                slip.number = st.text(7).trimmed();
            }
        }
        slip.books.push_back({st.text(1), *due, late});
    }
    std::vector<printing::ReminderSlip> slips;
    slips.reserve(byName.size());
    for (auto& [name, slip] : byName) {
        std::stable_sort(
            slip.books.begin(), slip.books.end(),
            [](const printing::LateBook& a, const printing::LateBook& b) { return a.due < b.due; });
        slips.push_back(std::move(slip));
    }
    std::stable_sort(
        slips.begin(), slips.end(),
        [](const printing::ReminderSlip& a, const printing::ReminderSlip& b) {
            return turkishBefore({a.school, a.level, a.reader}, {b.school, b.level, b.reader});
        });
    return slips;
}

} // namespace tools::printdata
