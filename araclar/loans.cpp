#include "araclar/loans.h"

#include "data/sqlite.h"
#include "data/turkishlike.h"
#include "platform/datetime.h"

#include <algorithm>

namespace araclar {

QString loansWithReadersSql() {
    // The readers grouped by name first, so that each loan meets one row at most.
    return QStringLiteral(
        "select h.IDNO, h.DURUM, h.GERIGETIRMETARIHI, h.TESLIMTARIHI, h.O_ADI_SOYADI, "
        "h.ADIGIKITAP, r.n, r.OKULU, r.OGRENIMDURUMU, r.TELEFONU from hareket h left join "
        "(select ADISOYADI, count(*) as n, min(OKULU) as OKULU, min(OGRENIMDURUMU) as "
        "OGRENIMDURUMU, min(TELEFONU) as TELEFONU from okuyucu group by ADISOYADI) r "
        "on r.ADISOYADI = h.O_ADI_SOYADI order by h.IDNO");
}

std::vector<OutLoan> readOutLoans(const data::sqlite::Database& db, QDate today) {
    std::vector<OutLoan> loans;
    data::sqlite::Statement st(db, loansWithReadersSql());
    while (st.step()) {
        if (isReturnedStatus(st.utf8(1)))
            continue;
        OutLoan loan;
        loan.id = st.int64(0);
        loan.due = storedDate(st.utf8(2));
        loan.handedOver = storedDate(st.utf8(3));
        loan.reader = st.text(4);
        loan.book = st.text(5);
        loan.readersOfThatName = static_cast<int>(st.int64(6)); // null (no reader) reads as 0
        if (loan.readersOfThatName == 1) {
            loan.school = st.text(7);
            loan.level = st.text(8);
            loan.phone = st.text(9);
        }
        loan.daysLate = daysLate(loan.due, today);
        loans.push_back(std::move(loan));
    }
    return loans;
}

std::vector<int> overdueOrder(const std::vector<OutLoan>& loans) {
    std::vector<int> order;
    for (size_t i = 0; i < loans.size(); ++i)
        if (loans[i].daysLate > 0)
            order.push_back(static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return loans[static_cast<size_t>(a)].daysLate > loans[static_cast<size_t>(b)].daysLate;
    });
    return order;
}

std::vector<int> outOrder(const std::vector<OutLoan>& loans) {
    std::vector<int> order(loans.size());
    for (size_t i = 0; i < loans.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto& da = loans[static_cast<size_t>(a)].due;
        const auto& db = loans[static_cast<size_t>(b)].due;
        if (da.has_value() != db.has_value())
            return da.has_value();
        return da && *da < *db;
    });
    return order;
}

QByteArray foldedForSearch(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() == 0x0307) // the dot "İ".toLower() leaves behind
            continue;
        const char32_t f = data::foldForLike(c.unicode());
        if (f < 0x80) {
            out += static_cast<char>(f);
        } else {
            const QChar folded(static_cast<char16_t>(f));
            out += QStringView(&folded, 1).toUtf8();
        }
    }
    return out;
}

TextFilter::TextFilter(const QString& typed)
    : folded(foldedForSearch(typed)), wildcards(typed.contains(u'%') || typed.contains(u'_')) {
    if (wildcards)
        folded = '%' + folded + '%';
}

bool TextFilter::matches(const QByteArray& foldedText) const {
    const std::string_view text(foldedText.constData(), static_cast<size_t>(foldedText.size()));
    const std::string_view pattern(folded.constData(), static_cast<size_t>(folded.size()));
    if (!wildcards)
        return text.find(pattern) != std::string_view::npos;
    return data::turkishLike(pattern, text);
}

bool loanMatches(const OutLoan& loan, const TextFilter& filter, const QString& school) {
    if (!school.isEmpty() && (loan.readersOfThatName != 1 || loan.school != school))
        return false;
    if (filter.empty())
        return true;
    if (!loan.folded) {
        loan.readerFolded = foldedForSearch(loan.reader);
        loan.bookFolded = foldedForSearch(loan.book);
        loan.schoolFolded = foldedForSearch(loan.school);
        loan.folded = true;
    }
    return filter.matches(loan.readerFolded) || filter.matches(loan.bookFolded) ||
           filter.matches(loan.schoolFolded);
}

QString readerNote(const OutLoan& loan) {
    if (loan.readersOfThatName == 0)
        return QStringLiteral("okuyucu kaydı yok");
    if (loan.readersOfThatName > 1)
        return QStringLiteral("aynı adda %1 okuyucu").arg(loan.readersOfThatName);
    return QString();
}

ReportTable loanTable(const QString& title, const std::vector<OutLoan>& loans,
                      const std::vector<int>& order) {
    ReportTable t;
    t.title = title;
    t.headers = QStringList{QStringLiteral("Okuyucu"),
                            QStringLiteral("Okulu"),
                            QStringLiteral("Öğrenim Durumu"),
                            QStringLiteral("Telefonu"),
                            QStringLiteral("Kitap"),
                            QStringLiteral("Veriliş Tarihi"),
                            QStringLiteral("Geri Getirme Tarihi"),
                            QStringLiteral("Gecikme (gün)")};
    t.rows.reserve(static_cast<qsizetype>(order.size()));
    const auto date = [](const std::optional<QDate>& d) { return d ? QVariant(*d) : QVariant(); };
    for (const int i : order) {
        const OutLoan& l = loans[static_cast<size_t>(i)];
        const QString note = readerNote(l);
        t.rows.append(QVariantList{l.reader, note.isEmpty() ? l.school : note, l.level, l.phone,
                                   l.book, date(l.handedOver), date(l.due),
                                   l.daysLate > 0 ? QVariant(l.daysLate) : QVariant()});
    }
    return t;
}

} // namespace araclar
