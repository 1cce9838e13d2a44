#pragma once

#include "platform/progress.h"

#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace printing {

// A sheet of sticker labels on A4, in millimetres: its labels in rows and columns, their size,
// the margins from the paper's top and left edges to the first label, and the gaps between two
// labels side by side and one above the other.
struct LabelSheet {
    int columns = 3;
    int rows = 8;
    double labelWidth = 70;
    double labelHeight = 37;
    double top = 0.5;
    double left = 0;
    double columnGap = 0;
    double rowGap = 0;

    int perSheet() const { return columns * rows; }
    // Label `index` of a sheet (0 is the top left one, counted along the rows).
    QRectF label(int index) const;
    bool operator==(const LabelSheet&) const = default;
};

// 3 × 8 labels of 70 × 37 mm (the whole width, 0.5 mm from the top).
LabelSheet sheet3x8();
// 3 × 7 labels of 63.5 × 38.1 mm (7.21 mm from the left, 15.15 mm from the top, 2.54 mm between
// the columns).
LabelSheet sheet3x7();

// What is wrong with a sheet the librarian describes, or nothing.
enum class SheetFault {
    NoLabels, // fewer than one row or column
    TooSmall, // a label narrower than 30 mm or lower than 15 mm: no barcode fits
    Negative, // a margin or gap below zero
    TooWide,  // the labels run past the paper's right edge
    TooHigh,  // the labels run past the paper's bottom edge
};
std::optional<SheetFault> sheetFault(const LabelSheet& sheet);

// The inner margin a label's content keeps from the label's edges (the cut of a sticker is
// never exact), in millimetres.
inline constexpr double labelMargin = 2.5;

// What one label shows.
struct BookLabel {
    QString title;
    QString author;
    QString serial; // SERINO
    QString code;   // BARKODU, printed as Code 128 with its characters under it
};

// Why a book's code cannot be printed on a label of `sheet`, or nothing: a code the barcode
// cannot carry (codeFault), or one too long to fit at the narrowest module width.
enum class LabelCodeFault { Empty, NotAscii, TooLong, TooWideForLabel };
std::optional<LabelCodeFault> labelCodeFault(const QString& code, const LabelSheet& sheet);

// How labels are printed: the library's name on each, the sheet, and the label of the first
// sheet to begin at (1 is the top left one; those before it are left blank, as already used).
struct LabelRun {
    QString library;
    LabelSheet sheet;
    int start = 1;
};

// Lays the labels out on A4 pages from the paper's corner: on each label the library, the title
// and the author (each cut with "…" to the label's width), the serial number, and the barcode
// of the code with its characters under it, everything within labelMargin of the label's edges.
// Reports to `progress` label by label (it may stop it: platform::Cancelled); `abandon` runs
// before the painter ends when anything stops it. Throws platform::Error when a code cannot be
// printed (labelCodeFault), the start lies outside the sheet or the device cannot be painted on.
void printLabels(const std::vector<BookLabel>& labels, const LabelRun& run,
                 QPagedPaintDevice& device, platform::Progress& progress,
                 const std::function<void()>& abandon = {});
// The same into a new PDF file (printing::PdfFile): nothing is left there when it fails.
void saveLabelsPdf(const std::vector<BookLabel>& labels, const LabelRun& run, const QString& path,
                   const QString& creator, platform::Progress& progress);

} // namespace printing
