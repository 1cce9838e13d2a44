// Excel 97-2003 (BIFF, in a compound file) through FreeXL.

#include "tools/sheetfile.h"

#include <QDir>
#include <QFile>
#include <freexl.h>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tools::sheets {

namespace {

// The name FreeXL opens the file by: it takes a narrow path. On Windows that is the system's
// code page (Windows-1254 on a Turkish Windows, which holds the Turkish letters); a path it
// cannot spell is given by its short 8.3 form.
QByteArray narrowPath(const QString& path) {
#ifdef Q_OS_WIN
    const QByteArray local = path.toLocal8Bit();
    if (QString::fromLocal8Bit(local) == path)
        return local;
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    wchar_t shortPath[MAX_PATH * 2];
    const DWORD n = GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2)
        return QString::fromWCharArray(shortPath, static_cast<qsizetype>(n)).toLocal8Bit();
    return local;
#else
    return QFile::encodeName(path);
#endif
}

class Handle {
public:
    ~Handle() {
        if (handle)
            freexl_close(handle);
    }
    const void* handle = nullptr;
};

// What FreeXL's failure says of the file.
QString freexlDetail(int rc) {
    switch (rc) {
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
        return QStringLiteral("it is cut short");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_INVALID_MINI_STREAM:
    case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
        return QStringLiteral("its container's structure is broken");
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_INVALID_SST:
    case FREEXL_BIFF_ILLEGAL_SST_INDEX:
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX:
    case FREEXL_ILLEGAL_CELL_ROW_COL:
    case FREEXL_ILLEGAL_RK_VALUE:
    case FREEXL_CRAFTED_FILE:
        return QStringLiteral("its workbook's records are broken");
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("it holds texts that cannot be decoded");
    default:
        return QStringLiteral("FreeXL's error %1").arg(rc);
    }
}

} // namespace

void readXls(const QString& path, Sink& sink) {
    Handle xls;
    const int opened = freexl_open(narrowPath(path).constData(), &xls.handle);
    switch (opened) {
    case FREEXL_OK:
        break;
    case FREEXL_FILE_NOT_FOUND:
        refuse(Fault::Missing, path);
    case FREEXL_INSUFFICIENT_MEMORY:
        refuse(Fault::TooLarge, path, freexlDetail(opened));
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        // A compound file without a workbook: a Word document, an old Works file, ...
        refuse(Fault::NotASpreadsheet, path, QStringLiteral("it holds no Excel workbook"));
    default:
        refuse(Fault::Damaged, path, freexlDetail(opened));
    }
    unsigned int info = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED)
        refuse(Fault::Encrypted, path);
    unsigned int mode = 0;
    freexl_get_info(xls.handle, FREEXL_BIFF_DATEMODE, &mode);
    unsigned int sheets = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        refuse(Fault::Damaged, path, QStringLiteral("its sheets cannot be counted"));
    sink.workbook(Format::Xls, mode == FREEXL_BIFF_DATEMODE_1904);
    Budget budget(path);
    for (unsigned int s = 0; s < sheets; ++s) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(xls.handle, static_cast<unsigned short>(s), &name) !=
                FREEXL_OK ||
            freexl_select_active_worksheet(xls.handle, static_cast<unsigned short>(s)) != FREEXL_OK)
            refuse(Fault::Damaged, path, QStringLiteral("its sheet %1 cannot be read").arg(s + 1));
        sink.sheet(name ? QString::fromUtf8(name) : QStringLiteral("%1").arg(s + 1));
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK)
            refuse(Fault::Damaged, path, QStringLiteral("its sheet %1 cannot be read").arg(s + 1));
        for (unsigned int r = 0; r < rows; ++r) {
            Row row{static_cast<int>(r), {}};
            budget.row(row.index);
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value = {};
                const int rc = freexl_get_cell_value(xls.handle, r, c, &value);
                if (rc != FREEXL_OK)
                    refuse(Fault::Damaged, path, freexlDetail(rc));
                Cell cell;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    cell = Cell::ofNumber(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell = Cell::ofNumber(value.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_TIME:
                    if (!value.value.text_value || !*value.value.text_value)
                        continue;
                    cell = Cell::ofText(QString::fromUtf8(value.value.text_value));
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME: {
                    // FreeXL gives "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS", already counted in
                    // the workbook's own date system.
                    const auto dt =
                        value.value.text_value
                            ? platform::DateTime::fromIso(QString::fromUtf8(value.value.text_value))
                            : std::nullopt;
                    if (!dt)
                        continue;
                    cell = Cell::ofDate(dt->days());
                    break;
                }
                default:
                    continue;
                }
                budget.cell(c, cell);
                row.cells.emplace_back(c, std::move(cell));
            }
            if (!row.cells.empty())
                sink.row(row);
        }
    }
}

} // namespace tools::sheets
