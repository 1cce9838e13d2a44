#include "araclar/historypage.h"

#include "araclar/database.h"
#include "araclar/listpanel.h"
#include "araclar/loans.h"
#include "araclar/messages.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace araclar {

namespace {
// More names than a list can sensibly offer: the librarian narrows the search instead.
constexpr int mostNamesShown = 500;
} // namespace

HistoryPanel::HistoryPanel(const Context& context, HistoryOf kind, QWidget* parent)
    : QWidget(parent), context_(context), kind_(kind) {
    const bool reader = kind == HistoryOf::Reader;
    const QString prefix = reader ? QStringLiteral("reader") : QStringLiteral("book");
    setObjectName(prefix + QStringLiteral("History"));
    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(prefix + QStringLiteral("SearchEdit"));
    auto* searchLabel =
        new QLabel(reader ? QStringLiteral("&Okuyucu ara:") : QStringLiteral("&Kitap ara:"), this);
    labelControl(searchLabel, searchEdit);
    names = new QListWidget(this);
    names->setObjectName(prefix + QStringLiteral("Names"));
    auto* namesLabel =
        new QLabel(reader ? QStringLiteral("Okuyucular:") : QStringLiteral("Kitaplar:"), this);
    labelControl(namesLabel, names);
    namesNote = new QLabel(this);
    namesNote->setObjectName(prefix + QStringLiteral("NamesNote"));
    namesNote->setWordWrap(true);
    loans = new ListPanel(
        reader ? QStringLiteral("Okuyucu Geçmişi") : QStringLiteral("Kitap Geçmişi"),
        [this] { return context_.today(); }, this);

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(searchLabel);
    leftLayout->addWidget(searchEdit);
    leftLayout->addWidget(namesLabel);
    leftLayout->addWidget(names, 1);
    leftLayout->addWidget(namesNote);
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(loans);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);

    searchEdit->installEventFilter(this);
    names->setTabKeyNavigation(false);
    connect(searchEdit, &QLineEdit::textChanged, this,
            [this] { guarded([this] { applySearch(); }); });
    connect(names, &QListWidget::currentTextChanged, this,
            [this] { guarded([this] { showChosen(); }); });
}

bool HistoryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && names->count() > 0) {
        names->setFocus(Qt::TabFocusReason);
        if (!names->currentItem())
            names->setCurrentRow(0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryPanel::refresh() {
    all_ = readDatabase(context_.databasePath,
                        [&](const data::sqlite::Database& db) { return historyNames(db, kind_); });
    allFolded_.clear();
    allFolded_.reserve(static_cast<size_t>(all_.size()));
    for (const QString& n : all_)
        allFolded_.push_back(foldedForSearch(n));
    applySearch();
}

void HistoryPanel::applySearch() {
    const TextFilter filter(searchEdit->text());
    QStringList found;
    int matches = 0;
    for (size_t i = 0; i < allFolded_.size(); ++i) {
        if (filter.empty() || filter.matches(allFolded_[i])) {
            if (++matches <= mostNamesShown)
                found << all_[static_cast<qsizetype>(i)];
        }
    }
    const QString chosen = names->currentItem() ? names->currentItem()->text() : QString();
    {
        const QSignalBlocker block(names);
        names->clear();
        names->addItems(found);
        const auto again = names->findItems(chosen, Qt::MatchExactly);
        if (!chosen.isEmpty() && !again.isEmpty())
            names->setCurrentItem(again.front());
    }
    // A chosen name that the search no longer lists takes its loans with it.
    if (!chosen.isEmpty() && !names->currentItem())
        showChosen();
    namesNote->setText(matches > mostNamesShown
                           ? QStringLiteral("%1 sonuçtan ilk %2 tanesi gösteriliyor; aramayı "
                                            "daraltın.")
                                 .arg(matches)
                                 .arg(mostNamesShown)
                           : QStringLiteral("%1 sonuç").arg(matches));
}

void HistoryPanel::showChosen() {
    const WaitCursor busy;
    const QListWidgetItem* item = names->currentItem();
    if (!item) {
        loans->setTable(ReportTable{});
        return;
    }
    const QString name = item->text();
    const QDate today = context_.today();
    loans->setTable(readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        return history(db, kind_, name, today);
    }));
}

HistoryPage::HistoryPage(const Context& context, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("historyPage"));
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("historyTabs"));
    readers = new HistoryPanel(context, HistoryOf::Reader, tabs);
    books = new HistoryPanel(context, HistoryOf::Book, tabs);
    tabs->addTab(readers, QStringLiteral("Okuyucu Geçmişi"));
    tabs->addTab(books, QStringLiteral("Kitap Geçmişi"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
}

void HistoryPage::refresh() {
    readers->refresh();
    books->refresh();
}

} // namespace araclar
