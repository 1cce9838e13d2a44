#include "araclar/printout.h"

#include "araclar/messages.h"
#include "platform/errors.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

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

// The list as one HTML text, read in one go: a document filled cell by cell lays itself out
// anew after every cell.
QString html(const ReportTable& table, QDate day) {
    QString out;
    out.reserve(256 + table.rows.size() * table.headers.size() * 24);
    out += QStringLiteral("<html><body><p style=\"font-size:14pt; font-weight:bold\">");
    out += table.title.toHtmlEscaped();
    out += QStringLiteral("</p><p>Tarih: %1&nbsp;&nbsp;&nbsp;&nbsp;Kayıt sayısı: %2</p>")
               .arg(dayText(day))
               .arg(table.rows.size());
    out += QStringLiteral("<table width=\"100%\" border=\"0.5\" cellspacing=\"0\" "
                          "cellpadding=\"2\" style=\"border-collapse:collapse\"><thead><tr>");
    for (const QString& h : table.headers)
        out += QStringLiteral("<th align=\"left\">") + h.toHtmlEscaped() + QStringLiteral("</th>");
    out += QStringLiteral("</tr></thead><tbody>");
    for (const QVariantList& row : table.rows) {
        out += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < table.headers.size(); ++c) {
            const QVariant cell = c < row.size() ? row[c] : QVariant();
            const bool number =
                cell.typeId() == QMetaType::Int || cell.typeId() == QMetaType::LongLong;
            out += number ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>");
            out += cellText(cell).toHtmlEscaped();
            out += QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>");
    }
    out += QStringLiteral("</tbody></table></body></html>");
    return out;
}

} // namespace

void printReport(const ReportTable& table, QDate day, QPrinter& printer) {
    QTextDocument doc;
    QFont font = doc.defaultFont();
    font.setPointSize(9);
    doc.setDefaultFont(font);
    doc.setHtml(html(table, day));
    doc.documentLayout()->setPaintDevice(&printer);

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
