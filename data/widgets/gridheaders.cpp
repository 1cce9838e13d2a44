#include "data/widgets/gridheaders.h"

#include <QPainter>
#include <array>

namespace data {

namespace {

using Glyph = std::array<const char*, indicatorGlyphHeight>;

// Each glyph as rows of pixels, "#" drawn, "." left as it is.
constexpr Glyph browseGlyph{
    "#.....", "##....", "###...", "####..", "#####.", "######",
    "#####.", "####..", "###...", "##....", "#.....",
};
constexpr Glyph editGlyph{
    "##..##", "..##..", "..##..", "..##..", "..##..", "..##..",
    "..##..", "..##..", "..##..", "..##..", "##..##",
};
constexpr Glyph insertGlyph{
    "......", "......", "..##..", "#.##.#", ".####.", "######",
    ".####.", "#.##.#", "..##..", "......", "......",
};

} // namespace

void drawIndicatorGlyph(QPainter& painter, int x, int y, GridIndicator mark, const QColor& color) {
    const Glyph* glyph = nullptr;
    switch (mark) {
    case GridIndicator::None:
        return;
    case GridIndicator::Browse:
        glyph = &browseGlyph;
        break;
    case GridIndicator::Edit:
        glyph = &editGlyph;
        break;
    case GridIndicator::Insert:
        glyph = &insertGlyph;
        break;
    }
    for (int row = 0; row < indicatorGlyphHeight; ++row) {
        const char* line = (*glyph)[row];
        for (int col = 0; col < indicatorGlyphWidth; ++col) {
            // Runs of set pixels become one rectangle each.
            if (line[col] != '#')
                continue;
            int end = col;
            while (end < indicatorGlyphWidth && line[end] == '#')
                ++end;
            painter.fillRect(x + col, y + row, end - col, 1, color);
            col = end;
        }
    }
}

void paintFixedCell(QPainter& painter, const QRect& rect, const QPalette& palette) {
    painter.fillRect(rect, palette.color(QPalette::Button));
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), palette.color(QPalette::Dark));
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, palette.color(QPalette::Dark));
}

GridIndicatorColumn::GridIndicatorColumn(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setMinimumSectionSize(1);
    setFocusPolicy(Qt::NoFocus);
}

QSize GridIndicatorColumn::sizeHint() const {
    return QSize(columnWidth, 0);
}

void GridIndicatorColumn::paintSection(QPainter* painter, const QRect& rect,
                                       int logicalIndex) const {
    paintFixedCell(*painter, rect, palette());
    const GridIndicator mark = markOf ? markOf(logicalIndex) : GridIndicator::None;
    if (mark == GridIndicator::None)
        return;
    // Centred in the cell left of its lines.
    const int x = rect.left() + (rect.width() - 1 - indicatorGlyphWidth) / 2;
    const int y = rect.top() + (rect.height() - 1 - indicatorGlyphHeight) / 2;
    drawIndicatorGlyph(*painter, x, y, mark, palette().color(QPalette::ButtonText));
}

GridTitleRow::GridTitleRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionsMovable(true);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(2);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusPolicy(Qt::NoFocus);
}

QSize GridTitleRow::sizeHint() const {
    return QSize(length(), fontMetrics().height() + 4);
}

void GridTitleRow::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    paintFixedCell(*painter, rect, palette());
    const QString title =
        model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    const QRect text = rect.adjusted(2, 0, -1, -1);
    painter->setClipRect(text);
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    painter->restore();
}

} // namespace data
