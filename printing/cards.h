#pragma once

#include "platform/progress.h"

#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace printing {

// What a reader's library card shows.
struct ReaderCard {
    QString school;
    QString name;
    QString level;  // the class (OGRENIMDURUMU)
    QString number; // NUMARASI, as the register keeps it
    QString code;   // the card's code, printed as Code 128 with its characters under it
};

// Cards of the bank-card size, 85.6 × 54 mm, ten to an A4 page in two columns of five,
// edge to edge in the middle of the paper, with cut marks in the margins along every edge.
inline constexpr double cardWidth = 85.6;
inline constexpr double cardHeight = 54;
inline constexpr int cardColumns = 2;
inline constexpr int cardRows = 5;
inline constexpr int cardsPerPage = cardColumns * cardRows;
// The inner margin a card's content keeps from its edges, in millimetres.
inline constexpr double cardMargin = 4;
// Card `index` of a page (0 is the top left one, counted along the rows), in millimetres.
QRectF cardRect(int index);

// Lays the cards out: on each the school, "KÜTÜPHANE KARTI", the name, the class and the
// number, and the barcode of the code with its characters under it. Reports card by card to
// `progress`; `abandon` runs before the painter ends when anything stops it. Throws
// platform::Error when a code cannot be printed or the device cannot be painted on.
void printCards(const std::vector<ReaderCard>& cards, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon = {});
void saveCardsPdf(const std::vector<ReaderCard>& cards, const QString& path, const QString& creator,
                  platform::Progress& progress);

} // namespace printing
