#include "araclar/printout.h"

#include "araclar/messages.h"
#include "platform/savefile.h"
#include "printing/tableprint.h"

#include <QPrinter>

namespace araclar {

void printWithDialog(const ReportTable& table, QDate day, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(table.title);
    printer.setCreator(title());
    printer.setPageLayout(printing::tablePageLayout(table));
    if (!choosers().print(parent, printer))
        return;
    const auto progress = choosers().progress(parent, QStringLiteral("Yazdırılıyor…"));
    try {
        printing::printTable(table, day, printer, *progress, [&printer] { printer.abort(); });
    } catch (const platform::Cancelled&) {
        throw;
    } catch (const platform::Error&) {
        throw platform::Error(QStringLiteral("Liste yazıcıya gönderilemedi. Yazıcının açık ve "
                                             "bağlı olduğunu denetleyip yeniden deneyin."));
    }
}

void savePdf(const ReportTable& table, QDate day, const QString& path, QWidget* parent) {
    const auto progress = choosers().progress(parent, QStringLiteral("PDF dosyası yazılıyor…"));
    try {
        printing::saveTablePdf(table, day, path, title(), *progress);
    } catch (const platform::WriteError& e) {
        throw platform::Error(QStringLiteral("PDF dosyası '%1' yazılamadı (%2). Dosya başka bir "
                                             "programda açıksa kapatın ya da başka bir ad veya "
                                             "klasör seçin.")
                                  .arg(path, e.reason()));
    }
}

} // namespace araclar
