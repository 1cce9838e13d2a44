#pragma once

#include "araclar/context.h"
#include "araclar/history.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace araclar {

class ListPanel;

// One history: a search box over the names, the names found, and the loans of the chosen one.
class HistoryPanel : public QWidget {
public:
    HistoryPanel(const Context& context, HistoryOf kind, QWidget* parent = nullptr);

    // Reads the names again.
    void refresh();
    // Lists the names that hold the typed text (Turkish-aware, as the program's search bars).
    void applySearch();
    // Shows the loans of the chosen name.
    void showChosen();

    QLineEdit* searchEdit;
    QListWidget* names;
    QLabel* namesNote;
    ListPanel* loans;

protected:
    // Down in the search box goes on into the names found.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Context& context_;
    HistoryOf kind_;
    QStringList all_;
    std::vector<QByteArray> allFolded_;
};

// "Okuyucu / Kitap Geçmişi": a reader's history and a book's, each on a tab of its own.
class HistoryPage : public QWidget {
public:
    explicit HistoryPage(const Context& context, QWidget* parent = nullptr);
    void refresh();

    QTabWidget* tabs;
    HistoryPanel* readers;
    HistoryPanel* books;
};

} // namespace araclar
