#include "data/connectionstring.h"

#include <QDir>

namespace data {

QString executableDirectory(const QString& executablePath) {
    const QString path = QDir::fromNativeSeparators(executablePath);
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0)
        return QString();
    return QDir::toNativeSeparators(path.left(cut == 0 ? 1 : cut));
}

QString connectionString(const QString& executableDir) {
    QString source = executableDir + QStringLiteral("\\DATA.mdb");
    if (source.contains(QLatin1Char(';')) || source.startsWith(QLatin1Char('"')) ||
        source.startsWith(QLatin1Char('\''))) {
        source.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        source = QLatin1Char('"') + source + QLatin1Char('"');
    }
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + source +
           QStringLiteral(";Persist Security Info=False");
}

QString dataSourceOf(const QString& cs) {
    // Properties are "name=value" separated by ";"; a value may be quoted with " or ', the
    // quote doubled inside it.
    qsizetype i = 0;
    const qsizetype n = cs.size();
    while (i < n) {
        while (i < n && (cs[i] == u';' || cs[i].isSpace()))
            ++i;
        const qsizetype eq = cs.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString name = cs.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && cs[i] == u' ')
            ++i;
        QString value;
        if (i < n && (cs[i] == u'"' || cs[i] == u'\'')) {
            const QChar quote = cs[i++];
            while (i < n) {
                if (cs[i] == quote) {
                    if (i + 1 < n && cs[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += cs[i++];
            }
            while (i < n && cs[i] != u';')
                ++i;
        } else {
            const qsizetype end = cs.indexOf(QLatin1Char(';'), i);
            value = cs.mid(i, end < 0 ? -1 : end - i).trimmed();
            i = end < 0 ? n : end;
        }
        if (name.compare(QStringLiteral("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
    }
    return QString();
}

QString databaseFilePath(const QString& dataSource) {
    const qsizetype cut = dataSource.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0)
        return dataSource;
    const QString dir = dataSource.left(cut);
    const QString file = dataSource.mid(cut + 1);
    if (dir.isEmpty())
        return QDir::separator() + file;
    return dir + QDir::separator() + file;
}

} // namespace data
