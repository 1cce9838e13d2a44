#pragma once

#include "araclar/context.h"
#include "printing/cards.h"
#include "printing/labels.h"

#include <QString>
#include <vector>

class QWidget;

// The labels, cards and reminder slips on the printer (the platform's print dialog, the
// printer set to its whole page so that the sheet's millimetres hold) or into a PDF file, each
// with the task's window and its "İptal". Throw platform::Error with a Turkish message.
namespace araclar {

void printLabels(const std::vector<printing::BookLabel>& labels, const printing::LabelRun& run,
                 QWidget* parent);
void saveLabelsPdf(const std::vector<printing::BookLabel>& labels, const printing::LabelRun& run,
                   const QString& path, QWidget* parent);
void printCards(const std::vector<printing::ReaderCard>& cards, QWidget* parent);
void saveCardsPdf(const std::vector<printing::ReaderCard>& cards, const QString& path,
                  QWidget* parent);

// The reminder slips ("Gecikme Bildirimi") of every reader with a late loan today (of `school`
// only, when one is given), one per reader, by school, class and name: printed, or saved as a
// PDF file the librarian names. What the overdue list's buttons call. Says so, and prints
// nothing, when no loan is late.
void printReminderSlips(const Context& context, QWidget* parent, const QString& school = QString());
void saveReminderSlipsPdf(const Context& context, QWidget* parent,
                          const QString& school = QString());

} // namespace araclar
