#pragma once

#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <memory>

namespace printing {

// A PDF file being written: whole or not at all, readable by its owner only (see
// platform::openForOwner), A4 unless the layout sets another page. Draw on writer() with a
// QPainter, end the painter, then commit(); a PdfFile destroyed without commit() leaves no file
// behind (and an earlier file of that name as it was). Throws platform::WriteError.
class PdfFile {
public:
    PdfFile(const QString& path, const QString& title, const QString& creator);
    ~PdfFile();
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;

    QPdfWriter& writer() { return *writer_; }
    void commit();

private:
    QSaveFile file_;
    std::unique_ptr<QPdfWriter> writer_;
};

} // namespace printing
