#include "araclar/importoutput.h"

#include <QLocale>
#include <QRegularExpression>

namespace araclar {

namespace {

QString number(qint64 n) {
    return QLocale(QLocale::Turkish, QLocale::Turkey).toString(n);
}

QString tableName(const QString& table) {
    if (table == u"okuyucu")
        return QStringLiteral("Okuyucular (okuyucu)");
    if (table == u"kitapkayit")
        return QStringLiteral("Kitaplar (kitapkayit)");
    if (table == u"hareket")
        return QStringLiteral("Ödünçler (hareket)");
    return table;
}

QString turkishWarning(const QString& w) {
    struct Rule {
        const char* pattern;
        const char* turkish;
    };
    static const Rule rules[] = {
        {"^column '(.*)' is not one of the program's; skipped$",
         "'%1' sütunu programda yok; aktarılmadı"},
        {"^column '(.*)' holds (.*), which the program does not keep there; left empty$",
         "'%1' sütununda programın orada tutmadığı türde değerler (%2) var; boş bırakıldı"},
        {"^column '(.*)' is missing from the old table; new record codes given$",
         "'%1' sütunu eski tabloda yok; kayıtlara yeni kodlar verildi"},
        {"^column '(.*)' is missing from the old table; left empty$",
         "'%1' sütunu eski tabloda yok; boş bırakıldı"},
        {"^column '(.*)': (\\d+) text\\(s\\) longer than (\\d+) characters, kept whole$",
         "'%1' sütununda %3 karakterden uzun %2 metin var; tamamı aktarıldı"},
        {"^the Access reader remarked: (.*)$", "Access dosyası okunurken bir not düşüldü: %1"},
    };
    for (const Rule& rule : rules) {
        const QRegularExpression re(QString::fromUtf8(rule.pattern));
        const QRegularExpressionMatch m = re.match(w);
        if (!m.hasMatch())
            continue;
        QString out = QString::fromUtf8(rule.turkish);
        for (int i = 1; i <= re.captureCount(); ++i)
            out.replace(QStringLiteral("%%1").arg(i), m.captured(i));
        return out;
    }
    return w;
}

} // namespace

ImportLine parseImportLine(const QString& line) {
    static const QRegularExpression started(QStringLiteral("^Importing '.*' into '.*'$"));
    static const QRegularExpression progress(
        QStringLiteral("^(\\w+): (\\d+) rows so far\\.\\.\\.$"));
    static const QRegularExpression done(
        QStringLiteral("^(\\w+): (\\d+) rows read, (\\d+) written$"));
    static const QRegularExpression warning(QStringLiteral("^\\s+warning: (.*)$"));
    static const QRegularExpression finished(
        QStringLiteral("^Imported with (\\d+) warning\\(s\\): (.*)$"));
    ImportLine out;
    out.text = line;
    QRegularExpressionMatch m;
    if ((m = started.match(line)).hasMatch()) {
        out.kind = ImportLine::Started;
    } else if ((m = progress.match(line)).hasMatch()) {
        out.kind = ImportLine::Progress;
        out.table = m.captured(1);
        out.rows = m.captured(2).toLongLong();
    } else if ((m = done.match(line)).hasMatch()) {
        out.kind = ImportLine::TableDone;
        out.table = m.captured(1);
        out.rows = m.captured(2).toLongLong();
        out.written = m.captured(3).toLongLong();
    } else if ((m = warning.match(line)).hasMatch()) {
        out.kind = ImportLine::Warning;
        out.text = m.captured(1);
    } else if ((m = finished.match(line)).hasMatch()) {
        out.kind = ImportLine::Finished;
        out.rows = m.captured(1).toLongLong();
    }
    return out;
}

QString turkishImportLine(const ImportLine& line) {
    switch (line.kind) {
    case ImportLine::Started:
        return QStringLiteral("Aktarma başladı.");
    case ImportLine::Progress:
        return QStringLiteral("%1: şimdiye kadar %2 satır okundu…")
            .arg(tableName(line.table), number(line.rows));
    case ImportLine::TableDone:
        return QStringLiteral("%1: %2 satır okundu, %3 satır yazıldı.")
            .arg(tableName(line.table), number(line.rows), number(line.written));
    case ImportLine::Warning:
        return QStringLiteral("    Uyarı: ") + turkishWarning(line.text);
    case ImportLine::Finished:
        return line.rows == 0
                   ? QStringLiteral("Aktarma uyarısız tamamlandı.")
                   : QStringLiteral("Aktarma %1 uyarıyla tamamlandı.").arg(number(line.rows));
    case ImportLine::Other:
        break;
    }
    return line.text;
}

int importTableIndex(const QString& table) {
    if (table == u"okuyucu")
        return 0;
    if (table == u"kitapkayit")
        return 1;
    if (table == u"hareket")
        return 2;
    return -1;
}

} // namespace araclar
