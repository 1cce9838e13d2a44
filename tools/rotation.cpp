#include "tools/rotation.h"

#include "platform/errors.h"
#include "tools/backup.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <map>

namespace tools {

using platform::Error;

namespace {
const QString stampFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

int monthIndex(QDate d) {
    return d.year() * 12 + d.month() - 1;
}
} // namespace

QString rotationFileName(const QDateTime& when) {
    return QStringLiteral("DATA-") + when.toString(stampFormat) + QStringLiteral(".mdb");
}

std::optional<QDateTime> rotationTimeOf(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^DATA-(\\d{4}-\\d{2}-\\d{2}-\\d{6})\\.mdb$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime t = QDateTime::fromString(m.captured(1), stampFormat);
    if (!t.isValid())
        return std::nullopt;
    return t;
}

QStringList rotationDeletions(const QStringList& fileNames, QDate today, RotationPolicy policy) {
    std::vector<std::pair<QDateTime, QString>> files;
    for (const QString& name : fileNames)
        if (const auto t = rotationTimeOf(name))
            files.emplace_back(*t, name);
    // Newest first: the first file met for a day or a month is the one that stays.
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    std::map<qint64, bool> dayTaken;
    std::map<int, bool> monthTaken;
    const qint64 firstDay = today.toJulianDay() - policy.keepDays + 1;
    const int firstMonth = monthIndex(today) - policy.keepMonths + 1;
    QStringList deletions;
    for (size_t i = 0; i < files.size(); ++i) {
        const QDate d = files[i].first.date();
        bool keep = i == 0 || d > today;
        const qint64 day = d.toJulianDay();
        if (day >= firstDay && day <= today.toJulianDay() && !dayTaken[day]) {
            dayTaken[day] = true;
            keep = true;
        }
        const int month = monthIndex(d);
        if (month >= firstMonth && month <= monthIndex(today) && !monthTaken[month]) {
            monthTaken[month] = true;
            keep = true;
        }
        if (!keep)
            deletions << files[i].second;
    }
    return deletions;
}

QStringList rotationFiles(const QString& folder) {
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        if (rotationTimeOf(name))
            names << name;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return *rotationTimeOf(a) > *rotationTimeOf(b);
    });
    return names;
}

RotatedBackup backupInto(const QString& source, const QString& folder, const QDateTime& now,
                         RotationPolicy policy) {
    if (!QDir().mkpath(folder))
        throw Error(QStringLiteral("Cannot create the folder '%1'").arg(folder));
    RotatedBackup result;
    result.path = QDir(folder).filePath(rotationFileName(now));
    // The backup checks its copy and throws when the copy is not sound: then no old backup is
    // deleted, and the copy stays, as it may still be the best there is.
    backupDatabase(source, result.path);
    const QDir dir(folder);
    for (const QString& name : rotationDeletions(rotationFiles(folder), now.date(), policy))
        if (QFile::remove(dir.filePath(name)))
            result.deleted << dir.filePath(name);
    return result;
}

} // namespace tools
