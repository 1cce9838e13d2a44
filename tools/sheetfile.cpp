#include "tools/sheetfile.h"

#include <QFile>
#include <QFileInfo>

namespace tools::sheets {

namespace {

constexpr char compoundSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// Whether the bytes read as text: no byte below the blank but the tab, the line ends, the form
// feed and DOS's end-of-file mark (a UTF-16 text is known by its byte-order mark first).
bool looksLikeText(QByteArrayView bytes) {
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            return false;
    }
    return true;
}

// What the first bytes of a file that is no spreadsheet say it is, for the message.
QString whatItIs(QByteArrayView head) {
    if (head.startsWith("%PDF"))
        return QStringLiteral("it is a PDF document");
    if (head.startsWith("\x89PNG"))
        return QStringLiteral("it is a PNG picture");
    if (head.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("it is a JPEG picture");
    if (head.startsWith("{\\rtf"))
        return QStringLiteral("it is an RTF document");
    if (head.startsWith("<") || head.startsWith("\xEF\xBB\xBF<"))
        return QStringLiteral("it is a web page or an XML file");
    return QString();
}

class Collector : public Sink {
public:
    explicit Collector(Workbook& book) : book_(book) {}
    void workbook(Format format, bool date1904) override {
        book_.format = format;
        book_.date1904 = date1904;
    }
    void sheet(const QString& name) override { book_.sheets.push_back({name, {}}); }
    void row(const Row& row) override { book_.sheets.back().rows.push_back(row); }

private:
    Workbook& book_;
};

} // namespace

void Budget::row(int index) {
    if (index < 0 || index >= mostRows)
        refuse(Fault::Damaged, path_, QStringLiteral("a row beyond row %1").arg(mostRows));
}

void Budget::cell(int column, const Cell& cell) {
    if (column < 0 || column >= mostColumns)
        refuse(Fault::Damaged, path_, QStringLiteral("a column beyond column %1").arg(mostColumns));
    textBytes_ += 2 * cell.text.size();
    if (++cells_ > mostCells)
        refuse(Fault::TooLarge, path_, QStringLiteral("more than %1 filled cells").arg(mostCells));
    if (textBytes_ > mostTextBytes)
        refuse(Fault::TooLarge, path_,
               QStringLiteral("more than %1 MB of text").arg(mostTextBytes >> 20));
}

void readFile(const QString& path, Sink& sink) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        refuse(Fault::Missing, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(Fault::AccessDenied, path, file.errorString());
    if (file.size() == 0)
        refuse(Fault::Empty, path);
    const QByteArray head = file.read(4096);
    if (head.startsWith(QByteArrayView(compoundSignature, 8))) {
        // An Office file encrypted with a password is a compound file whose stream
        // "EncryptedPackage" holds the encrypted workbook; its name stands in the directory.
        file.seek(0);
        QByteArray utf16le;
        for (const char c : QByteArrayView("EncryptedPackage"))
            utf16le.append(c).append('\0');
        QByteArray last;
        for (QByteArray piece; !(piece = file.read(1 << 20)).isEmpty(); last = piece.right(64))
            if ((last + piece).contains(utf16le))
                refuse(Fault::Encrypted, path);
        file.close();
        readXls(path, sink);
        return;
    }
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        file.close();
        readXlsx(path, sink);
        return;
    }
    const bool utf16 = head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF");
    if (utf16 || looksLikeText(head)) {
        // A list of text is small: a school's pupils or books fit in some megabytes.
        if (file.size() > mostTextBytes)
            refuse(Fault::TooLarge, path);
        file.seek(0);
        const QByteArray bytes = file.readAll();
        if (!utf16 && !looksLikeText(bytes))
            refuse(Fault::NotASpreadsheet, path);
        readCsv(path, bytes, info.completeBaseName(), sink);
        return;
    }
    refuse(Fault::NotASpreadsheet, path, whatItIs(head));
}

Workbook readWorkbook(const QString& path) {
    Workbook book;
    book.path = path;
    Collector collector(book);
    readFile(path, collector);
    return book;
}

} // namespace tools::sheets
