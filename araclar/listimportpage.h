#pragma once

#include "araclar/context.h"
#include "tools/bookimport.h"
#include "tools/readerimport.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSettings;
class QTabWidget;
class QTableWidget;

namespace araclar {

class CheckedRows;
class ListPanel;

// "Listeden Aktar": a school's pupils from its e-Okul class lists (several files together are
// one list) and its books from its own spreadsheet. "Önizle" reads the files behind the wall
// (through the database tool beside the companion), and shows what importing would do: every
// count, and the rows of each list, printable; for books also the matching of columns, which
// the librarian may change. "Aktar" then writes it all in one short transaction, with the
// name conflicts the librarian accepted and the leavers marked "Ayrıldı". Nothing is written
// before "Aktar"; a cancel or a failure writes nothing.
class ListImportPage : public QWidget {
public:
    explicit ListImportPage(const Context& context, QWidget* parent = nullptr);
    ~ListImportPage() override;

    // The actions (the buttons call them).
    void addFile();
    void addFolder();
    void removeFile();
    void clearFiles();
    void preview();
    void importNow();

    // The files chosen, in order.
    QStringList files() const;
    void setFiles(const QStringList& paths);
    bool readersChosen() const;

    QRadioButton* readersRadio;
    QRadioButton* booksRadio;
    QListWidget* fileList;
    QLineEdit* schoolEdit;
    QPushButton* previewButton;
    QPushButton* importButton;
    QLabel* summaryLabel;
    QLabel* stateLabel;
    QTableWidget* columnTable; // books: the register's columns and the list's column of each
    QTabWidget* results;
    ListPanel* addedList;
    ListPanel* movedList;
    ListPanel* unchangedList;
    ListPanel* conflictList;
    ListPanel* leavingList;
    ListPanel* skippedList;
    ListPanel* problemList;
    CheckedRows* acceptedNames; // over conflictList: the names to take from the lists
    CheckedRows* markedLeft;    // over leavingList: the readers to mark "Ayrıldı"

private:
    void kindChanged();
    void clearPreview();
    void readLists();
    void planReaders();
    void showBookColumns();
    void columnChosen();
    void planBooks();
    void showTab(ListPanel* panel, bool shown);
    QWidget* checkButtons(ListPanel* panel, CheckedRows* rows, const QString& what);

    const Context& context_;
    std::unique_ptr<QSettings> settings_;
    // The preview: the lists as read, and what importing them would do.
    std::vector<tools::sheets::Workbook> books_;
    bool previewed_ = false;
    bool previewedReaders_ = true;
    tools::lists::PupilList pupils_;
    tools::lists::ReaderPlan readerPlan_;
    tools::lists::BookLayout layout_;
    tools::lists::BookColumns columns_;
    tools::lists::BookPlan bookPlan_;
};

} // namespace araclar
