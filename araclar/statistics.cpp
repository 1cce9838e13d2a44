#include "araclar/statistics.h"

#include "araclar/loans.h"
#include "data/sqlite.h"

#include <algorithm>

namespace araclar {

namespace {

QString period(QDate from, QDate to) {
    return QStringLiteral(" (%1 – %2)").arg(dayText(from), dayText(to));
}

// Stored date-times are ISO text, so a day range is a range of texts: from the first day's
// midnight up to, not including, the midnight after the last day.
void bindPeriod(data::sqlite::Statement& st, QDate from, QDate to) {
    st.bindText(1, from.toString(Qt::ISODate));
    st.bindText(2, to.addDays(1).toString(Qt::ISODate));
}

ReportTable counted(const data::sqlite::Database& db, const QString& column, const QString& title,
                    const QString& header, QDate from, QDate to) {
    ReportTable t;
    t.title = title + period(from, to);
    t.headers = QStringList{QStringLiteral("Sıra"), header, QStringLiteral("Ödünç Sayısı")};
    data::sqlite::Statement st(db, QStringLiteral("select %1, count(*) from hareket where "
                                                  "TESLIMTARIHI >= ?1 and TESLIMTARIHI < ?2 "
                                                  "group by %1 order by 2 desc, 1")
                                       .arg(column));
    bindPeriod(st, from, to);
    while (st.step())
        t.rows.append(QVariantList{0, st.text(0), static_cast<int>(st.int64(1))});
    // Ties in the order of the Turkish alphabet, then the ranks.
    std::stable_sort(t.rows.begin(), t.rows.end(),
                     [](const QVariantList& a, const QVariantList& b) {
                         if (a[2].toInt() != b[2].toInt())
                             return a[2].toInt() > b[2].toInt();
                         return turkishLess(a[1].toString(), b[1].toString());
                     });
    for (int r = 0; r < t.rows.size(); ++r)
        t.rows[r][0] = r + 1;
    return t;
}

} // namespace

QDate schoolYearStart(QDate today) {
    return QDate(today.month() >= 9 ? today.year() : today.year() - 1, 9, 1);
}

ReportTable mostLentBooks(const data::sqlite::Database& db, QDate from, QDate to) {
    return counted(db, QStringLiteral("ADIGIKITAP"), QStringLiteral("En Çok Okunan Kitaplar"),
                   QStringLiteral("Kitap"), from, to);
}

ReportTable mostActiveReaders(const data::sqlite::Database& db, QDate from, QDate to) {
    return counted(db, QStringLiteral("O_ADI_SOYADI"), QStringLiteral("En Çok Okuyanlar"),
                   QStringLiteral("Okuyucu"), from, to);
}

ReportTable loansPerSchool(const data::sqlite::Database& db, QDate from, QDate to) {
    ReportTable t;
    t.title = QStringLiteral("Okullara Göre Ödünçler") + period(from, to);
    t.headers = QStringList{QStringLiteral("Okul"), QStringLiteral("Ödünç Sayısı")};
    data::sqlite::Statement st(
        db, QStringLiteral(
                "select case when r.schools is null then 0 when r.schools = 1 then 1 else 2 end, "
                "case when r.schools = 1 then r.school end, count(*) from hareket h "
                "left join (select ADISOYADI as name, count(distinct coalesce(OKULU, '')) as "
                "schools, min(coalesce(OKULU, '')) as school from okuyucu group by ADISOYADI) r "
                "on r.name = h.O_ADI_SOYADI "
                "where h.TESLIMTARIHI >= ?1 and h.TESLIMTARIHI < ?2 group by 1, 2"));
    bindPeriod(st, from, to);
    while (st.step()) {
        const auto kind = st.int64(0);
        QString school = st.text(1);
        if (kind == 0)
            school = QStringLiteral("okuyucu kaydı yok");
        else if (kind == 2)
            school = QStringLiteral("aynı adda okuyucular farklı okullarda");
        else if (school.isEmpty())
            school = QStringLiteral("okulu girilmemiş");
        t.rows.append(QVariantList{school, static_cast<int>(st.int64(2))});
    }
    // Largest first, ties by the name shown in the Turkish alphabet (the notes among them).
    std::stable_sort(t.rows.begin(), t.rows.end(),
                     [](const QVariantList& a, const QVariantList& b) {
                         if (a[1].toInt() != b[1].toInt())
                             return a[1].toInt() > b[1].toInt();
                         return turkishLess(a[0].toString(), b[0].toString());
                     });
    return t;
}

QString loansOfPeriodSql() {
    return QStringLiteral("select IDNO, O_ADI_SOYADI, ADIGIKITAP, TESLIMTARIHI, "
                          "GERIGETIRMETARIHI, DURUM, ACIKLAMA from hareket where TESLIMTARIHI >= "
                          "?1 and TESLIMTARIHI < ?2 order by TESLIMTARIHI, IDNO");
}

ReportTable loansOfPeriod(const data::sqlite::Database& db, QDate from, QDate to) {
    ReportTable t;
    t.title = QStringLiteral("Dönemin Ödünçleri") + period(from, to);
    t.headers = QStringList{QStringLiteral("No"),
                            QStringLiteral("Okuyucu"),
                            QStringLiteral("Kitap"),
                            QStringLiteral("Veriliş Tarihi"),
                            QStringLiteral("Geri Getirme Tarihi"),
                            QStringLiteral("Durum"),
                            QStringLiteral("Açıklama")};
    data::sqlite::Statement st(db, loansOfPeriodSql());
    bindPeriod(st, from, to);
    const auto date = [&st](int column) {
        const std::optional<QDate> d = storedDate(st.utf8(column));
        return d ? QVariant(*d) : QVariant();
    };
    while (st.step()) {
        QVariantList row;
        row.reserve(7);
        row.emplaceBack(static_cast<int>(st.int64(0)));
        row.emplaceBack(st.text(1));
        row.emplaceBack(st.text(2));
        row.emplaceBack(date(3));
        row.emplaceBack(date(4));
        row.emplaceBack(st.text(5));
        row.emplaceBack(st.text(6));
        t.rows.append(std::move(row));
    }
    return t;
}

} // namespace araclar
