#include "araclar/csv.h"

#include "platform/errors.h"

#include <QSaveFile>

namespace araclar {

namespace {
void appendField(QByteArray& out, const QString& text) {
    const bool quote = text.contains(u';') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    QByteArray utf8 = text.toUtf8();
    if (!quote) {
        out += utf8;
        return;
    }
    utf8.replace('"', "\"\"");
    out += '"';
    out += utf8;
    out += '"';
}

void appendLine(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += ';';
        appendField(out, fields[i]);
    }
    out += "\r\n";
}
} // namespace

QByteArray toCsv(const ReportTable& table) {
    QByteArray out("\xEF\xBB\xBF");
    appendLine(out, table.headers);
    QStringList fields;
    for (const QVariantList& row : table.rows) {
        fields.clear();
        for (const QVariant& cell : row)
            fields << cellText(cell);
        appendLine(out, fields);
    }
    return out;
}

void saveCsv(const ReportTable& table, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toCsv(table)) < 0 || !file.commit())
        throw platform::Error(QStringLiteral("'%1' yazılamadı (%2). Dosya Excel'de açıksa "
                                             "kapatın ya da başka bir ad veya klasör seçin.")
                                  .arg(path, file.errorString()));
}

} // namespace araclar
