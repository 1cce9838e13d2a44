#pragma once

#include "platform/progress.h"
#include "printing/reporttable.h"

#include <QDate>
#include <QPageLayout>
#include <functional>

class QPagedPaintDevice;

namespace printing {

// How a list is laid out on paper: A4, landscape when it has more than five columns, margins of
// 15 mm.
QPageLayout tablePageLayout(const ReportTable& table);

// Lays a list out on the device's pages, row by row: the title, the day and the count at the
// top of the first page; the column captions (wrapped within their columns, never running into
// each other) at the top of every page; each row as high as its tallest cell, wrapped within
// its column, with a gap between columns; at the foot of every page the title, the day and
// "Sayfa N / M". Time and memory grow with the rows, not faster. The device's page layout is set
// to tablePageLayout. Reports to `progress` (which may stop it: platform::Cancelled) row by row.
// Throws platform::Error when the device cannot be painted on; when it stops on any exception,
// `abandon` runs first, before the painter ends (a printer drops the pages it was given).
void printTable(const ReportTable& table, QDate day, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon = {});

// The same into a new PDF file at `path` (see PdfFile): nothing is left there when it fails or
// is stopped. `creator` names the program in the file's properties.
void saveTablePdf(const ReportTable& table, QDate day, const QString& path, const QString& creator,
                  platform::Progress& progress);

} // namespace printing
