#pragma once

#include "araclar/context.h"
#include "tools/codes.h"
#include "tools/desk.h"

#include <QByteArray>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QTableWidget;

namespace araclar {

// "Ödünç Masası": a loan in two scans. One input field keeps the focus while the page is
// shown; it takes what a scanner types (the code, then Enter) or a name typed by hand, which
// the list under it narrows as it is typed. Two modes, each on one key:
// - "Ödünç Ver" (F2): a card shows its reader, the books the reader holds and how many more
//   the reader may take; each book scanned then becomes a loan of that reader.
// - "Geri Al" (F3): a book scanned gives back the loan of its title that is out; when several
//   readers hold that title, the librarian picks one (↑ ↓, Enter). A card lists what its reader
//   holds, to pick the one brought back.
// A rule that stops a loan shows a warning in large letters and beeps; F9 ("Yine de ver")
// lends all the same, Esc drops it. Ctrl+Z takes the desk's last action back, unless the loan
// was changed meanwhile. Each action is one short transaction (tools/desk.h).
class DeskPage : public QWidget {
public:
    enum class Mode { Lend, Return };

    DeskPage(const Context& context, QSettings& settings, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    void setMode(Mode mode);
    // Enter in the input field: the scanned code, the name typed, or the entry chosen.
    void takeInput();
    // F9: the loan the warning stopped, all the same.
    void overrideStop();
    // Ctrl+Z.
    void undoLast();
    // Esc: drops the warning, the choice, the typed text, and then the reader.
    void dropCurrent();
    // F5: the names and the reader read again.
    void refresh();

    // The reader the books scanned now go to.
    std::optional<qint64> currentReader() const;

    QLabel* modeLabel;
    QPushButton* lendButton;
    QPushButton* returnButton;
    QLineEdit* scanEdit;
    QLabel* warningLabel;
    QLabel* messageLabel;
    QLabel* readerLabel;
    QTableWidget* heldList;
    QLabel* choiceLabel;
    QListWidget* choiceList;
    QPushButton* overrideButton;
    QPushButton* undoButton;
    QPushButton* dropButton;
    QPushButton* refreshButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Runs a key's or a button's action: a failure goes to the warning line.
    void run(const std::function<void()>& action);
    // One entry of the list under the input field.
    struct Choice {
        tools::Found::Kind kind = tools::Found::Kind::Reader;
        qint64 id = 0;
        std::optional<tools::desk::LoanRow> loan; // a loan to give back
    };
    enum class Listing { None, Search, Ambiguous, Holders };
    struct Pending {
        qint64 reader = 0;
        qint64 book = 0;
        std::vector<tools::desk::Rule> rules;
    };
    struct LastAction {
        bool lend = true;
        tools::desk::LoanRow before; // a return: the row before
        tools::desk::LoanRow after;  // a loan: the row written; a return: the row after
        QString what;
    };
    struct Name {
        qint64 id;
        QString shown;
        QByteArray folded;
    };

    void act(const tools::Found& found);
    void chooseReader(qint64 id);
    void lendBook(qint64 book, const std::vector<tools::desk::Rule>& overridden);
    void returnTitle(qint64 book);
    void listReaderLoans(qint64 reader);
    void giveBack(const tools::desk::LoanRow& loan);
    void showReader();
    void search();
    void loadNames();
    void showChoices(Listing listing, const QString& caption, const std::vector<Choice>& choices,
                     const QStringList& texts);
    void clearChoices();
    void warn(const QString& text);
    void tell(const QString& text);
    void moveChoice(int by);
    QString stopText(const tools::desk::Stop& stop) const;

    const Context& context_;
    QSettings& settings_;
    Mode mode_ = Mode::Lend;
    std::optional<tools::desk::ReaderState> reader_;
    std::optional<Pending> pending_;
    std::optional<LastAction> last_;
    Listing listing_ = Listing::None;
    std::vector<Choice> choices_;
    std::vector<Name> readerNames_, bookNames_;
    bool namesLoaded_ = false;
    bool indexesChecked_ = false;
};

} // namespace araclar
