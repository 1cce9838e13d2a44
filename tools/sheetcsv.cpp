// A list a school typed itself and saved as text: decoded with Qt's decoders, its fields
// taken apart as Excel writes them.

#include "tools/sheetfile.h"

#include <QStringDecoder>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tools::sheets {

namespace {

// Windows-1254 (Turkish): through Qt's decoder where Qt has it (with ICU, as on Debian), else
// through the system's own code-page conversion.
QString fromWindows1254(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1254");
    if (decoder.isValid())
        return decoder.decode(bytes);
#ifdef Q_OS_WIN
    if (bytes.isEmpty())
        return QString();
    const int n =
        MultiByteToWideChar(1254, 0, bytes.constData(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1254, 0, bytes.constData(), static_cast<int>(bytes.size()), wide.data(), n);
    return QString::fromStdWString(wide);
#else
    return QString::fromLatin1(bytes); // not reached with Qt built with ICU
#endif
}

QString decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringConverter::Utf16); // the byte-order mark says which way
        return utf16.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1254(bytes);
}

// The separator the first line that holds anything uses most, outside quotes: ";" (Excel's on
// a Turkish Windows), a tab, or ",".
QChar separatorOf(QStringView text) {
    int semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false, any = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (quoted)
            continue;
        if ((c == u'\n' || c == u'\r') && any)
            break;
        if (!c.isSpace())
            any = true;
        semicolons += c == u';';
        tabs += c == u'\t';
        commas += c == u',';
    }
    if (semicolons >= tabs && semicolons >= commas && semicolons > 0)
        return u';';
    if (tabs >= commas && tabs > 0)
        return u'\t';
    return u',';
}

} // namespace

void readCsv(const QString& path, const QByteArray& bytes, const QString& name, Sink& sink) {
    const QString text = decode(bytes);
    const QChar separator = separatorOf(text);
    sink.workbook(Format::Csv, false);
    sink.sheet(name);
    Budget budget(path);
    Row row;
    int column = 0;
    QString field;
    bool quoted = false, wasQuoted = false;
    const auto endField = [&] {
        if (!field.isEmpty()) {
            Cell cell = Cell::ofText(field);
            budget.cell(column, cell);
            row.cells.emplace_back(column, std::move(cell));
        }
        field.clear();
        wasQuoted = false;
        ++column;
    };
    const auto endRow = [&] {
        endField();
        if (!row.cells.empty())
            sink.row(row);
        row = Row{row.index + 1, {}};
        budget.row(row.index);
        column = 0;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else if (c == u'\n') {
            endRow();
        } else if (c != u'\x1A') { // DOS's end-of-file mark
            field += c;
        }
    }
    if (quoted)
        refuse(Fault::Damaged, path, QStringLiteral("a quoted field runs to the end of the file"));
    endRow();
}

} // namespace tools::sheets
