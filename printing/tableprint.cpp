#include "printing/tableprint.h"

#include "printing/pages.h"

#include "platform/textrules.h"
#include "printing/pdffile.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;

namespace printing {

namespace {

constexpr int wrapFlags = Qt::TextWordWrap;
// How many rows the column widths are measured on: enough to see what a column holds, few
// enough that a list of a hundred thousand rows costs nothing extra.
constexpr qsizetype rowsMeasured = 400;

qreal mm(qreal millimetres, const QPaintDevice& device) {
    return millimetres * device.logicalDpiY() / 25.4;
}

// What the layout needs of the page and its fonts, once.
struct Geometry {
    QRectF page; // the printable area, in device pixels, from (0, 0)
    QFont body, bold, titleFont;
    qreal gap = 0;     // between two columns
    qreal padding = 0; // above and below a row's text
    qreal lineHeight = 0;
    qreal footer = 0;               // the foot of each page
    std::vector<qreal> left, width; // each column's left edge and text width
    std::vector<char> right;        // numbers stand to the right of their column
};

// Column widths: a column whose widest text fits its fair share of the page keeps that width;
// the wider ones share the rest in proportion to what they hold, each keeping at least its
// caption's longest word. The last column runs to the right margin.
void layColumns(const ReportTable& table, Geometry& g, const QFontMetricsF& body,
                const QFontMetricsF& bold) {
    const auto n = static_cast<size_t>(table.headers.size());
    std::vector<qreal> natural(n, 0), least(n, 0);
    g.right.assign(n, 0);
    for (size_t k = 0; k < n; ++k) {
        const QString& caption = table.headers[static_cast<qsizetype>(k)];
        natural[k] = bold.horizontalAdvance(caption);
        for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts))
            least[k] = std::max(least[k], bold.horizontalAdvance(word));
    }
    const qsizetype measured = std::min(table.rows.size(), rowsMeasured);
    for (qsizetype r = 0; r < measured; ++r) {
        const QVariantList& row = table.rows[r];
        for (size_t k = 0; k < std::min(n, static_cast<size_t>(row.size())); ++k) {
            const QVariant& cell = row[static_cast<qsizetype>(k)];
            natural[k] = std::max(natural[k], body.horizontalAdvance(cellText(cell)));
            if (isNumberCell(cell))
                g.right[k] = 1;
        }
    }
    const qreal room = g.page.width() - g.gap * static_cast<qreal>(n > 0 ? n - 1 : 0);
    g.width = natural;
    std::vector<char> fixed(n, 0);
    qreal left = room;
    size_t open = n;
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const qreal fair = left / static_cast<qreal>(open);
        for (size_t k = 0; k < n; ++k)
            if (!fixed[k] && natural[k] <= fair) {
                fixed[k] = 1;
                left -= natural[k];
                --open;
                changed = true;
            }
    }
    qreal wanted = 0;
    for (size_t k = 0; k < n; ++k)
        if (!fixed[k])
            wanted += natural[k];
    for (size_t k = 0; k < n; ++k)
        if (!fixed[k])
            g.width[k] = std::max(least[k], wanted > 0 ? natural[k] * left / wanted : 0);
    g.left.assign(n, 0);
    qreal x = 0;
    for (size_t k = 0; k < n; ++k) {
        g.left[k] = x;
        x += g.width[k] + g.gap;
    }
    if (n > 0)
        g.width.back() = std::max(g.width.back(), g.page.width() - g.left.back());
}

// A text broken into lines no wider than `width`: at blanks where it can, inside a word only
// where one word alone is wider.
QStringList wrapped(const QString& text, qreal width, const QFontMetricsF& metrics) {
    QStringList lines;
    QString line;
    const auto flush = [&] {
        lines << line;
        line.clear();
    };
    for (const QString& paragraph : text.split(u'\n')) {
        for (QString word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + u' ' + word;
            if (metrics.horizontalAdvance(joined) <= width) {
                line = joined;
                continue;
            }
            if (!line.isEmpty())
                flush();
            // A word wider than the column goes over as many lines as it needs.
            while (metrics.horizontalAdvance(word) > width && word.size() > 1) {
                qsizetype fits = 1;
                while (fits < word.size() &&
                       metrics.horizontalAdvance(word.left(fits + 1)) <= width)
                    ++fits;
                line = word.left(fits);
                flush();
                word = word.mid(fits);
            }
            line = word;
        }
        flush();
    }
    while (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// The height of one line of texts in their columns, each wrapped where it is wider.
qreal textsHeight(const QStringList& texts, const Geometry& g, const QFontMetricsF& metrics) {
    qsizetype lines = 1;
    for (qsizetype c = 0; c < texts.size() && c < static_cast<qsizetype>(g.width.size()); ++c) {
        const QString& text = texts[c];
        const auto k = static_cast<size_t>(c);
        if (text.isEmpty() ||
            (metrics.horizontalAdvance(text) <= g.width[k] && !text.contains(u'\n')))
            continue;
        lines = std::max(lines, wrapped(text, g.width[k], metrics).size());
    }
    return static_cast<qreal>(lines) * metrics.lineSpacing() + 2 * g.padding;
}

QStringList rowTexts(const QVariantList& row, qsizetype columns) {
    QStringList texts;
    texts.reserve(columns);
    for (qsizetype c = 0; c < columns; ++c)
        texts << (c < row.size() ? cellText(row[c]) : QString());
    return texts;
}

void drawTexts(QPainter& p, const QStringList& texts, const Geometry& g, qreal top,
               const QFontMetricsF& metrics) {
    for (qsizetype c = 0; c < texts.size() && c < static_cast<qsizetype>(g.width.size()); ++c) {
        const QString& text = texts[c];
        if (text.isEmpty())
            continue;
        const auto k = static_cast<size_t>(c);
        const qreal advance = metrics.horizontalAdvance(text);
        const qreal baseline = top + g.padding + metrics.ascent();
        if (advance <= g.width[k] && !text.contains(u'\n')) {
            const qreal x = g.right[k] ? g.left[k] + g.width[k] - advance : g.left[k];
            p.drawText(QPointF(x, baseline), text);
            continue;
        }
        const QStringList lines = wrapped(text, g.width[k], metrics);
        for (qsizetype i = 0; i < lines.size(); ++i)
            p.drawText(QPointF(g.left[k], baseline + static_cast<qreal>(i) * metrics.lineSpacing()),
                       lines[i]);
    }
}

} // namespace

QPageLayout tablePageLayout(const ReportTable& table) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       table.headers.size() > 5 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

namespace {
void layOut(const ReportTable& table, QDate day, QPagedPaintDevice& device, QPainter& p,
            platform::Progress& progress) {
    Geometry g;
    const QPageLayout layout = device.pageLayout();
    g.page = QRectF(QPointF(0, 0), layout.paintRectPixels(device.logicalDpiY()).size());
    g.body = p.font();
    g.body.setPointSizeF(9);
    g.bold = g.body;
    g.bold.setBold(true);
    g.titleFont = g.bold;
    g.titleFont.setPointSizeF(14);
    const QFontMetricsF body(g.body, &device), bold(g.bold, &device),
        titleMetrics(g.titleFont, &device);
    g.gap = mm(3, device);
    g.padding = mm(0.6, device);
    g.lineHeight = body.height();
    g.footer = body.height() * 2;
    layColumns(table, g, body, bold);

    const qsizetype columns = table.headers.size();
    const qsizetype rows = table.rows.size();
    const QString date = platform::dayText(day);
    const QString countLine = QStringLiteral("Tarih: %1    Kayıt sayısı: %2").arg(date).arg(rows);
    const qreal titleHeight =
        titleMetrics.boundingRect(QRectF(0, 0, g.page.width(), 1e9), wrapFlags, table.title)
            .height();
    const qreal heading = textsHeight(table.headers, g, bold);
    const qreal firstTop = titleHeight + body.height() * 2; // title, the day and count, a blank
    const qreal bottom = g.page.height() - g.footer;

    // First the rows' heights and where each page begins (so that every foot knows the number
    // of pages), then the drawing: both in one pass over the rows each.
    progress.begin(2 * rows);
    std::vector<float> heights(static_cast<size_t>(rows));
    std::vector<qsizetype> pageStarts{0};
    qreal y = firstTop + heading;
    for (qsizetype r = 0; r < rows; ++r) {
        const qreal h = textsHeight(rowTexts(table.rows[r], columns), g, body);
        heights[static_cast<size_t>(r)] = static_cast<float>(h);
        if (y + h > bottom && r > pageStarts.back()) {
            pageStarts.push_back(r);
            y = heading;
        }
        y += h;
        progress.step(r + 1);
    }
    const auto pages = static_cast<int>(pageStarts.size());

    const QPen rule(QColor(0x99, 0x99, 0x99), mm(0.1, device));
    const QPen strong(Qt::black, mm(0.25, device));
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            nextPage(device, u"'%1'"_s.arg(table.title));
        qreal top = 0;
        if (page == 0) {
            p.setFont(g.titleFont);
            p.drawText(QRectF(0, 0, g.page.width(), titleHeight), wrapFlags, table.title);
            p.setFont(g.body);
            p.drawText(QPointF(0, titleHeight + body.ascent()), countLine);
            top = firstTop;
        }
        p.setFont(g.bold);
        drawTexts(p, table.headers, g, top, bold);
        top += heading;
        p.setPen(strong);
        p.drawLine(QPointF(0, top), QPointF(g.page.width(), top));
        p.setPen(Qt::black);
        p.setFont(g.body);
        const qsizetype end = page + 1 < pages ? pageStarts[static_cast<size_t>(page) + 1] : rows;
        for (qsizetype r = pageStarts[static_cast<size_t>(page)]; r < end; ++r) {
            const qreal h = heights[static_cast<size_t>(r)];
            drawTexts(p, rowTexts(table.rows[r], columns), g, top, body);
            top += h;
            p.setPen(rule);
            p.drawLine(QPointF(0, top), QPointF(g.page.width(), top));
            p.setPen(Qt::black);
            progress.step(rows + r + 1);
        }
        const QRectF foot(0, g.page.height() - body.height(), g.page.width(), body.height());
        p.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                   table.title + QStringLiteral(" – ") + date);
        p.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Sayfa %1 / %2").arg(page + 1).arg(pages));
    }
}
} // namespace

void printTable(const ReportTable& table, QDate day, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon) {
    device.setPageLayout(tablePageLayout(table));
    paintPages(
        device, u"'%1'"_s.arg(table.title),
        [&](QPainter& p) { layOut(table, day, device, p, progress); }, abandon);
}

void saveTablePdf(const ReportTable& table, QDate day, const QString& path, const QString& creator,
                  platform::Progress& progress) {
    PdfFile file(path, table.title, creator);
    printTable(table, day, file.writer(), progress);
    file.commit();
}

} // namespace printing
