#include "tools/codes.h"

#include "data/sqlite.h"
#include "platform/progress.h"

#include <QSet>
#include <set>

namespace tools {

using data::sqlite::Database;
using data::sqlite::Statement;

namespace {
constexpr qint64 largestKey = 9'999'999'999LL;

// The scanned text as the desk compares it, and its capitals (for a scanner with Caps Lock).
struct Scanned {
    QString text, capitals;
};
Scanned scannedForms(const QString& scanned) {
    const QString text = scanned.trimmed();
    return {text, text.toUpper()};
}

QString readerDetail(const QString& level, const QString& school) {
    if (level.isEmpty())
        return school;
    if (school.isEmpty())
        return level;
    return level + QStringLiteral(", ") + school;
}

void addReader(std::vector<Found>& found, const Statement& st) {
    const qint64 id = st.int64(0);
    for (const Found& f : found)
        if (f.kind == Found::Kind::Reader && f.id == id)
            return;
    found.push_back({Found::Kind::Reader, id, st.text(1), readerDetail(st.text(2), st.text(3))});
}
} // namespace

QString bookCode(qint64 idno, int variant) {
    if (idno < 0 || idno > largestKey || variant < 0 || variant > 9)
        return QString();
    return QStringLiteral("2%1%2").arg(variant).arg(idno, 10, 10, QLatin1Char('0'));
}

bool isGivenBookCode(QStringView text) {
    if (text.size() != bookCodeLength || text[0] != u'2')
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QString deskReaderCode(qint64 idno) {
    return QStringLiteral("K") + QString::number(idno);
}

std::optional<qint64> deskReaderKey(QStringView text) {
    if (text.size() < 2 || text.size() > 19 || (text[0] != u'K' && text[0] != u'k'))
        return std::nullopt;
    qint64 n = 0;
    for (const QChar c : text.mid(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

std::vector<Found> resolveCode(const Database& db, const QString& raw) {
    const Scanned s = scannedForms(raw);
    std::vector<Found> found;
    if (s.text.isEmpty())
        return found;
    {
        Statement st(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU from okuyucu "
                                        "where NUMARASI in (?1, ?2) order by IDNO"));
        st.bindText(1, s.text);
        st.bindText(2, s.capitals);
        while (st.step())
            addReader(found, st);
    }
    if (const auto key = deskReaderKey(s.text)) {
        Statement st(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU from okuyucu "
                                        "where IDNO = ?"));
        st.bindInt64(1, *key);
        while (st.step())
            addReader(found, st);
    }
    Statement st(db, QStringLiteral("select IDNO, KITABINADI, YAZARI from kitapkayit where BARKODU "
                                    "in (?1, ?2) order by IDNO"));
    st.bindText(1, s.text);
    st.bindText(2, s.capitals);
    while (st.step())
        found.push_back({Found::Kind::Book, st.int64(0), st.text(1), st.text(2)});
    return found;
}

QString readerCardCode(const Database& db, qint64 reader) {
    Statement st(db, QStringLiteral("select NUMARASI from okuyucu where IDNO = ?"));
    st.bindInt64(1, reader);
    if (!st.step())
        return QString();
    const QString number = st.text(0);
    if (!number.trimmed().isEmpty() && number == number.trimmed()) {
        const std::vector<Found> found = resolveCode(db, number);
        if (found.size() == 1 && found[0].kind == Found::Kind::Reader && found[0].id == reader)
            return number;
    }
    return deskReaderCode(reader);
}

namespace {

// What a new book code must not meet: every BARKODU (the long ones kept apart, as only they can
// hold a 12-digit code without being it), every reader's NUMARASI, every reader's key.
struct TakenCodes {
    QSet<QString> codes;   // BARKODU, NUMARASI
    QStringList longCodes; // BARKODU longer than a given code
    bool isFree(const QString& code) const {
        if (codes.contains(code))
            return false;
        for (const QString& c : longCodes)
            if (c.contains(code))
                return false;
        return true;
    }
    void take(const QString& code) { codes.insert(code); }
};

TakenCodes takenCodes(const Database& db) {
    TakenCodes t;
    Statement books(db, QStringLiteral("select BARKODU from kitapkayit where BARKODU is not null "
                                       "and BARKODU <> ''"));
    while (books.step()) {
        const QString code = books.text(0);
        t.codes.insert(code);
        if (code.size() > bookCodeLength)
            t.longCodes << code;
    }
    Statement readers(db, QStringLiteral("select NUMARASI from okuyucu where NUMARASI is not null "
                                         "and NUMARASI <> ''"));
    while (readers.step())
        t.codes.insert(readers.text(0));
    return t;
}

} // namespace

CodeGiving giveBookCodes(Database& db, const std::vector<qint64>& books,
                         platform::Progress& progress) {
    CodeGiving result;
    data::sqlite::WriteTransaction transaction(db);
    TakenCodes taken = takenCodes(db);
    Statement read(db, QStringLiteral("select KITABINADI, BARKODU from kitapkayit where IDNO = ?"));
    Statement write(db, QStringLiteral("update kitapkayit set BARKODU = ? where IDNO = ? and "
                                       "(BARKODU is null or trim(BARKODU) = '')"));
    progress.begin(static_cast<qint64>(books.size()));
    std::set<qint64> seen;
    qint64 done = 0;
    for (const qint64 id : books) {
        progress.step(++done);
        if (!seen.insert(id).second)
            continue;
        read.reset();
        read.bindInt64(1, id);
        if (!read.step()) {
            result.missing.push_back(id);
            continue;
        }
        const QString title = read.text(0);
        if (!read.text(1).trimmed().isEmpty()) {
            result.alreadyHad.push_back(id);
            continue;
        }
        QString code;
        for (int variant = 0; variant <= 9 && code.isEmpty(); ++variant) {
            const QString candidate = bookCode(id, variant);
            // A reader's card code is "K" and digits: no digits-only code is one.
            if (!candidate.isEmpty() && taken.isFree(candidate))
                code = candidate;
        }
        if (code.isEmpty()) {
            result.noFreeCode.push_back(id);
            continue;
        }
        write.reset();
        write.bindText(1, code);
        write.bindInt64(2, id);
        write.step();
        taken.take(code);
        result.given.push_back({id, title, code});
    }
    transaction.commit();
    return result;
}

QStringList lookupIndexStatements() {
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS kitapkayit_BARKODU ON kitapkayit (BARKODU)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS okuyucu_NUMARASI ON okuyucu (NUMARASI)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS hareket_O_ADI_SOYADI ON hareket (O_ADI_SOYADI)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS hareket_ADIGIKITAP ON hareket (ADIGIKITAP)"),
    };
}

bool ensureLookupIndexes(Database& db) {
    try {
        Statement present(db, QStringLiteral("select count(*) from sqlite_master where type = "
                                             "'index' and name in ('kitapkayit_BARKODU', "
                                             "'okuyucu_NUMARASI', 'hareket_O_ADI_SOYADI', "
                                             "'hareket_ADIGIKITAP')"));
        if (present.step() && present.int64(0) == lookupIndexStatements().size())
            return true;
        data::sqlite::WriteTransaction transaction(db);
        for (const QString& sql : lookupIndexStatements())
            db.execute(sql);
        transaction.commit();
        return true;
    } catch (const platform::Error&) {
        // Busy or read-only: the lookups work without the indexes, only slower.
        return false;
    }
}

} // namespace tools
