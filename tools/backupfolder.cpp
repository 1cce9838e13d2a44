#include "tools/backupfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>

namespace tools {

namespace {

const QString stampFormat = QStringLiteral("yyyy-MM-dd-HHmmss");
const QString indexName = QStringLiteral("yedekler.ini");

QString prefixOf(BackupKind kind) {
    switch (kind) {
    case BackupKind::Rotation:
        return QStringLiteral("DATA");
    case BackupKind::BeforeRestore:
        return QStringLiteral("DATA-geri-yukleme-oncesi");
    case BackupKind::Damaged:
        return QStringLiteral("DATA-bozuk");
    case BackupKind::Failed:
        return QStringLiteral("DATA-SORUNLU");
    }
    return QStringLiteral("DATA");
}

QString stateText(CheckState state) {
    switch (state) {
    case CheckState::Sound:
        return QStringLiteral("saglam");
    case CheckState::Problems:
        return QStringLiteral("sorunlu");
    case CheckState::Unknown:
        break;
    }
    return QString();
}

// INI keys are file names: kept apart from QSettings' own use of "/" and "\".
QString group(const QString& fileName) {
    return QStringLiteral("yedek-") + QString::fromLatin1(fileName.toUtf8().toHex());
}

} // namespace

QString stampText(const QDateTime& when) {
    return when.toString(stampFormat);
}

QString freeFileName(const QString& folder, const QString& prefix, const QDateTime& when) {
    const QDir dir(folder);
    const QString base = prefix + u'-' + stampText(when);
    QString name = base + QStringLiteral(".mdb");
    for (int n = 2;
         QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = base + u'-' + QString::number(n) + QStringLiteral(".mdb");
    return name;
}

QString backupFileName(const QString& folder, BackupKind kind, const QDateTime& when) {
    return freeFileName(folder, prefixOf(kind), when);
}

std::optional<BackupName> parseBackupName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^DATA(-geri-yukleme-oncesi|-bozuk|-SORUNLU)?-"
                       "(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-([2-9]|[1-9]\\d{1,5}))?\\.mdb$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime made = QDateTime::fromString(m.captured(2), stampFormat);
    if (!made.isValid())
        return std::nullopt;
    BackupName name{BackupKind::Rotation, made, 1};
    const QString kind = m.captured(1);
    if (kind == u"-geri-yukleme-oncesi")
        name.kind = BackupKind::BeforeRestore;
    else if (kind == u"-bozuk")
        name.kind = BackupKind::Damaged;
    else if (kind == u"-SORUNLU")
        name.kind = BackupKind::Failed;
    if (!m.captured(3).isEmpty())
        name.sequence = m.captured(3).toInt();
    return name;
}

std::vector<BackupEntry> backupEntries(const QString& folder) {
    std::vector<BackupEntry> entries;
    if (folder.isEmpty())
        return entries;
    const QDir dir(folder);
    const QSettings index(dir.filePath(indexName), QSettings::IniFormat);
    std::vector<int> sequence;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        const auto name = parseBackupName(file.fileName());
        if (!name)
            continue;
        BackupEntry e{file.fileName(), name->kind, name->made,
                      file.size(),     QString(),  CheckState::Unknown};
        const QString g = group(file.fileName());
        e.source = index.value(g + QStringLiteral("/kaynak")).toString();
        const QString check = index.value(g + QStringLiteral("/denetim")).toString();
        e.check = check == u"saglam"    ? CheckState::Sound
                  : check == u"sorunlu" ? CheckState::Problems
                                        : CheckState::Unknown;
        if (e.kind == BackupKind::Failed)
            e.check = CheckState::Problems;
        entries.push_back(e);
        sequence.push_back(name->sequence);
    }
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (entries[a].made != entries[b].made)
            return entries[a].made > entries[b].made;
        if (sequence[a] != sequence[b])
            return sequence[a] > sequence[b];
        return entries[a].fileName < entries[b].fileName;
    });
    std::vector<BackupEntry> sorted;
    sorted.reserve(entries.size());
    for (const size_t i : order)
        sorted.push_back(entries[i]);
    return sorted;
}

void noteBackup(const QString& folder, const QString& fileName, const QString& source,
                CheckState check) {
    QSettings index(QDir(folder).filePath(indexName), QSettings::IniFormat);
    const QString g = group(fileName);
    if (!source.isEmpty())
        index.setValue(g + QStringLiteral("/kaynak"), source);
    if (check != CheckState::Unknown)
        index.setValue(g + QStringLiteral("/denetim"), stateText(check));
    index.setValue(g + QStringLiteral("/dosya"), fileName);
    index.sync();
}

void forgetBackup(const QString& folder, const QString& fileName) {
    QSettings index(QDir(folder).filePath(indexName), QSettings::IniFormat);
    index.remove(group(fileName));
    index.sync();
}

QString libraryIdentity(const QString& databasePath) {
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(databasePath).absoluteFilePath()));
}

bool sameLibrary(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace tools
