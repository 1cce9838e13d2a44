#include "tools/cli.h"

namespace tools::cli {

namespace {
void write(FILE* stream, const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stream);
    std::fflush(stream);
}
} // namespace

void out(const QString& line) {
    write(stdout, line);
}

void err(const QString& line) {
    write(stderr, line);
}

std::optional<int> count(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

Arguments parse(const QString& command, const QStringList& args, const QStringList& flags,
                const QStringList& valued) {
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(u"--")) {
            a.positional << arg;
            continue;
        }
        if (!flags.contains(arg) && !valued.contains(arg))
            throw UsageError(QStringLiteral("%1: unexpected argument '%2'").arg(command, arg));
        if (a.has(arg))
            throw UsageError(QStringLiteral("%1: %2 given twice").arg(command, arg));
        if (flags.contains(arg)) {
            a.options[arg] = QString();
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].isEmpty())
            throw UsageError(QStringLiteral("%1: %2 needs a value").arg(command, arg));
        a.options[arg] = args[++i];
    }
    return a;
}

void requirePositional(const QString& command, const Arguments& a, const QStringList& names) {
    for (qsizetype i = 0; i < names.size(); ++i)
        if (a.positional.size() <= i || a.positional[i].isEmpty())
            throw UsageError(QStringLiteral("%1: missing %2").arg(command, names[i]));
    if (a.positional.size() > names.size())
        throw UsageError(QStringLiteral("%1: unexpected argument '%2'")
                             .arg(command, a.positional[names.size()]));
}

} // namespace tools::cli
