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

bool isReturnedStatusUtf8(const char* utf8, int size) {
    // Most statuses are plain ASCII: compared here without making a text of them.
    static constexpr std::string_view returned = "gerialindi";
    if (!utf8)
        return false;
    size_t matched = 0;
    for (int i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0x80)
            return isReturnedStatus(QString::fromUtf8(utf8, size));
        if (b == ' ' || (b >= '\t' && b <= '\r'))
            continue;
        const char folded = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
        if (matched == returned.size() || returned[matched] != folded)
            return false;
        ++matched;
    }
    return matched == returned.size();
}

namespace {

// The form the program stores ("2009-05-21 16:15:25.890", or cut after the day, the minute or
// the second), read directly: empty when the text is not of that form, otherwise its date (or
// none, for a day or time that does not exist).
template <typename CharAt>
std::optional<std::optional<QDate>> canonicalDate(CharAt at, qsizetype n) {
    static constexpr char16_t form[] = u"dddd-dd-dd dd:dd:dd.ddd";
    if (n != 10 && n != 16 && n != 19 && n != 23)
        return std::nullopt;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = at(i);
        if (form[i] == u'd' ? (c < u'0' || c > u'9') : c != form[i])
            return std::nullopt;
    }
    const auto number = [&](qsizetype from, int digits) {
        int v = 0;
        for (int k = 0; k < digits; ++k)
            v = v * 10 + (at(from + k) - u'0');
        return v;
    };
    const bool timeOk =
        n == 10 || (number(11, 2) < 24 && number(14, 2) < 60 && (n == 16 || number(17, 2) < 60));
    const QDate d(number(0, 4), number(5, 2), number(8, 2));
    if (!timeOk || !d.isValid())
        return std::optional<QDate>();
    return std::optional<QDate>(d);
}

} // namespace

std::optional<QDate> storedDate(QStringView text) {
    if (const auto d = canonicalDate([&](qsizetype i) { return text[i].unicode(); }, text.size()))
        return *d;
    if (text.isEmpty())
        return std::nullopt;
    // Any other form goes the program's own way.
    const std::optional<platform::DateTime> value = platform::DateTime::fromIso(text);
    if (!value || !value->date().isValid())
        return std::nullopt;
    return value->date();
}

std::optional<QDate> storedDateUtf8(const char* utf8, int size) {
    if (!utf8 || size <= 0)
        return std::nullopt;
    if (const auto d = canonicalDate(
            [&](qsizetype i) { return static_cast<char16_t>(static_cast<unsigned char>(utf8[i])); },
            size))
        return *d;
    return storedDate(QString::fromUtf8(utf8, size));
}

int daysLate(std::optional<QDate> due, QDate today) {
    if (!due || *due >= today)
        return 0;
    return static_cast<int>(due->daysTo(today));
}

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
    sqlite3_stmt* h = st.handle();
    while (st.step()) {
        if (isReturnedStatusUtf8(reinterpret_cast<const char*>(sqlite3_column_text(h, 1)),
                                 sqlite3_column_bytes(h, 1)))
            continue;
        OutLoan loan;
        loan.id = sqlite3_column_int64(h, 0);
        loan.due = storedDateUtf8(reinterpret_cast<const char*>(sqlite3_column_text(h, 2)),
                                  sqlite3_column_bytes(h, 2));
        loan.handedOver = storedDateUtf8(reinterpret_cast<const char*>(sqlite3_column_text(h, 3)),
                                         sqlite3_column_bytes(h, 3));
        loan.reader = columnText(h, 4);
        loan.book = columnText(h, 5);
        loan.readersOfThatName = sqlite3_column_int(h, 6); // null (no reader) reads as 0
        if (loan.readersOfThatName == 1) {
            loan.school = columnText(h, 7);
            loan.level = columnText(h, 8);
            loan.phone = columnText(h, 9);
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
