#include "araclar/loans.h"

#include "data/sqlite.h"
#include "data/turkishlike.h"
#include "platform/datetime.h"

#include <algorithm>

namespace araclar {

namespace {

QString folded(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || c.unicode() == 0x0307) // blanks, and the dot "İ".toLower() leaves
            continue;
        out += QChar(static_cast<char16_t>(data::foldForLike(c.unicode())));
    }
    return out;
}

QString columnText(sqlite3_stmt* st, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(st, column)) : QString();
}

} // namespace

bool isReturnedStatus(QStringView status) {
    static const QString returned = folded(u"Geri Alindi");
    return folded(status) == returned;
}

std::optional<QDate> storedDate(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<platform::DateTime> value = platform::DateTime::fromIso(text);
    if (!value)
        return std::nullopt;
    const QDate d = value->date();
    if (!d.isValid())
        return std::nullopt;
    return d;
}

int daysLate(std::optional<QDate> due, QDate today) {
    if (!due || *due >= today)
        return 0;
    return static_cast<int>(due->daysTo(today));
}

QString loansWithReadersSql() {
    return QStringLiteral(
        "select h.IDNO, h.DURUM, h.GERIGETIRMETARIHI, h.TESLIMTARIHI, h.O_ADI_SOYADI, "
        "h.ADIGIKITAP, count(o.IDNO), min(o.OKULU), min(o.OGRENIMDURUMU), min(o.TELEFONU) "
        "from hareket h left join okuyucu o on o.ADISOYADI = h.O_ADI_SOYADI "
        "group by h.IDNO order by h.IDNO");
}

std::vector<OutLoan> readOutLoans(const data::sqlite::Database& db, QDate today) {
    std::vector<OutLoan> loans;
    data::sqlite::Statement st(db, loansWithReadersSql());
    sqlite3_stmt* h = st.handle();
    while (st.step()) {
        if (isReturnedStatus(columnText(h, 1)))
            continue;
        OutLoan loan;
        loan.id = sqlite3_column_int64(h, 0);
        loan.due = storedDate(columnText(h, 2));
        loan.handedOver = storedDate(columnText(h, 3));
        loan.reader = columnText(h, 4);
        loan.book = columnText(h, 5);
        loan.readersOfThatName = sqlite3_column_int(h, 6);
        if (loan.readersOfThatName == 1) {
            loan.school = columnText(h, 7);
            loan.level = columnText(h, 8);
            loan.phone = columnText(h, 9);
        }
        loan.daysLate = daysLate(loan.due, today);
        loan.readerUtf8 = loan.reader.toUtf8();
        loan.bookUtf8 = loan.book.toUtf8();
        loan.schoolUtf8 = loan.school.toUtf8();
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

QByteArray containsPattern(const QString& typed) {
    if (typed.isEmpty())
        return QByteArray();
    return '%' + typed.toUtf8() + '%';
}

bool loanMatches(const OutLoan& loan, const QByteArray& likePattern, const QString& school) {
    if (!school.isEmpty() && (loan.readersOfThatName != 1 || loan.school != school))
        return false;
    if (likePattern.isEmpty())
        return true;
    const std::string_view p(likePattern.constData(), static_cast<size_t>(likePattern.size()));
    const auto like = [&](const QByteArray& text) {
        return data::turkishLike(
            p, std::string_view(text.constData(), static_cast<size_t>(text.size())));
    };
    return like(loan.readerUtf8) || like(loan.bookUtf8) || like(loan.schoolUtf8);
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
