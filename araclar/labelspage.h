#pragma once

#include "araclar/context.h"
#include "printing/labels.h"
#include "tools/printdata.h"

#include <QByteArray>
#include <QWidget>
#include <set>

class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QSpinBox;

namespace araclar {

// "Etiket ve Kart": codes for the books that have none ("Barkod Ver"), the books' labels on a
// sheet of stickers, the readers' cards, and the reminder slips of the late loans; each printed
// or saved as PDF. The sheet, the name printed on the labels and the sheet the librarian
// describes are remembered for the library.
class LabelsPage : public QWidget {
public:
    LabelsPage(const Context& context, QSettings& settings, QWidget* parent = nullptr);

    // Reads the books, readers, schools and classes again.
    void refresh();
    // The books the choice names (with or without a code).
    std::vector<tools::printdata::LabelBook> chosenBooks() const;
    // "Barkod Ver": a code for each chosen book that has none, listed in the status line.
    void giveCodes();
    // The sheet chosen (or described), and the whole run.
    printing::LabelSheet sheet() const;
    printing::LabelRun labelRun() const;
    void printLabels();
    void saveLabelsPdf();
    std::vector<tools::printdata::CardReader> chosenReaders() const;
    void printCards();
    void saveCardsPdf();

    QLineEdit* libraryEdit;
    QComboBox*
        bookChoice; // 0 chosen in the list, 1 serial numbers, 2 added since, 3 all with a code
    QLineEdit* bookSearch;
    QListWidget* bookList;
    QSpinBox* fromSerial;
    QSpinBox* toSerial;
    QDateEdit* sinceEdit;
    QPushButton* giveCodesButton;
    QComboBox* sheetCombo; // 0 3 × 8, 1 3 × 7, 2 described
    QSpinBox* columnsSpin;
    QSpinBox* rowsSpin;
    QDoubleSpinBox* widthSpin;
    QDoubleSpinBox* heightSpin;
    QDoubleSpinBox* topSpin;
    QDoubleSpinBox* leftSpin;
    QDoubleSpinBox* columnGapSpin;
    QDoubleSpinBox* rowGapSpin;
    QSpinBox* startSpin;
    QPushButton* printLabelsButton;
    QPushButton* pdfLabelsButton;
    QComboBox* readerChoice; // 0 by school and class, 1 chosen in the list
    QComboBox* schoolCombo;
    QComboBox* levelCombo;
    QLineEdit* readerSearch;
    QListWidget* readerList;
    QPushButton* printCardsButton;
    QPushButton* pdfCardsButton;
    QPushButton* printSlipsButton;
    QPushButton* pdfSlipsButton;
    QLabel* statusLabel;

private:
    struct Entry {
        qint64 id;
        QString shown;
        QByteArray folded;
    };
    void fillList(QListWidget* list, const std::vector<Entry>& entries, const QString& typed,
                  const std::set<qint64>& picked);
    void rememberSheet();
    void showSheet();
    void fillLevels();
    // The printable labels of the chosen books; asks to give codes to those without one.
    std::vector<printing::BookLabel> labelsToPrint();
    std::vector<printing::ReaderCard> cardsToPrint();
    QString pdfPath(const QString& caption, const QString& name);

    const Context& context_;
    QSettings& settings_;
    std::vector<Entry> books_, readers_;
    std::set<qint64> pickedBooks_, pickedReaders_;
    bool showingSheet_ = false;
};

} // namespace araclar
