#pragma once

#include "platform/progress.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace printing {

// One late book on a reminder slip.
struct LateBook {
    QString title;
    QDate due;
    int daysLate = 0;
};

// What one reminder slip ("Gecikme Bildirimi") says to one reader.
struct ReminderSlip {
    QString school;
    QString reader;
    QString level;  // the class
    QString number; // NUMARASI
    std::vector<LateBook> books;
};

// Three slips to an A4 page, each a third of it (210 × 99 mm), with dashed cut lines between
// them. Each: the school and the day, "GECİKME BİLDİRİMİ", the reader, the class and the
// number, a short polite text, each late book with its due date and days late (as many as fit;
// a last line says how many more), and the librarian's signature line. The slips are printed in
// the order given. Reports slip by slip to `progress`; `abandon` runs before the painter ends
// when anything stops it. Throws platform::Error when the device cannot be painted on.
inline constexpr int slipsPerPage = 3;
inline constexpr double slipHeight = 99;
void printSlips(const std::vector<ReminderSlip>& slips, QDate day, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon = {});
void saveSlipsPdf(const std::vector<ReminderSlip>& slips, QDate day, const QString& path,
                  const QString& creator, platform::Progress& progress);

// The polite text of every slip.
QString reminderText();

} // namespace printing
