#include "araclar/csv.h"

#include "araclar/messages.h"
#include "platform/errors.h"
#include "platform/savefile.h"
#include "platform/textrules.h"

#include <QDate>
#include <QSaveFile>
#include <charconv>

namespace araclar {

namespace {

// UTF-8 straight into `out`, without a text in between (most fields are short, many plain
// ASCII).
void appendUtf8(QByteArray& out, QStringView text) {
    const qsizetype old = out.size();
    out.resize(old + text.size() * 3); // the most UTF-8 a UTF-16 unit can take
    auto* to = reinterpret_cast<unsigned char*>(out.data() + old);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = text[i].unicode();
        if (c < 0x80) {
            *to++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *to++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *to++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t u =
                QChar::surrogateToUcs4(static_cast<char16_t>(c), text[++i].unicode());
            *to++ = static_cast<unsigned char>(0xF0 | (u >> 18));
            *to++ = static_cast<unsigned char>(0x80 | ((u >> 12) & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else {
            // A lone surrogate is written as the replacement character, as Qt's encoder does.
            const char32_t u = QChar::isSurrogate(c) ? char32_t(0xFFFD) : c;
            *to++ = static_cast<unsigned char>(0xE0 | (u >> 12));
            *to++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            *to++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        }
    }
    out.resize(reinterpret_cast<char*>(to) - out.data());
}

void appendText(QByteArray& out, QStringView text) {
    bool quote = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (qsizetype i = 0; !quote && i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        quote = c == u';' || c == u'"' || c == u'\n' || c == u'\r';
    }
    if (!quote) {
        appendUtf8(out, text);
        return;
    }
    out += '"';
    qsizetype from = 0;
    for (qsizetype q; (q = text.indexOf(u'"', from)) >= 0; from = q + 1) {
        appendUtf8(out, text.mid(from, q - from));
        out += "\"\"";
    }
    appendUtf8(out, text.mid(from));
    out += '"';
}

void appendCell(QByteArray& out, const QVariant& cell) {
    if (cell.isNull())
        return;
    switch (cell.typeId()) {
    case QMetaType::QDate: {
        char day[10];
        if (platform::dayDigits(cell.toDate(), day))
            out.append(day, 10);
        else
            appendText(out, cellText(cell));
        return;
    }
    case QMetaType::Int:
    case QMetaType::LongLong: {
        char digits[24];
        const auto done = std::to_chars(digits, digits + sizeof digits, cell.toLongLong());
        out.append(digits, done.ptr - digits);
        return;
    }
    case QMetaType::QString:
        appendText(out, cell.toString());
        return;
    default:
        appendText(out, cellText(cell));
    }
}

} // namespace

QByteArray toCsv(const ReportTable& table, platform::Progress& progress) {
    QByteArray out;
    out.reserve(64 + table.rows.size() * (table.headers.size() * 12 + 2));
    out += "\xEF\xBB\xBF";
    for (qsizetype c = 0; c < table.headers.size(); ++c) {
        if (c)
            out += ';';
        appendText(out, table.headers[c]);
    }
    out += "\r\n";
    progress.begin(table.rows.size());
    qsizetype done = 0;
    for (const QVariantList& row : table.rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c)
                out += ';';
            appendCell(out, row[c]);
        }
        out += "\r\n";
        progress.step(++done);
    }
    return out;
}

void saveCsv(const ReportTable& table, const QString& path, QWidget* parent) {
    const auto progress = choosers().progress(parent, QStringLiteral("Liste yazılıyor…"));
    writeFile(toCsv(table, *progress), path);
}

void writeFile(const QByteArray& bytes, const QString& path) {
    QSaveFile file(path);
    try {
        platform::openForOwner(file);
        if (file.write(bytes) < 0)
            throw platform::WriteError(path, file.errorString());
        platform::commitFile(file);
    } catch (const platform::WriteError& e) {
        throw platform::Error(QStringLiteral("'%1' yazılamadı (%2). Dosya Excel'de açıksa "
                                             "kapatın ya da başka bir ad veya klasör seçin.")
                                  .arg(path, e.reason()));
    }
}

} // namespace araclar
