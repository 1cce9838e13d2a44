#pragma once

#include <QString>
#include <optional>
#include <vector>

class QPainter;

namespace printing {

class Millimetres;

// One dot of a 300 dpi printer, in millimetres. Bars are whole dots wide there (and on a 600
// or 1200 dpi printer, and in the PDF, which keeps them exact), so every bar and space of one
// width prints equally wide.
inline constexpr double dotMm = 25.4 / 300;
// The narrowest module (the narrowest bar or space) the labels and cards print: 3 dots at
// 300 dpi, 0.254 mm, which ordinary hand scanners read from paper. A code that would need a
// narrower module to fit its label is not printed.
inline constexpr int fewestDotsPerModule = 3;
// The widest module used where there is room: 5 dots, 0.423 mm.
inline constexpr int mostDotsPerModule = 5;
// The blank margin a scanner needs on each side of the bars, in modules.
inline constexpr int quietZoneModules = 10;

// Why a text cannot be printed as the Code 128 barcode of a label or a card, or nothing: the
// barcode carries the printable ASCII characters (blank to "~") only, so that a scanner types
// back exactly the text printed; at least one character, at most 80.
enum class CodeFault { Empty, NotAscii, TooLong };
std::optional<CodeFault> codeFault(const QString& text);

// A text encoded by zint as Code 128 (zint picks the densest code sets: digits in pairs).
// The bars are kept as zint's vector output gave them, in modules.
class Code128 {
public:
    struct Bar {
        double start; // from the first bar's left edge, in modules
        double width; // in modules
    };
    // Throws platform::Error ("Cannot encode '...' as Code 128: ...") when codeFault() finds
    // a fault or zint refuses the text.
    explicit Code128(const QString& text);

    const QString& text() const { return text_; }
    // The width of the bars from the first to the last, in modules (no quiet zones).
    int modules() const { return modules_; }
    const std::vector<Bar>& bars() const { return bars_; }

    // The module width in millimetres for a barcode that must fit, with its quiet zones, into
    // `widthMm`: the widest whole number of 300 dpi dots from mostDotsPerModule down to
    // fewestDotsPerModule that fits, or 0 when even the narrowest does not.
    double moduleWidthFor(double widthMm) const;
    // The width of the bars and both quiet zones at that module width.
    double widthWithQuietZones(double moduleMm) const {
        return (modules_ + 2 * quietZoneModules) * moduleMm;
    }

    // Draws the bars (black) with their left edge at `leftMm`, their top at `topMm`, each
    // module `moduleMm` wide and `heightMm` high. The left edge is moved to the nearest whole
    // 300 dpi dot of the page, so that every bar starts and ends on a dot.
    void draw(QPainter& painter, const Millimetres& page, double leftMm, double topMm,
              double moduleMm, double heightMm) const;

private:
    QString text_;
    int modules_ = 0;
    std::vector<Bar> bars_;
};

} // namespace printing
