#include "printing/slips.h"

#include "printing/pages.h"

#include "platform/errors.h"
#include "platform/textrules.h"
#include "printing/millimetres.h"
#include "printing/pdffile.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace printing {

namespace {
constexpr double side = 15;   // left and right margins of a slip
constexpr double topGap = 9;  // from the slip's top edge (or its cut line) to the text
constexpr double footGap = 8; // from the slip's bottom edge to the signature line
constexpr double dateColumn = 30;
constexpr double lateColumn = 22;

struct Fonts {
    QFont school = printFont(9, true);
    QFont heading = printFont(12, true);
    QFont body = printFont(9);
    QFont bold = printFont(9, true);
};

void drawCutLine(QPainter& p, const Millimetres& page, double y) {
    p.save();
    QPen pen(Qt::black, page.x(0.2));
    pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.drawLine(page.at(5, y), page.at(205, y));
    p.restore();
}

// A paragraph wrapped at blanks within `width` mm; returns its height in millimetres.
double drawParagraph(QPainter& p, const Millimetres& page, const QFont& font, const QString& text,
                     double left, double top, double width) {
    p.setFont(font);
    const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(&page.device()));
    const QRectF box = page.rect(QRectF(left, top, width, 60));
    const QRectF used = metrics.boundingRect(box, Qt::TextWordWrap, text);
    p.drawText(box, Qt::TextWordWrap, text);
    return page.mmY(used.height());
}

void drawSlip(QPainter& p, const Millimetres& page, const Fonts& f, const ReminderSlip& slip,
              QDate day, double slipTop) {
    const double left = side, width = 210 - 2 * side;
    double y = slipTop + topGap;
    const QString date = platform::dayText(day);
    const double dateWidth = 30;
    drawLine(p, page, f.body, date, QRectF(left + width - dateWidth, y, dateWidth, 0),
             Qt::AlignRight);
    y += drawLine(p, page, f.school, slip.school, QRectF(left, y, width - dateWidth - 2, 0));
    y += 1;
    y += drawLine(p, page, f.heading, QStringLiteral("GECİKME BİLDİRİMİ"),
                  QRectF(left, y, width, 0), Qt::AlignHCenter);
    y += 1.5;
    QString who = QStringLiteral("Okuyucu: ") + slip.reader;
    if (!slip.level.isEmpty())
        who += QStringLiteral("    Sınıf: ") + slip.level;
    if (!slip.number.isEmpty())
        who += QStringLiteral("    No: ") + slip.number;
    y += drawLine(p, page, f.bold, who, QRectF(left, y, width, 0));
    y += 1;
    y += drawParagraph(p, page, f.body, reminderText(), left, y, width);
    y += 1.5;

    // The books: title, due date, days late.
    const double titleWidth = width - dateColumn - lateColumn;
    const double line = lineHeight(page, f.body);
    drawLine(p, page, f.bold, QStringLiteral("Kitap"), QRectF(left, y, titleWidth - 2, 0));
    drawLine(p, page, f.bold, QStringLiteral("Getirme tarihi"),
             QRectF(left + titleWidth, y, dateColumn, 0));
    drawLine(p, page, f.bold, QStringLiteral("Gecikme"),
             QRectF(left + titleWidth + dateColumn, y, lateColumn, 0), Qt::AlignRight);
    y += line;
    p.save();
    p.setPen(QPen(Qt::black, page.x(0.2)));
    p.drawLine(page.at(left, y), page.at(left + width, y));
    p.restore();
    y += 0.5;
    const double signatureTop = slipTop + slipHeight - footGap - line;
    const auto fits = static_cast<size_t>(std::max(1.0, (signatureTop - 1 - y) / line));
    const size_t shown = slip.books.size() <= fits ? slip.books.size() : (fits > 1 ? fits - 1 : 0);
    for (size_t i = 0; i < shown; ++i) {
        const LateBook& b = slip.books[i];
        drawLine(p, page, f.body, b.title, QRectF(left, y, titleWidth - 2, 0));
        drawLine(p, page, f.body, platform::dayText(b.due),
                 QRectF(left + titleWidth, y, dateColumn, 0));
        y += drawLine(p, page, f.body, QStringLiteral("%1 gün").arg(b.daysLate),
                      QRectF(left + titleWidth + dateColumn, y, lateColumn, 0), Qt::AlignRight);
    }
    if (shown < slip.books.size())
        drawLine(p, page, f.body,
                 QStringLiteral("… ve %1 kitap daha (listesi kütüphanede)")
                     .arg(slip.books.size() - shown),
                 QRectF(left, y, width, 0));
    drawLine(p, page, f.body, QStringLiteral("Kütüphane Görevlisi"),
             QRectF(left + width - 60, signatureTop, 60, 0), Qt::AlignRight);
}

} // namespace

QString reminderText() {
    return QStringLiteral("Kütüphanemizden aldığınız aşağıdaki kitapların geri getirme tarihi "
                          "geçmiştir. Başka okurlarımız da bu kitapları beklediği için en kısa "
                          "sürede kütüphaneye getirmenizi rica ederiz. Anlayışınız için teşekkür "
                          "ederiz.");
}

void printSlips(const std::vector<ReminderSlip>& slips, QDate day, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon) {
    usePaperCorner(device);
    const QString what = QStringLiteral("the reminder slips");
    paintPages(
        device, what,
        [&](QPainter& p) {
            const Millimetres page(device);
            const Fonts fonts;
            progress.begin(static_cast<qint64>(slips.size()));
            for (size_t i = 0; i < slips.size(); ++i) {
                const int place = static_cast<int>(i % slipsPerPage);
                if (place == 0 && i > 0)
                    nextPage(device, what);
                if (place > 0)
                    drawCutLine(p, page, place * slipHeight);
                drawSlip(p, page, fonts, slips[i], day, place * slipHeight);
                progress.step(static_cast<qint64>(i) + 1);
            }
        },
        abandon);
}

void saveSlipsPdf(const std::vector<ReminderSlip>& slips, QDate day, const QString& path,
                  const QString& creator, platform::Progress& progress) {
    PdfFile file(path, QStringLiteral("Gecikme Bildirimleri"), creator);
    printSlips(slips, day, file.writer(), progress);
    file.commit();
}

} // namespace printing
