#pragma once

#include "araclar/context.h"
#include "araclar/loans.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace araclar {

class ListPanel;

// "Geciken Kitaplar": the loans that are late, longest late first, and beside them
// "Dışarıdaki Kitaplar", every loan still out; both narrowed as the librarian types (reader,
// book or school) and by a school chosen from a list.
class OverduePage : public QWidget {
public:
    explicit OverduePage(const Context& context, QWidget* parent = nullptr);

    // Reads the loans again (on opening and with "Yenile").
    void refresh();
    // Applies the typed text and the chosen school to both lists.
    void applyFilter();

    QLineEdit* filterEdit;
    QComboBox* schoolCombo;
    QTabWidget* lists;
    ListPanel* overdueList;
    ListPanel* outList;
    QLabel* todayLabel;

private:
    const Context& context_;
    std::vector<OutLoan> loans_;
    std::vector<int> overdueOrder_;
    std::vector<int> outOrder_;
    std::vector<int> overdueRows_; // the late loans as rows of the out list's table
};

} // namespace araclar
