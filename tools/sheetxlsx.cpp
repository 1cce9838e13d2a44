// .xlsx: the archive through minizip (zlib's own), read through QFile so that any file name
// opens on every platform; the workbook, the shared strings, the styles and each sheet through
// QXmlStreamReader, fed piece by piece as the archive inflates them.

#include "tools/sheetfile.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <cstring>
#include <unzip.h>

namespace tools::sheets {

namespace {

// The most one part of the archive may inflate to: far beyond a school's lists (10,000 books
// make a sheet of some megabytes), short of a file made to inflate without end.
constexpr qint64 mostPartBytes = 512ll << 20;

// minizip's file functions over a QFile.
voidpf openFile(voidpf opaque, const void*, int) {
    return opaque;
}
uLong readFile(voidpf, voidpf stream, void* buf, uLong size) {
    const qint64 n =
        static_cast<QFile*>(stream)->read(static_cast<char*>(buf), static_cast<qint64>(size));
    return n < 0 ? 0 : static_cast<uLong>(n);
}
uLong writeFile(voidpf, voidpf, const void*, uLong) {
    return 0;
}
ZPOS64_T tellFile(voidpf, voidpf stream) {
    return static_cast<ZPOS64_T>(static_cast<QFile*>(stream)->pos());
}
long seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<QFile*>(stream);
    qint64 to = static_cast<qint64>(offset);
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        to += file->pos();
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        to += file->size();
    return to >= 0 && to <= file->size() && file->seek(to) ? 0 : -1;
}
int closeFile(voidpf, voidpf) {
    return 0;
}
int fileError(voidpf, voidpf stream) {
    return static_cast<QFile*>(stream)->error() == QFileDevice::NoError ? 0 : 1;
}

// The archive, open for as long as it lives.
class Archive {
public:
    Archive(const QString& path) : path_(path), file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            refuse(Fault::AccessDenied, path, file_.errorString());
        zlib_filefunc64_def functions = {};
        functions.zopen64_file = openFile;
        functions.zread_file = readFile;
        functions.zwrite_file = writeFile;
        functions.ztell64_file = tellFile;
        functions.zseek64_file = seekFile;
        functions.zclose_file = closeFile;
        functions.zerror_file = fileError;
        functions.opaque = &file_;
        zip_ = unzOpen2_64(&file_, &functions);
        if (!zip_)
            refuse(Fault::Damaged, path, QStringLiteral("its archive's directory cannot be read"));
    }
    ~Archive() {
        if (open_)
            unzCloseCurrentFile(zip_);
        unzClose(zip_);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    const QString& path() const { return path_; }

    bool has(const QString& part) {
        return unzLocateFile(zip_, part.toUtf8().constData(), 2) == UNZ_OK;
    }

    // Opens the part `part` for reading; false when there is none.
    bool open(const QString& part) {
        close();
        if (!has(part))
            return false;
        unz_file_info64 info = {};
        if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            damaged(part);
        if (info.flag & 1)
            refuse(Fault::Encrypted, path_);
        if (unzOpenCurrentFile(zip_) != UNZ_OK)
            damaged(part);
        open_ = true;
        inflated_ = 0;
        part_ = part;
        return true;
    }

    // The next piece of the open part; empty at its end.
    QByteArray read() {
        char buffer[1 << 16];
        const int n = unzReadCurrentFile(zip_, buffer, sizeof buffer);
        if (n < 0)
            damaged(part_);
        if (n == 0) {
            close();
            return QByteArray();
        }
        inflated_ += n;
        if (inflated_ > mostPartBytes)
            refuse(Fault::TooLarge, path_,
                   QStringLiteral("'%1' inflates to more than %2 MB")
                       .arg(part_)
                       .arg(mostPartBytes >> 20));
        return QByteArray(buffer, n);
    }

    [[noreturn]] void damaged(const QString& part) {
        refuse(Fault::Damaged, path_, QStringLiteral("its part '%1' cannot be read").arg(part));
    }

private:
    void close() {
        if (!open_)
            return;
        open_ = false;
        if (unzCloseCurrentFile(zip_) != UNZ_OK) // a wrong check sum shows here
            damaged(part_);
    }

    QString path_;
    QFile file_;
    unzFile zip_ = nullptr;
    bool open_ = false;
    qint64 inflated_ = 0;
    QString part_;
};

// One part of the archive read as XML, fed as it inflates.
class PartXml {
public:
    PartXml(Archive& archive, const QString& part) : archive_(archive), part_(part) {
        if (!archive_.open(part))
            archive_.damaged(part);
    }

    QXmlStreamReader::TokenType next() {
        for (;;) {
            const QXmlStreamReader::TokenType t = xml_.readNext();
            if (t == QXmlStreamReader::Invalid &&
                xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError && !ended_) {
                const QByteArray more = archive_.read();
                if (more.isEmpty())
                    ended_ = true;
                else
                    xml_.addData(more);
                continue;
            }
            if (t == QXmlStreamReader::Invalid)
                refuse(Fault::Damaged, archive_.path(),
                       QStringLiteral("its part '%1' is no sound XML (line %2: %3)")
                           .arg(part_)
                           .arg(xml_.lineNumber())
                           .arg(xml_.errorString()));
            return t;
        }
    }
    bool atEnd() const { return xml_.tokenType() == QXmlStreamReader::EndDocument; }
    QXmlStreamReader& xml() { return xml_; }

    // The text inside the current element up to its end (its runs' texts joined, as in a
    // shared string with rich text; phonetic runs left out).
    QString text() {
        QString out;
        int depth = 1;
        bool phonetic = false;
        while (depth > 0) {
            switch (next()) {
            case QXmlStreamReader::StartElement:
                ++depth;
                if (xml_.name() == u"rPh")
                    phonetic = true;
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                if (xml_.name() == u"rPh")
                    phonetic = false;
                break;
            case QXmlStreamReader::Characters:
                if (!phonetic)
                    out += xml_.text();
                break;
            case QXmlStreamReader::EndDocument:
                refuse(Fault::Damaged, archive_.path(),
                       QStringLiteral("its part '%1' ends inside an element").arg(part_));
            default:
                break;
            }
        }
        return out;
    }

private:
    Archive& archive_;
    QString part_;
    QXmlStreamReader xml_;
    bool ended_ = false;
};

// Where a relationship's target lies in the archive (relative to the folder "xl/", or from
// the archive's root when it begins with "/").
QString partName(const QString& target) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList parts = QStringLiteral("xl").split(u'/');
    for (const QString& p : target.split(u'/')) {
        if (p == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!p.isEmpty() && p != u".") {
            parts << p;
        }
    }
    return parts.join(u'/');
}

// Whether a number format shows a date (or a time): one of Excel's built-in date formats, or a
// format of its own whose code, without its quoted texts, escaped characters and bracketed
// parts, holds a d, m, y, h or s.
bool isDateFormat(int id, const QString& code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
        (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    bool quoted = false, bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (bracket) {
            bracket = c != u']';
            continue;
        }
        if (c == u'"')
            quoted = true;
        else if (c == u'[')
            bracket = true;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i; // the next character stands for itself
        else if (QStringLiteral("dmyhsDMYHS").contains(c))
            return true;
    }
    return false;
}

// "B3" → column 1, row 2; false when it is no cell reference within the sheet's limits.
bool cellReference(QStringView ref, int& column, int& row) {
    qsizetype i = 0;
    qint64 c = 0, r = 0;
    while (i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z' && c <= mostColumns)
        c = c * 26 + (ref[i++].unicode() - u'A' + 1);
    const qsizetype letters = i;
    while (i < ref.size() && ref[i] >= u'0' && ref[i] <= u'9' && r <= mostRows)
        r = r * 10 + (ref[i++].unicode() - u'0');
    if (letters == 0 || i != ref.size() || i == letters || c > mostColumns || r < 1 || r > mostRows)
        return false;
    column = static_cast<int>(c - 1);
    row = static_cast<int>(r - 1);
    return true;
}

struct SheetPart {
    QString name;
    QString part;
};

class XlsxReader {
public:
    XlsxReader(const QString& path, Sink& sink) : archive_(path), sink_(sink), budget_(path) {}

    void read() {
        if (!archive_.has(QStringLiteral("xl/workbook.xml"))) {
            if (archive_.has(QStringLiteral("mimetype")) &&
                archive_.has(QStringLiteral("content.xml")))
                refuse(Fault::NotASpreadsheet, archive_.path(),
                       QStringLiteral("it is an OpenDocument file: save it as .xlsx"));
            if (archive_.has(QStringLiteral("word/document.xml")))
                refuse(Fault::NotASpreadsheet, archive_.path(),
                       QStringLiteral("it is a Word document"));
            refuse(Fault::NotASpreadsheet, archive_.path(),
                   QStringLiteral("a zip archive without a workbook"));
        }
        const std::vector<SheetPart> sheets = readWorkbook();
        readStrings();
        readStyles();
        sink_.workbook(Format::Xlsx, date1904_);
        for (const SheetPart& s : sheets) {
            sink_.sheet(s.name);
            readSheet(s.part);
        }
    }

private:
    std::vector<SheetPart> readWorkbook() {
        QHash<QString, QString> targets; // relationship id → part
        if (archive_.has(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
            PartXml rels(archive_, QStringLiteral("xl/_rels/workbook.xml.rels"));
            while (rels.next() != QXmlStreamReader::EndDocument)
                if (rels.xml().isStartElement() && rels.xml().name() == u"Relationship") {
                    const auto a = rels.xml().attributes();
                    targets.insert(a.value(QLatin1StringView("Id")).toString(),
                                   partName(a.value(QLatin1StringView("Target")).toString()));
                }
        }
        std::vector<SheetPart> sheets;
        PartXml book(archive_, QStringLiteral("xl/workbook.xml"));
        while (book.next() != QXmlStreamReader::EndDocument) {
            if (!book.xml().isStartElement())
                continue;
            const auto a = book.xml().attributes();
            if (book.xml().name() == u"workbookPr") {
                const QStringView v = a.value(QLatin1StringView("date1904"));
                date1904_ = v == u"1" || v == u"true";
            } else if (book.xml().name() == u"sheet") {
                QString id;
                for (const QXmlStreamAttribute& attribute : a)
                    if (attribute.name() == u"id") // r:id, whatever its prefix
                        id = attribute.value().toString();
                const QString part = targets.value(id);
                if (part.isEmpty() || !archive_.has(part))
                    continue; // a chart sheet or a sheet the archive lacks
                sheets.push_back({a.value(QLatin1StringView("name")).toString(), part});
            }
        }
        if (sheets.empty())
            refuse(Fault::Damaged, archive_.path(), QStringLiteral("its workbook names no sheet"));
        return sheets;
    }

    void readStrings() {
        if (!archive_.has(QStringLiteral("xl/sharedStrings.xml")))
            return;
        PartXml xml(archive_, QStringLiteral("xl/sharedStrings.xml"));
        qint64 bytes = 0;
        while (xml.next() != QXmlStreamReader::EndDocument) {
            if (!xml.xml().isStartElement() || xml.xml().name() != u"si")
                continue;
            strings_.push_back(xml.text());
            bytes += 2 * strings_.back().size();
            if (static_cast<qint64>(strings_.size()) > mostCells || bytes > mostTextBytes)
                refuse(Fault::TooLarge, archive_.path(),
                       QStringLiteral("its shared strings are beyond the limits of a list"));
        }
    }

    void readStyles() {
        if (!archive_.has(QStringLiteral("xl/styles.xml")))
            return;
        QHash<int, QString> codes;
        std::vector<int> formats;
        PartXml xml(archive_, QStringLiteral("xl/styles.xml"));
        bool inCellXfs = false;
        while (xml.next() != QXmlStreamReader::EndDocument) {
            const QStringView name = xml.xml().name();
            if (xml.xml().isEndElement() && name == u"cellXfs")
                inCellXfs = false;
            if (!xml.xml().isStartElement())
                continue;
            const auto a = xml.xml().attributes();
            if (name == u"numFmt")
                codes.insert(a.value(QLatin1StringView("numFmtId")).toInt(),
                             a.value(QLatin1StringView("formatCode")).toString());
            else if (name == u"cellXfs")
                inCellXfs = true;
            else if (name == u"xf" && inCellXfs) {
                formats.push_back(a.value(QLatin1StringView("numFmtId")).toInt());
                if (static_cast<qint64>(formats.size()) > mostCells)
                    refuse(Fault::TooLarge, archive_.path(),
                           QStringLiteral("its styles are beyond the limits of a list"));
            }
        }
        dateStyles_.reserve(formats.size());
        for (const int id : formats)
            dateStyles_.push_back(isDateFormat(id, codes.value(id)));
    }

    void readSheet(const QString& part) {
        PartXml xml(archive_, part);
        Row row;
        int nextRow = 0, nextColumn = 0;
        bool inRow = false;
        while (xml.next() != QXmlStreamReader::EndDocument) {
            const QStringView name = xml.xml().name();
            if (xml.xml().isEndElement() && name == u"row" && inRow) {
                inRow = false;
                if (!row.cells.empty())
                    sink_.row(row);
                continue;
            }
            if (!xml.xml().isStartElement())
                continue;
            if (name == u"row") {
                const QStringView r = xml.xml().attributes().value(QLatin1StringView("r"));
                int index = nextRow;
                if (!r.isEmpty()) {
                    bool ok = false;
                    index = r.toInt(&ok) - 1;
                    if (!ok)
                        index = -1;
                }
                budget_.row(index);
                row = Row{index, {}};
                nextRow = index + 1;
                nextColumn = 0;
                inRow = true;
            } else if (name == u"c" && inRow) {
                readCell(xml, row, nextColumn);
            }
        }
    }

    void readCell(PartXml& xml, Row& row, int& nextColumn) {
        const auto a = xml.xml().attributes();
        int column = nextColumn, rowIndex = row.index;
        const QStringView ref = a.value(QLatin1StringView("r"));
        if (!ref.isEmpty() && (!cellReference(ref, column, rowIndex) || rowIndex != row.index))
            refuse(Fault::Damaged, archive_.path(),
                   QStringLiteral("a cell '%1' out of its row or the sheet").arg(ref.toString()));
        nextColumn = column + 1;
        const QString type = a.value(QLatin1StringView("t")).toString();
        bool styleOk = false;
        const int style = a.value(QLatin1StringView("s")).toInt(&styleOk);
        QString value, inlineText;
        bool hasValue = false, hasInline = false;
        int depth = 1;
        while (depth > 0) {
            switch (xml.next()) {
            case QXmlStreamReader::StartElement:
                if (xml.xml().name() == u"v") {
                    value = xml.text();
                    hasValue = true;
                } else if (xml.xml().name() == u"is") {
                    inlineText = xml.text();
                    hasInline = true;
                } else {
                    ++depth;
                }
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            case QXmlStreamReader::EndDocument:
                refuse(Fault::Damaged, archive_.path(), QStringLiteral("a sheet ends in a cell"));
            default:
                break;
            }
        }
        Cell cell;
        if (type == u"s") {
            bool ok = false;
            const qint64 i = value.toLongLong(&ok);
            if (!hasValue || !ok || i < 0 || i >= static_cast<qint64>(strings_.size()))
                refuse(Fault::Damaged, archive_.path(),
                       QStringLiteral("a cell names a shared string that is not there"));
            cell = Cell::ofText(strings_[static_cast<size_t>(i)]);
        } else if (type == u"inlineStr") {
            if (!hasInline)
                return;
            cell = Cell::ofText(inlineText);
        } else if (type == u"str") {
            cell = Cell::ofText(value);
        } else if (type == u"e" || !hasValue) {
            return; // an error value (#N/A) or an empty cell
        } else if (type == u"d") {
            const std::optional<platform::DateTime> dt =
                platform::DateTime::fromIso(QString(value).replace(u'T', u' '));
            if (!dt)
                return;
            cell = Cell::ofDate(dt->days());
        } else {
            bool ok = false;
            const double v = value.toDouble(&ok);
            if (!ok)
                refuse(Fault::Damaged, archive_.path(),
                       QStringLiteral("a number cell holds '%1'").arg(value.left(40)));
            cell = Cell::ofNumber(v);
            if ((type.isEmpty() || type == u"n") && styleOk && style >= 0 &&
                static_cast<size_t>(style) < dateStyles_.size() &&
                dateStyles_[static_cast<size_t>(style)])
                if (const std::optional<double> days = serialToDays(v, date1904_))
                    cell = Cell::ofDate(*days);
        }
        if (cell.kind == Cell::Kind::Text && cell.text.isEmpty())
            return;
        budget_.cell(column, cell);
        row.cells.emplace_back(column, std::move(cell));
    }

    Archive archive_;
    Sink& sink_;
    Budget budget_;
    bool date1904_ = false;
    std::vector<QString> strings_;
    std::vector<bool> dateStyles_;
};

} // namespace

void readXlsx(const QString& path, Sink& sink) {
    XlsxReader(path, sink).read();
}

} // namespace tools::sheets
