#pragma once

#include "araclar/reporttable.h"
#include "tools/bookimport.h"
#include "tools/readerimport.h"

#include <QString>

// The lists import in the companion's words: why a list was refused, why a row is listed, and
// the lists of a preview as tables to show, print and save.
namespace araclar {

// A refused list in Turkish, saying what to do; nothing was written.
QString turkishMessage(const tools::sheets::SheetError& error);

// "'eokul_9.XLS' satır 7", "'liste.xlsx', '9-A' sayfası, satır 7".
QString turkishSource(const tools::lists::Source& at);
// Why a row is listed, in Turkish ("öğrenci numarası yok; alınmadı").
QString turkishIssue(const tools::lists::Listed& listed);

// The register's book columns as the book entry window names them ("Kitap No", "Kitap Adı").
QString bookColumnCaption(int column);

// The lists of a readers' preview.
ReportTable addedReadersTable(const tools::lists::ReaderPlan& plan);
ReportTable movedReadersTable(const tools::lists::ReaderPlan& plan);
ReportTable unchangedReadersTable(const tools::lists::ReaderPlan& plan);
ReportTable conflictsTable(const tools::lists::ReaderPlan& plan);
ReportTable leavingTable(const tools::lists::ReaderPlan& plan);
// The skipped rows or the problems (`title` names which), of readers or of books.
ReportTable listedTable(const QString& title, const std::vector<tools::lists::Listed>& rows,
                        bool books);
// The books of a books' preview.
ReportTable addedBooksTable(const tools::lists::BookPlan& plan);

} // namespace araclar
