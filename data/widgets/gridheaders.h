#pragma once

#include <QHeaderView>
#include <functional>

namespace data {

// What the indicator column shows beside a line: nothing, or the mark of the current row by
// the record set's state.
enum class GridIndicator {
    None,
    Browse, // a solid triangle pointing right
    Edit,   // an I-beam
    Insert, // an asterisk
};

// The size of the indicator glyphs in pixels.
constexpr int indicatorGlyphWidth = 6;
constexpr int indicatorGlyphHeight = 11;

// Draws one of the three glyphs with its top-left corner at (x, y).
void drawIndicatorGlyph(QPainter& painter, int x, int y, GridIndicator mark, const QColor& color);

// The grid's indicator column: a narrow vertical header in the button-face colour that shows
// the mark of the current row. It asks `markOf` for each line it paints.
class GridIndicatorColumn : public QHeaderView {
public:
    explicit GridIndicatorColumn(QWidget* parent = nullptr);

    std::function<GridIndicator(int row)> markOf;

    QSize sizeHint() const override;

    // The column's width, its right-hand line included.
    static constexpr int columnWidth = 12;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The grid's title row: each column's title, left-aligned two pixels in, on the button-face
// colour, in the header's own font (the window makes it bold). One line of text high.
class GridTitleRow : public QHeaderView {
public:
    explicit GridTitleRow(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// Fills a cell of the title row or the indicator column and draws its right and bottom lines.
void paintFixedCell(QPainter& painter, const QRect& rect, const QPalette& palette);

} // namespace data
