#include "tools/readerimport.h"

#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/textrules.h"
#include "tools/loanstate.h"

#include <QSet>
#include <map>

namespace tools::lists {

using data::Value;
using data::sqlite::Database;
using data::sqlite::Statement;

namespace {

// The register's number as the import compares it with a pupil's.
QString numberKey(const QString& number) {
    const QString whole = wholeNumber(sheets::Cell::ofText(number));
    return whole.isEmpty() ? number.trimmed() : whole;
}

QString nameKey(const QString& name) {
    return platform::turkishUpper(name.simplified());
}

int columnSize(const char16_t* column) {
    return data::okuyucuTable().column(column)->size;
}

// The values of a pupil longer than their columns.
std::vector<Listed> tooLong(const Pupil& p) {
    std::vector<Listed> out;
    const auto check = [&](const char16_t* column, const QString& value) {
        const int size = columnSize(column);
        if (value.size() > size) {
            Listed l{p.at,  false, p.number, p.name, Issue::TooLong, QString::fromUtf16(column),
                     value, size};
            out.push_back(l);
        }
    };
    check(u"NUMARASI", p.number);
    check(u"ADISOYADI", p.name);
    check(u"OGRENIMDURUMU", p.klass);
    return out;
}

bool isPupilTitle(const QString& title) {
    return title.trimmed().isEmpty() ||
           sheets::headerKey(title) == sheets::headerKey(QString::fromUtf16(pupilTitle));
}

} // namespace

Register readRegister(const Database& db, const QString& school) {
    Register reg;
    const QString key = schoolKey(school);
    Statement st(db, QStringLiteral("select IDNO, ADISOYADI, NUMARASI, OGRENIMDURUMU, UNVANI, "
                                    "OKULU from okuyucu order by IDNO"));
    while (st.step()) {
        if (st.isNull(5) || schoolKey(st.text(5)) != key)
            continue;
        reg.readers.push_back({st.int64(0), st.text(1), st.text(2), st.text(3), st.text(4)});
    }
    return reg;
}

ReaderPlan planReaders(const PupilList& list, const QString& school, const Register& reg) {
    ReaderPlan plan;
    plan.school = school.simplified();
    std::map<QString, std::vector<size_t>> byNumber;
    for (size_t i = 0; i < reg.readers.size(); ++i) {
        const QString key = numberKey(reg.readers[i].number);
        if (!key.isEmpty())
            byNumber[key].push_back(i);
    }
    std::vector<bool> inLists(reg.readers.size(), false);
    const auto markListed = [&](const QString& number) {
        const auto it = byNumber.find(number);
        if (it != byNumber.end())
            for (const size_t i : it->second)
                inLists[i] = true;
    };
    for (const Listed& l : list.problems)
        (l.issue == Issue::ListedTwice || l.issue == Issue::NumberTwice ? plan.skipped
                                                                        : plan.problems)
            .push_back(l);
    for (const QString& number : list.withheld)
        markListed(number);
    for (const Pupil& p : list.pupils) {
        markListed(p.number);
        if (const std::vector<Listed> longer = tooLong(p); !longer.empty()) {
            plan.problems.insert(plan.problems.end(), longer.begin(), longer.end());
            continue;
        }
        const auto it = byNumber.find(p.number);
        if (it == byNumber.end()) {
            plan.added.push_back(p);
            continue;
        }
        if (it->second.size() > 1) {
            Listed l{p.at, false, p.number, p.name, Issue::RegisterTwice};
            l.value = QString::number(it->second.size());
            plan.skipped.push_back(l);
            continue;
        }
        const RegisterReader& r = reg.readers[it->second.front()];
        const Move m{p, r, {}};
        if (nameKey(r.name) != nameKey(p.name))
            plan.conflicts.push_back(m);
        else if (!p.klass.isEmpty() && p.klass != r.klass.simplified())
            plan.moved.push_back(m);
        else
            plan.unchanged.push_back(m);
    }
    for (size_t i = 0; i < reg.readers.size(); ++i) {
        const RegisterReader& r = reg.readers[i];
        if (inLists[i] || r.klass.simplified() == QStringView(leftSchool) || !isPupilTitle(r.title))
            continue;
        plan.leaving.push_back({r, {}});
    }
    return plan;
}

void readBooksOut(const Database& db, ReaderPlan& plan) {
    std::map<QByteArray, std::vector<BookOut>> out;
    for (const Move& m : plan.conflicts)
        out[m.reader.name.toUtf8()];
    for (const Leaver& l : plan.leaving)
        out[l.reader.name.toUtf8()];
    if (out.empty())
        return;
    Statement st(db, QStringLiteral("select O_ADI_SOYADI, DURUM, ADIGIKITAP, TESLIMTARIHI, "
                                    "GERIGETIRMETARIHI from hareket order by IDNO"));
    while (st.step()) {
        const auto it = out.find(st.utf8(0).toByteArray());
        if (it == out.end() || isReturnedStatus(st.utf8(1)))
            continue;
        it->second.push_back({st.text(2), storedDate(st.utf8(3)), storedDate(st.utf8(4))});
    }
    for (Move& m : plan.conflicts)
        m.booksOut = out[m.reader.name.toUtf8()];
    for (Leaver& l : plan.leaving)
        l.booksOut = out[l.reader.name.toUtf8()];
}

bool ReaderPlan::writesAs(const ReaderPlan& other) const {
    const auto samePupils = [](const std::vector<Pupil>& a, const std::vector<Pupil>& b) {
        return a == b;
    };
    const auto sameMoves = [](const std::vector<Move>& a, const std::vector<Move>& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (!(a[i].pupil == b[i].pupil) || !(a[i].reader == b[i].reader))
                return false;
        return true;
    };
    if (school != other.school || !samePupils(added, other.added) ||
        !sameMoves(moved, other.moved) || !sameMoves(conflicts, other.conflicts) ||
        leaving.size() != other.leaving.size())
        return false;
    for (size_t i = 0; i < leaving.size(); ++i)
        if (!(leaving[i].reader == other.leaving[i].reader))
            return false;
    return true;
}

ReaderWrite writeReaders(const QString& path, const PupilList& list, const ReaderPlan& previewed,
                         const ReaderChoices& choices, int busyMs, platform::Progress& progress) {
    const std::unique_ptr<data::sqlite::Database> connection =
        data::sqlite::openForWriting(path, busyMs);
    data::sqlite::Database& db = *connection;
    data::sqlite::WriteTransaction transaction(db);
    ReaderWrite done;
    const ReaderPlan plan = planReaders(list, previewed.school, readRegister(db, previewed.school));
    if (!plan.writesAs(previewed))
        throw ChangedMeanwhile(
            QStringLiteral("The readers of '%1' in '%2' changed after the preview (another "
                           "computer saved meanwhile); nothing was written. Preview again.")
                .arg(previewed.school, path));
    const qint64 total = static_cast<qint64>(plan.added.size() + plan.moved.size() +
                                             choices.acceptNames.size() + choices.markLeft.size());
    qint64 step = 0;
    progress.begin(total);

    const data::TableDef& table = data::okuyucuTable();
    const auto index = [&](const char16_t* column) {
        return static_cast<int>(table.column(column) - table.columns.data());
    };
    data::sqlite::RowInserter insert(db, table,
                                     {index(u"ADISOYADI"), index(u"OGRENIMDURUMU"), index(u"OKULU"),
                                      index(u"NUMARASI"), index(u"UNVANI")},
                                     data::sqlite::RowInserter::Rules::Strict);
    const Value title{QString::fromUtf16(pupilTitle)};
    for (const Pupil& p : plan.added) {
        insert.insert({Value(p.name), p.klass.isEmpty() ? Value() : Value(p.klass),
                       Value(plan.school), Value(p.number), title});
        ++done.added;
        progress.step(++step);
    }
    Statement setClass(db, QStringLiteral("update okuyucu set OGRENIMDURUMU = ?1 where IDNO = ?2"));
    const auto changeClass = [&](qint64 id, const QString& klass) {
        setClass.reset();
        setClass.bindText(1, klass);
        setClass.bindInt64(2, id);
        setClass.step();
    };
    for (const Move& m : plan.moved) {
        changeClass(m.reader.id, m.pupil.klass);
        ++done.moved;
        progress.step(++step);
    }
    Statement rename(db, QStringLiteral("update okuyucu set ADISOYADI = ?1 where IDNO = ?2"));
    for (const Move& m : plan.conflicts) {
        if (!choices.acceptNames.count(m.reader.id))
            continue;
        rename.reset();
        rename.bindText(1, m.pupil.name);
        rename.bindInt64(2, m.reader.id);
        rename.step();
        if (!m.pupil.klass.isEmpty() && m.pupil.klass != m.reader.klass.simplified())
            changeClass(m.reader.id, m.pupil.klass);
        ++done.renamed;
        progress.step(++step);
    }
    for (const Leaver& l : plan.leaving) {
        if (!choices.markLeft.count(l.reader.id))
            continue;
        changeClass(l.reader.id, QString::fromUtf16(leftSchool));
        ++done.markedLeft;
        progress.step(++step);
    }
    transaction.commit();
    return done;
}

} // namespace tools::lists
