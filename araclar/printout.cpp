#include "araclar/printout.h"

#include "araclar/messages.h"
#include "platform/errors.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace araclar {

namespace {

void prepare(const ReportTable& table, QPrinter& printer) {
    printer.setDocName(table.title);
    printer.setCreator(title());
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(table.headers.size() > 5 ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

void fill(QTextDocument& doc, const ReportTable& table, QDate day) {
    QTextCursor cursor(&doc);
    QTextCharFormat heading;
    heading.setFontPointSize(14);
    heading.setFontWeight(QFont::Bold);
    cursor.insertText(table.title, heading);
    QTextCharFormat plain;
    plain.setFontPointSize(9);
    cursor.insertBlock();
    cursor.insertText(
        QStringLiteral("Tarih: %1    Kayıt sayısı: %2").arg(dayText(day)).arg(table.rows.size()),
        plain);
    cursor.insertBlock();

    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    const int columns = static_cast<int>(table.headers.size());
    QTextTable* grid =
        cursor.insertTable(static_cast<int>(table.rows.size()) + 1, std::max(columns, 1), format);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    for (int c = 0; c < columns; ++c)
        grid->cellAt(0, c).firstCursorPosition().insertText(table.headers[c], bold);
    for (int r = 0; r < table.rows.size(); ++r) {
        const QVariantList& row = table.rows[r];
        for (int c = 0; c < columns && c < row.size(); ++c)
            grid->cellAt(r + 1, c).firstCursorPosition().insertText(cellText(row[c]), plain);
    }
}

} // namespace

void printReport(const ReportTable& table, QDate day, QPrinter& printer) {
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&printer);
    QFont font = doc.defaultFont();
    font.setPointSize(9);
    doc.setDefaultFont(font);
    fill(doc, table, day);

    QPainter painter;
    if (!painter.begin(&printer))
        throw platform::Error(QStringLiteral("Yazıcıya ya da dosyaya yazılamadı. Yazıcının açık "
                                             "olduğunu ya da dosyanın başka bir programda açık "
                                             "olmadığını denetleyin ve yeniden deneyin."));
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFontMetricsF footerMetrics(font, &printer);
    const qreal footer = footerMetrics.height() * 2;
    const QSizeF body(page.width(), page.height() - footer);
    doc.setPageSize(body);
    const int pages = doc.pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer.newPage();
        painter.save();
        painter.translate(0, -p * body.height());
        const QRectF area(0, p * body.height(), body.width(), body.height());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(font);
        const QRectF foot(0, page.height() - footerMetrics.height(), page.width(),
                          footerMetrics.height());
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                         table.title + QStringLiteral(" – ") + dayText(day));
        painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Sayfa %1 / %2").arg(p + 1).arg(pages));
    }
    painter.end();
}

void savePdf(const ReportTable& table, QDate day, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    prepare(table, printer);
    try {
        printReport(table, day, printer);
    } catch (const platform::Error&) {
        throw platform::Error(QStringLiteral("PDF dosyası '%1' yazılamadı. Dosya başka bir "
                                             "programda açıksa kapatın ya da başka bir ad veya "
                                             "klasör seçin.")
                                  .arg(path));
    }
    if (QFileInfo(path).size() == 0)
        throw platform::Error(
            QStringLiteral("PDF dosyası '%1' boş kaldı. Başka bir klasör seçip yeniden deneyin.")
                .arg(path));
}

void printWithDialog(const ReportTable& table, QDate day, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    prepare(table, printer);
    if (!choosers().print(parent, printer))
        return;
    printReport(table, day, printer);
}

} // namespace araclar
