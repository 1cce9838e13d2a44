#include "printing/pdffile.h"

#include "platform/savefile.h"

#include <QPageSize>

namespace printing {

PdfFile::PdfFile(const QString& path, const QString& title, const QString& creator) : file_(path) {
    platform::openForOwner(file_);
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setTitle(title);
    writer_->setCreator(creator);
    writer_->setPageSize(QPageSize(QPageSize::A4));
}

PdfFile::~PdfFile() {
    writer_.reset();
    if (file_.isOpen())
        file_.cancelWriting();
}

void PdfFile::commit() {
    writer_.reset(); // the writer has written the file's end when its painter ended
    platform::commitFile(file_);
}

} // namespace printing
