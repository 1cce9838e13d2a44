#pragma once

#include "araclar/reporttable.h"

#include <QDate>

class QPrinter;
class QWidget;

namespace araclar {

// The platform's print dialog, then the list on the printer chosen there (printing::printTable),
// with the task's window over `parent`: "İptal" drops what was not yet sent. Throws
// platform::Error with a Turkish message.
void printWithDialog(const ReportTable& table, QDate day, QWidget* parent);

// The list into a PDF file at `path` (for its owner only), with the task's window over
// `parent`; a stopped or failed save leaves no file. Throws platform::Error with a Turkish
// message.
void savePdf(const ReportTable& table, QDate day, const QString& path, QWidget* parent);

} // namespace araclar
