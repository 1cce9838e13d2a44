#include "araclar/history.h"

#include "araclar/loans.h"
#include "data/sqlite.h"

#include <algorithm>

namespace araclar {

namespace {
QVariant date(const data::sqlite::Statement& st, int column) {
    const std::optional<QDate> d = storedDate(st.utf8(column));
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
        names << st.text(0);
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
    while (st.step()) {
        const QString status = st.text(3);
        QString state = QStringLiteral("Geri alındı");
        if (!isReturnedStatus(status)) {
            const int late = daysLate(storedDate(st.utf8(2)), today);
            state = late > 0 ? QStringLiteral("Gecikmiş (%1 gün)").arg(late)
                             : QStringLiteral("Dışarıda");
        }
        t.rows.append(
            QVariantList{st.text(0), date(st, 1), date(st, 2), state, status, st.text(4)});
    }
    return t;
}

} // namespace araclar
