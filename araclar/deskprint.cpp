#include "araclar/deskprint.h"

#include "araclar/database.h"
#include "araclar/messages.h"
#include "platform/savefile.h"
#include "printing/slips.h"
#include "tools/printdata.h"

#include <QDir>
#include <QPrinter>
#include <QStandardPaths>
#include <functional>

namespace araclar {

namespace {

using Layout =
    std::function<void(QPagedPaintDevice&, platform::Progress&, const std::function<void()>&)>;

void printWith(const QString& document, const Layout& layout, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document);
    printer.setCreator(title());
    // The sheet's millimetres are measured from the paper's corner.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!choosers().print(parent, printer))
        return;
    const auto progress = choosers().progress(parent, QStringLiteral("Yazdırılıyor…"));
    try {
        layout(printer, *progress, [&printer] { printer.abort(); });
    } catch (const platform::Cancelled&) {
        throw;
    } catch (const platform::Error&) {
        throw platform::Error(QStringLiteral("%1 yazıcıya gönderilemedi. Yazıcının açık ve bağlı "
                                             "olduğunu denetleyip yeniden deneyin.")
                                  .arg(document));
    }
}

void savePdfWith(const QString& path, const std::function<void(platform::Progress&)>& save,
                 QWidget* parent) {
    const auto progress = choosers().progress(parent, QStringLiteral("PDF dosyası yazılıyor…"));
    try {
        save(*progress);
    } catch (const platform::WriteError& e) {
        throw platform::Error(QStringLiteral("PDF dosyası '%1' yazılamadı (%2). Dosya başka bir "
                                             "programda açıksa kapatın ya da başka bir ad veya "
                                             "klasör seçin.")
                                  .arg(QDir::toNativeSeparators(path), e.reason()));
    }
}

std::vector<printing::ReminderSlip> readSlips(const Context& context, const QString& school) {
    const QDate today = context.today();
    auto slips = readDatabase(context.databasePath, [&](const data::sqlite::Database& db) {
        return tools::printdata::reminderSlips(db, today, school);
    });
    if (slips.empty())
        inform(QStringLiteral("Bugün geciken ödünç yok; bildirim yazdırılmadı."));
    return slips;
}

} // namespace

void printLabels(const std::vector<printing::BookLabel>& labels, const printing::LabelRun& run,
                 QWidget* parent) {
    printWith(
        QStringLiteral("Kitap etiketleri"),
        [&](QPagedPaintDevice& d, platform::Progress& p, const std::function<void()>& abandon) {
            printing::printLabels(labels, run, d, p, abandon);
        },
        parent);
}

void saveLabelsPdf(const std::vector<printing::BookLabel>& labels, const printing::LabelRun& run,
                   const QString& path, QWidget* parent) {
    savePdfWith(
        path,
        [&](platform::Progress& p) { printing::saveLabelsPdf(labels, run, path, title(), p); },
        parent);
}

void printCards(const std::vector<printing::ReaderCard>& cards, QWidget* parent) {
    printWith(
        QStringLiteral("Okuyucu kartları"),
        [&](QPagedPaintDevice& d, platform::Progress& p, const std::function<void()>& abandon) {
            printing::printCards(cards, d, p, abandon);
        },
        parent);
}

void saveCardsPdf(const std::vector<printing::ReaderCard>& cards, const QString& path,
                  QWidget* parent) {
    savePdfWith(
        path, [&](platform::Progress& p) { printing::saveCardsPdf(cards, path, title(), p); },
        parent);
}

void printReminderSlips(const Context& context, QWidget* parent, const QString& school) {
    const std::vector<printing::ReminderSlip> slips = readSlips(context, school);
    if (slips.empty())
        return;
    const QDate today = context.today();
    printWith(
        QStringLiteral("Gecikme bildirimleri"),
        [&](QPagedPaintDevice& d, platform::Progress& p, const std::function<void()>& abandon) {
            printing::printSlips(slips, today, d, p, abandon);
        },
        parent);
}

void saveReminderSlipsPdf(const Context& context, QWidget* parent, const QString& school) {
    const std::vector<printing::ReminderSlip> slips = readSlips(context, school);
    if (slips.empty())
        return;
    const QDate today = context.today();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        choosers().saveFile(parent, QStringLiteral("Gecikme Bildirimlerini PDF Olarak Kaydet"),
                            QDir(folder).filePath(QStringLiteral("Gecikme Bildirimleri ") +
                                                  today.toString(QStringLiteral("yyyy-MM-dd")) +
                                                  QStringLiteral(".pdf")),
                            QStringLiteral("PDF dosyası (*.pdf)"));
    if (path.isEmpty())
        return;
    savePdfWith(
        path,
        [&](platform::Progress& p) { printing::saveSlipsPdf(slips, today, path, title(), p); },
        parent);
}

} // namespace araclar
