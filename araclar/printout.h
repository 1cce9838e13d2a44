#pragma once

#include "araclar/reporttable.h"

#include <QDate>

class QPrinter;
class QWidget;

namespace araclar {

// Lays a list out on the printer's pages: the title and the day at the top, the list as a
// table whose captions repeat on every page it runs over, and at the foot of each page the
// title, the day and "Sayfa N / M". Wide lists go on landscape pages.
void printReport(const ReportTable& table, QDate day, QPrinter& printer);

// The same into a PDF file; throws platform::Error with a Turkish message.
void savePdf(const ReportTable& table, QDate day, const QString& path);

// The platform's print dialog, then the list on the printer chosen there.
void printWithDialog(const ReportTable& table, QDate day, QWidget* parent);

} // namespace araclar
