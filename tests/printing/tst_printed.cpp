// Every printed code must scan: the labels, cards and reminder slips that ternavolk-db writes
// are rendered at 300 dpi with pdftoppm, each label's and card's barcode is read back with
// zbarimg from its own place on the sheet, and where the ink lies is measured against the
// sheet's millimetres.

#include "printing/labels.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"

#include <QDir>
#include <QImage>
#include <QRectF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr double dpi = 300;
constexpr double tolerance = 0.5; // mm
double px(double mm) {
    return mm * dpi / 25.4;
}
double mm(double pixels) {
    return pixels * 25.4 / dpi;
}

// A sheet as its maker describes it, written out here on its own.
struct Sheet {
    int columns, rows;
    double width, height, top, left, columnGap, rowGap;
    QRectF cell(int i) const {
        const int r = i / columns, c = i % columns;
        return {left + c * (width + columnGap), top + r * (height + rowGap), width, height};
    }
};

QString tool(const QString& name) {
    const QString path = QStandardPaths::findExecutable(name);
#ifdef Q_OS_WIN
    if (path.isEmpty())
        QTest::qSkip(qPrintable(name + u" is not there on Windows: the PDF is not read back"_s),
                     __FILE__, __LINE__);
#else
    if (path.isEmpty())
        QTest::qFail(qPrintable(name + u" is missing: install zbar-tools and poppler-utils "
                                       u"(bash scripts/setup-debian.sh)"_s),
                     __FILE__, __LINE__);
#endif
    return path;
}

// The pages of a PDF as 300 dpi greyscale images.
QList<QImage> render(const QString& pdf, const QString& folder) {
    const testsupport::ToolRun r =
        testsupport::runTool(tool(u"pdftoppm"_s), {u"-r"_s, u"300"_s, u"-gray"_s, pdf,
                                                   QDir(folder).filePath(u"page"_s)});
    QList<QImage> pages;
    if (!r.ended || r.exitCode != 0)
        return pages;
    QStringList files = QDir(folder).entryList({u"page-*.pgm"_s}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        pages << QImage(QDir(folder).filePath(f)).convertToFormat(QImage::Format_Grayscale8);
    return pages;
}

// What zbarimg reads in one part of a page: "CODE-128:..." lines.
QStringList decode(const QImage& page, const QRectF& cellMm, const QString& folder) {
    const QRect area(qRound(px(cellMm.left())), qRound(px(cellMm.top())),
                     qRound(px(cellMm.width())), qRound(px(cellMm.height())));
    const QString file = QDir(folder).filePath(u"cell.png"_s);
    page.copy(area).save(file);
    const testsupport::ToolRun r =
        testsupport::runTool(tool(u"zbarimg"_s), {u"-q"_s, u"--raw"_s, file});
    QStringList codes = r.out.split(u'\n', Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

bool dark(const QImage& page, int x, int y) {
    return qGray(page.pixel(x, y)) < 128;
}

// The box around every dark pixel inside `areaMm`, in millimetres (null when there is none).
QRectF inkBox(const QImage& page, const QRectF& areaMm) {
    const int x0 = std::max(0, qFloor(px(areaMm.left()))),
              x1 = std::min(page.width(), qCeil(px(areaMm.right())));
    const int y0 = std::max(0, qFloor(px(areaMm.top()))),
              y1 = std::min(page.height(), qCeil(px(areaMm.bottom())));
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    for (int y = y0; y < y1; ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = x0; x < x1; ++x)
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (right < 0)
        return QRectF();
    return QRectF(QPointF(mm(left), mm(top)), QPointF(mm(right + 1), mm(bottom + 1)));
}

// The horizontal extent of the bars: of the lines whose dark and light pixels repeat 2 mm
// further down (bars are upright, letters are not), the one with the most changes between dark
// and light, from its first dark pixel to its last.
std::pair<double, double> barsExtent(const QImage& page, const QRectF& areaMm) {
    const int x0 = qCeil(px(areaMm.left())), x1 = qFloor(px(areaMm.right()));
    const int below = qRound(px(2));
    int best = -1, bestChanges = 0;
    for (int y = qCeil(px(areaMm.top())); y + below < qFloor(px(areaMm.bottom())); ++y) {
        int changes = 0;
        bool same = true;
        for (int x = x0 + 1; x < x1 && same; ++x) {
            changes += dark(page, x, y) != dark(page, x - 1, y);
            same = dark(page, x, y) == dark(page, x, y + below);
        }
        if (same && changes > bestChanges) {
            bestChanges = changes;
            best = y;
        }
    }
    int first = -1, last = -1;
    for (int x = x0; best >= 0 && x < x1; ++x)
        if (dark(page, x, best)) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {mm(first), mm(last + 1)};
}

// Whether any dark pixel lies outside every one of `cells` (each grown by the tolerance).
int inkOutside(const QImage& page, const std::vector<QRectF>& cells) {
    int found = 0;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (line[x] >= 128)
                continue;
            const QPointF p(mm(x + 0.5), mm(y + 0.5));
            bool inside = false;
            for (const QRectF& c : cells)
                if (c.adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(p)) {
                    inside = true;
                    break;
                }
            found += !inside;
        }
    }
    return found;
}

} // namespace

class PrintedTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> db;
    std::unique_ptr<QTemporaryDir> out;

    testsupport::ToolRun run(const QStringList& args) {
        return testsupport::runTool(QStringLiteral(TERNAVOLK_DB_TOOL), args);
    }

private slots:
    void init() {
        db = std::make_unique<testsupport::TempDatabase>();
        out = std::make_unique<QTemporaryDir>();
        const QStringList r{u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s, u"NUMARASI"_s};
        db->insert(u"okuyucu"_s, r, {u"ZEYNEP KAYA"_s, u"10/A"_s, u"GAZİ LİSESİ"_s, u"1042"_s});
        db->insert(u"okuyucu"_s, r, {u"ÇAĞRI ŞAHİN"_s, u"9/B"_s, u"GAZİ LİSESİ"_s, u"77"_s});
        db->insert(u"okuyucu"_s, r, {u"ALİ VELİ"_s, u"9/B"_s, u"İNÖNÜ LİSESİ"_s, u"77"_s});
        db->insert(u"okuyucu"_s, r, {u"AYŞE YILMAZ"_s, u"10/A"_s, u"GAZİ LİSESİ"_s, QVariant()});
        db->insert(u"okuyucu"_s, r, {u"EMRE ÇELİK"_s, u"9/A"_s, u"GAZİ LİSESİ"_s, u"5"_s});
        // 30 books: 26 with codes the program gives, one a school typed with letters, one EAN,
        // one without a code and one whose code a barcode cannot carry.
        const QStringList b{u"KITABINADI"_s, u"YAZARI"_s, u"SERINO"_s, u"BARKODU"_s,
                            u"EDINMETARIHI"_s};
        for (int i = 1; i <= 30; ++i) {
            QVariant code = QStringLiteral("2%1").arg(i, 11, 10, QLatin1Char('0'));
            if (i == 7)
                code = u"KTP-0007/a"_s;
            else if (i == 8)
                code = u"8690000010189"_s;
            else if (i == 9)
                code = QVariant();
            else if (i == 10)
                code = u"ŞÇ-10"_s;
            db->insert(u"kitapkayit"_s, b,
                       {QStringLiteral("KİTAP %1 ÇOK UZUN BİR ADI OLAN, ETİKETE SIĞMAYAN BİR "
                                       "ROMAN")
                            .arg(i),
                        u"YAZAR ADI SOYADI"_s, QString::number(i), code,
                        i > 20 ? u"2026-03-01 10:00:00.000"_s : u"2025-01-01 10:00:00.000"_s});
        }
    }
    void cleanup() {
        db.reset();
        out.reset();
    }

    void labelsScanAndSitOnTheirSheet_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<double>>("geometry"); // width height top left columnGap rowGap
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("books"); // the books on the labels, in order
        QList<int> all;
        for (int i = 1; i <= 30; ++i)
            if (i != 9 && i != 10)
                all << i;
        QTest::newRow("3 x 8, every book with a code")
            << QStringList{} << 3 << 8 << QList<double>{70, 37, 0.5, 0, 0, 0} << 1 << all;
        QTest::newRow("3 x 7 from label 5 of a used sheet")
            << QStringList{u"--sheet"_s, u"3x7"_s, u"--start"_s, u"5"_s} << 3 << 7
            << QList<double>{63.5, 38.1, 15.15, 7.21, 2.54, 0} << 5 << all;
        QTest::newRow("a range of serial numbers")
            << QStringList{u"--serino"_s, u"5-12"_s} << 3 << 8
            << QList<double>{70, 37, 0.5, 0, 0, 0} << 1 << QList<int>{5, 6, 7, 8, 11, 12};
        QTest::newRow("added since a day, last label of a sheet")
            << QStringList{u"--since"_s, u"2026-03-01"_s, u"--start"_s, u"24"_s} << 3 << 8
            << QList<double>{70, 37, 0.5, 0, 0, 0} << 24
            << QList<int>{21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    }
    void labelsScanAndSitOnTheirSheet() {
        QFETCH(QStringList, options);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(QList<double>, geometry);
        QFETCH(int, start);
        QFETCH(QList<int>, books);
        const Sheet sheet{columns,     rows,        geometry[0], geometry[1],
                          geometry[2], geometry[3], geometry[4], geometry[5]};
        const QString pdf = out->filePath(u"etiketler.pdf"_s);
        const testsupport::ToolRun r = run(QStringList{u"labels"_s, db->filePath(), pdf} + options);
        QVERIFY2(r.ended && r.exitCode == 0, qPrintable(r.err));
        const int perSheet = columns * rows;
        const int sheets = (start - 1 + int(books.size()) + perSheet - 1) / perSheet;
        QCOMPARE(r.out, QStringLiteral("Wrote %1 labels on %2 sheets to %3\n")
                            .arg(books.size())
                            .arg(sheets)
                            .arg(pdf));
        const QList<QImage> pages = render(pdf, out->path());
        QCOMPARE(pages.size(), sheets);
        std::vector<QRectF> cells;
        for (int i = 0; i < perSheet; ++i)
            cells.push_back(sheet.cell(i));
        for (int p = 0; p < pages.size(); ++p) {
            const QImage& page = pages[p];
            QCOMPARE(page.width(), qRound(px(210)));
            QCOMPARE(inkOutside(page, cells), 0);
            for (int i = 0; i < perSheet; ++i) {
                const int label = p * perSheet + i - (start - 1);
                const QRectF cell = cells[size_t(i)];
                const QRectF ink = inkBox(page, cell);
                if (label < 0 || label >= books.size()) {
                    QVERIFY2(ink.isNull(), qPrintable(u"ink on the empty label %1"_s.arg(i)));
                    continue;
                }
                const int book = books[label];
                const QString code =
                    book == 7   ? u"KTP-0007/a"_s
                    : book == 8 ? u"8690000010189"_s
                                : QStringLiteral("2%1").arg(book, 11, 10, QLatin1Char('0'));
                QCOMPARE(decode(page, cell, out->path()), QStringList{code});
                // Within the label's inner margin, and the bars centred on it.
                const QRectF inner = cell.adjusted(
                    printing::labelMargin - tolerance, printing::labelMargin - tolerance,
                    tolerance - printing::labelMargin, tolerance - printing::labelMargin);
                QVERIFY2(inner.contains(ink), qPrintable(u"label %1: ink %2,%3 to %4,%5 mm"_s.arg(i)
                                                             .arg(ink.left())
                                                             .arg(ink.top())
                                                             .arg(ink.right())
                                                             .arg(ink.bottom())));
                QVERIFY(ink.top() < cell.top() + printing::labelMargin + 1.0);
                QVERIFY(ink.bottom() > cell.bottom() - printing::labelMargin - 1.0);
                const auto [first, last] = barsExtent(page, cell);
                QVERIFY2(
                    std::abs((first + last) / 2 - cell.center().x()) <= tolerance,
                    qPrintable(u"label %1: bars from %2 to %3 mm"_s.arg(i).arg(first).arg(last)));
            }
        }
    }

    void labelsSayWhatTheyLeaveOut() {
        const QString pdf = out->filePath(u"e.pdf"_s);
        const testsupport::ToolRun r =
            run({u"labels"_s, db->filePath(), pdf, u"--serino"_s, u"9-10"_s});
        QVERIFY(r.ended);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(u"Skipped the book 9 'KİTAP 9 ÇOK UZUN BİR ADI OLAN, ETİKETE "
                                u"SIĞMAYAN BİR ROMAN': it has no code\n"_s),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(u"Skipped the book 10 'KİTAP 10 ÇOK UZUN BİR ADI OLAN, ETİKETE "
                               u"SIĞMAYAN BİR ROMAN': its code holds characters a barcode "
                               u"cannot carry\n"_s));
        QVERIFY(r.err.endsWith(
            u"ternavolk-db: no book chosen has a code to print; nothing was written\n"_s));
        QVERIFY(!QFileInfo::exists(pdf));
    }

    void aDescribedSheetMustFitA4_data() {
        QTest::addColumn<QList<double>>("sheet"); // columns rows width height top left gaps
        QTest::addColumn<int>("fault");           // -1: none
        QTest::newRow("3 x 8") << QList<double>{3, 8, 70, 37, 0.5, 0, 0, 0} << -1;
        QTest::newRow("3 x 7") << QList<double>{3, 7, 63.5, 38.1, 15.15, 7.21, 2.54, 0} << -1;
        QTest::newRow("exactly the paper") << QList<double>{2, 2, 105, 148.5, 0, 0, 0, 0} << -1;
        QTest::newRow("no column")
            << QList<double>{0, 8, 70, 37, 0, 0, 0, 0} << int(printing::SheetFault::NoLabels);
        QTest::newRow("a negative gap")
            << QList<double>{3, 8, 60, 30, 0, 0, -1, 0} << int(printing::SheetFault::Negative);
        QTest::newRow("too narrow for a barcode")
            << QList<double>{6, 8, 29, 30, 0, 0, 0, 0} << int(printing::SheetFault::TooSmall);
        QTest::newRow("a millimetre too wide")
            << QList<double>{3, 8, 70, 37, 0, 1, 0, 0} << int(printing::SheetFault::TooWide);
        QTest::newRow("gaps push it past the bottom")
            << QList<double>{3, 8, 63.5, 36, 0, 0, 0, 2} << int(printing::SheetFault::TooHigh);
    }
    void aDescribedSheetMustFitA4() {
        QFETCH(QList<double>, sheet);
        QFETCH(int, fault);
        const printing::LabelSheet s{int(sheet[0]), int(sheet[1]), sheet[2], sheet[3],
                                     sheet[4],      sheet[5],      sheet[6], sheet[7]};
        const auto got = printing::sheetFault(s);
        QCOMPARE(got ? int(*got) : -1, fault);
    }

    void aCodeMustFitItsLabel_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("fault"); // -1: none
        QTest::newRow("a given code") << u"200000000001"_s << -1;
        QTest::newRow("20 digits") << u"12345678901234567890"_s << -1;
        QTest::newRow("20 letters")
            << u"ABCDEFGHIJKLMNOPQRST"_s << int(printing::LabelCodeFault::TooWideForLabel);
        QTest::newRow("Turkish letters") << u"ŞÇ-10"_s << int(printing::LabelCodeFault::NotAscii);
        QTest::newRow("a tab") << u"A\tB"_s << int(printing::LabelCodeFault::NotAscii);
        QTest::newRow("none") << u""_s << int(printing::LabelCodeFault::Empty);
        QTest::newRow("81 digits") << QString(81, u'1') << int(printing::LabelCodeFault::TooLong);
    }
    void aCodeMustFitItsLabel() {
        QFETCH(QString, code);
        QFETCH(int, fault);
        const auto got = printing::labelCodeFault(code, printing::sheet3x7());
        QCOMPARE(got ? int(*got) : -1, fault);
    }

    void theCommandLineIsChecked_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("an unknown sheet")
            << QStringList{u"labels"_s, u"D"_s, u"O"_s, u"--sheet"_s, u"4x4"_s} << 2
            << u"ternavolk-db: labels: --sheet is 3x8 or 3x7, not '4x4'"_s;
        QTest::newRow("a start past the sheet")
            << QStringList{u"labels"_s, u"D"_s,       u"O"_s, u"--sheet"_s,
                           u"3x7"_s,    u"--start"_s, u"22"_s}
            << 2 << u"ternavolk-db: labels: --start needs a label from 1 to 21"_s;
        QTest::newRow("a range backwards")
            << QStringList{u"labels"_s, u"D"_s, u"O"_s, u"--serino"_s, u"9-3"_s} << 2
            << u"ternavolk-db: labels: --serino needs FROM-TO, two whole numbers with FROM not "
               u"above TO"_s;
        QTest::newRow("both choices")
            << QStringList{u"labels"_s, u"D"_s,       u"O"_s,         u"--serino"_s,
                           u"1-3"_s,    u"--since"_s, u"2026-01-01"_s}
            << 2 << u"ternavolk-db: labels: give either --serino or --since"_s;
        QTest::newRow("a day that is none")
            << QStringList{u"slips"_s, u"D"_s, u"O"_s, u"--today"_s, u"2026-02-30"_s} << 2
            << u"ternavolk-db: slips: --today needs a day as YYYY-MM-DD, not '2026-02-30'"_s;
        QTest::newRow("cards without OUT")
            << QStringList{u"cards"_s, u"D"_s} << 2 << u"ternavolk-db: cards: missing OUT"_s;
    }
    void theCommandLineIsChecked() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, firstLine);
        const testsupport::ToolRun r = run(args);
        QVERIFY(r.ended);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.err.section(u'\n', 0, 0), firstLine);
    }

    void anExistingFileIsNeverOverwritten() {
        const QString pdf = out->filePath(u"var.pdf"_s);
        {
            QFile f(pdf);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("eski");
        }
        const testsupport::ToolRun r = run({u"cards"_s, db->filePath(), pdf});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(u"already exists"_s));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "eski"_ba);
    }

    void cardsScanToTheirReaderAndKeepInside() {
        const QString pdf = out->filePath(u"kartlar.pdf"_s);
        const testsupport::ToolRun r =
            run({u"cards"_s, db->filePath(), pdf, u"--school"_s, u"GAZİ LİSESİ"_s});
        QVERIFY2(r.ended && r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out, u"Wrote 4 cards on 1 pages to "_s + pdf + u"\n"_s);
        const QList<QImage> pages = render(pdf, out->path());
        QCOMPARE(pages.size(), 1);
        // By class, then name: 10/A AYŞE YILMAZ (no number), 10/A ZEYNEP KAYA, 9/A EMRE ÇELİK,
        // 9/B ÇAĞRI ŞAHİN (whose number another school's pupil has).
        const QStringList codes{u"K4"_s, u"1042"_s, u"5"_s, u"K2"_s};
        const double left = (210 - 2 * 85.6) / 2, top = (297 - 5 * 54.0) / 2;
        std::vector<QRectF> cards;
        for (int i = 0; i < 10; ++i)
            cards.push_back(QRectF(left + (i % 2) * 85.6, top + (i / 2) * 54.0, 85.6, 54));
        for (int i = 0; i < 10; ++i) {
            const QRectF card = cards[size_t(i)];
            const QRectF ink = inkBox(pages[0], card.adjusted(0.3, 0.3, -0.3, -0.3));
            if (i >= codes.size()) {
                QVERIFY(ink.isNull());
                continue;
            }
            QCOMPARE(decode(pages[0], card, out->path()), QStringList{codes[i]});
            QVERIFY(card.adjusted(4 - tolerance, 4 - tolerance, tolerance - 4, tolerance - 4)
                        .contains(ink));
            const auto [first, last] = barsExtent(pages[0], card);
            QVERIFY2(std::abs((first + last) / 2 - card.center().x()) <= tolerance,
                     qPrintable(u"card %1: bars from %2 to %3 mm"_s.arg(i).arg(first).arg(last)));
        }
        // The cut marks lie in the margins, outside every card.
        const QRectF grid(left, top, 2 * 85.6, 5 * 54.0);
        QVERIFY(!inkBox(pages[0], QRectF(0, 0, 210, top - 1)).isNull());
        QVERIFY(!inkBox(pages[0], QRectF(0, 0, left - 1, 297)).isNull());
        QCOMPARE(inkOutside(pages[0], {grid, QRectF(0, 0, 210, top - 1.5 + tolerance),
                                       QRectF(0, grid.bottom() + 1.5 - tolerance, 210, 20),
                                       QRectF(0, 0, left - 1.5 + tolerance, 297),
                                       QRectF(grid.right() + 1.5 - tolerance, 0, 20, 297)}),
                 0);
    }

    void slipsComeOnePerReaderByClassAndName() {
        const auto loan = [&](const QString& reader, const QString& book, const QString& due,
                              const QString& status) {
            db->insert(u"hareket"_s,
                       {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"GERIGETIRMETARIHI"_s, u"DURUM"_s},
                       {reader, book, due + u" 10:00:00.000"_s, status});
        };
        loan(u"ZEYNEP KAYA"_s, u"SEFİLLER"_s, u"2026-05-01"_s, u"Verildi"_s);
        loan(u"ZEYNEP KAYA"_s, u"BEYAZ DİŞ"_s, u"2026-04-11"_s, u""_s);
        loan(u"EMRE ÇELİK"_s, u"NUTUK"_s, u"2026-05-20"_s, u"Verildi"_s);
        loan(u"EMRE ÇELİK"_s, u"ÇALIKUŞU"_s, u"2026-05-01"_s, u"Geri Alindi"_s);
        loan(u"AYŞE YILMAZ"_s, u"KÜÇÜK PRENS"_s, u"2026-05-21"_s, u"Verildi"_s);
        loan(u"AYŞE YILMAZ"_s, u"SİNEKLİ BAKKAL"_s, u"2026-05-18"_s, u"Verildi"_s);
        loan(u"YOK KİŞİ"_s, u"HUZUR"_s, u"2026-05-01"_s, u"Verildi"_s);
        const QString pdf = out->filePath(u"bildirim.pdf"_s);
        const testsupport::ToolRun r =
            run({u"slips"_s, db->filePath(), pdf, u"--today"_s, u"2026-05-21"_s});
        QVERIFY2(r.ended && r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out, u"Wrote 4 reminder slips on 2 pages to "_s + pdf + u"\n"_s);
        const testsupport::ToolRun text =
            testsupport::runTool(tool(u"pdftotext"_s), {u"-layout"_s, pdf, u"-"_s});
        QCOMPARE(text.exitCode, 0);
        QStringList readers, books;
        for (const QString& line : text.out.split(u'\n')) {
            const QString l = line.simplified();
            if (l.startsWith(u"Okuyucu:"_s))
                readers << l;
            else if (l.endsWith(u" gün"_s))
                books << l;
        }
        QCOMPARE(readers,
                 (QStringList{u"Okuyucu: YOK KİŞİ"_s, u"Okuyucu: AYŞE YILMAZ Sınıf: 10/A"_s,
                              u"Okuyucu: ZEYNEP KAYA Sınıf: 10/A No: 1042"_s,
                              u"Okuyucu: EMRE ÇELİK Sınıf: 9/A No: 5"_s}));
        QCOMPARE(books,
                 (QStringList{u"HUZUR 01.05.2026 20 gün"_s, u"SİNEKLİ BAKKAL 18.05.2026 3 gün"_s,
                              u"BEYAZ DİŞ 11.04.2026 40 gün"_s, u"SEFİLLER 01.05.2026 20 gün"_s,
                              u"NUTUK 20.05.2026 1 gün"_s}));
        QCOMPARE(text.out.count(u"GECİKME BİLDİRİMİ"_s), 4);
        QVERIFY(text.out.contains(u"GAZİ LİSESİ"_s));
        // The fonts travel inside the file.
        const testsupport::ToolRun fonts = testsupport::runTool(tool(u"pdffonts"_s), {pdf});
        const QStringList lines = fonts.out.split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!lines.isEmpty());
        for (const QString& l : lines)
            QVERIFY2(l.contains(u" yes "_s), qPrintable(l));

        const testsupport::ToolRun none =
            run({u"slips"_s, db->filePath(), out->filePath(u"yok.pdf"_s), u"--today"_s,
                 u"2026-04-01"_s});
        QCOMPARE(none.exitCode, 1);
        QCOMPARE(none.err.section(u'\n', -2, -2),
                 u"ternavolk-db: no loan is late on 2026-04-01; nothing was written"_s);
        QVERIFY(!QFileInfo::exists(out->filePath(u"yok.pdf"_s)));
    }
};

QTEST_GUILESS_MAIN(PrintedTest)
#include "tst_printed.moc"
