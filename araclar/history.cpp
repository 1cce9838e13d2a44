#include "araclar/history.h"

#include "araclar/loans.h"
#include "data/sqlite.h"

#include <algorithm>

namespace araclar {

namespace {
QString text(sqlite3_stmt* st, int column) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return t ? QString::fromUtf8(t, sqlite3_column_bytes(st, column)) : QString();
}
QVariant date(sqlite3_stmt* st, int column) {
    const std::optional<QDate> d =
        storedDateUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                       sqlite3_column_bytes(st, column));
    return d ? QVariant(*d) : QVariant();
}
} // namespace

QStringList historyNames(const data::sqlite::Database& db, HistoryOf kind) {
    data::sqlite::Statement st(
        db, kind == HistoryOf::Reader
                ? QStringLiteral("select distinct ADISOYADI from okuyucu where ADISOYADI <> '' "
                                 "order by ADISOYADI")
                : QStringLiteral("select distinct KITABINADI from kitapkayit where KITABINADI "
                                 "<> '' order by KITABINADI"));
    QStringList names;
    while (st.step())
        names << text(st.handle(), 0);
    std::stable_sort(names.begin(), names.end(), turkishLess);
    return names;
}

ReportTable history(const data::sqlite::Database& db, HistoryOf kind, const QString& name,
                    QDate today) {
    const bool reader = kind == HistoryOf::Reader;
    ReportTable t;
    t.title =
        (reader ? QStringLiteral("Okuyucu Geçmişi: ") : QStringLiteral("Kitap Geçmişi: ")) + name;
    t.headers = QStringList{reader ? QStringLiteral("Kitap") : QStringLiteral("Okuyucu"),
                            QStringLiteral("Veriliş Tarihi"),
                            QStringLiteral("Geri Getirme Tarihi"),
                            QStringLiteral("Durum"),
                            QStringLiteral("Kayıttaki Durum"),
                            QStringLiteral("Açıklama")};
    data::sqlite::Statement st(
        db, QStringLiteral("select %1, TESLIMTARIHI, GERIGETIRMETARIHI, DURUM, ACIKLAMA from "
                           "hareket where %2 = ? order by TESLIMTARIHI is null, TESLIMTARIHI "
                           "desc, IDNO desc")
                .arg(reader ? QStringLiteral("ADIGIKITAP") : QStringLiteral("O_ADI_SOYADI"),
                     reader ? QStringLiteral("O_ADI_SOYADI") : QStringLiteral("ADIGIKITAP")));
    st.bindText(1, name);
    sqlite3_stmt* h = st.handle();
    while (st.step()) {
        const QString status = text(h, 3);
        QString state = QStringLiteral("Geri alındı");
        if (!isReturnedStatus(status)) {
            const int late = daysLate(storedDate(text(h, 2)), today);
            state = late > 0 ? QStringLiteral("Gecikmiş (%1 gün)").arg(late)
                             : QStringLiteral("Dışarıda");
        }
        t.rows.append(QVariantList{text(h, 0), date(h, 1), date(h, 2), state, status, text(h, 4)});
    }
    return t;
}

} // namespace araclar
