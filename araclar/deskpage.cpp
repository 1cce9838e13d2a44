#include "araclar/deskpage.h"

#include "araclar/database.h"

#include "araclar/desksettings.h"
#include "araclar/listpanel.h"
#include "araclar/loans.h"
#include "araclar/messages.h"
#include "data/sqlite.h"
#include "platform/beep.h"
#include "platform/textrules.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

namespace araclar {

using tools::Found;
namespace desk = tools::desk;

namespace {

// More names than a list can sensibly offer: the librarian types on instead.
constexpr int mostNamesShown = 50;

QString day(const std::optional<QDate>& d) {
    return d ? platform::dayText(*d) : QString();
}

QString lateText(int days) {
    return days > 0 ? QStringLiteral("Gecikmiş (%1 gün)").arg(days) : QStringLiteral("Süresinde");
}

QPushButton* keyButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(text);
    b->setFocusPolicy(Qt::NoFocus); // the input field keeps the focus
    return b;
}

bool hasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) &&
           !tools::deskReaderKey(text.trimmed());
}

} // namespace

DeskPage::DeskPage(const Context& context, QSettings& settings, QWidget* parent)
    : QWidget(parent), context_(context), settings_(settings) {
    setObjectName(QStringLiteral("deskPage"));

    modeLabel = new QLabel(this);
    modeLabel->setObjectName(QStringLiteral("modeLabel"));
    modeLabel->setAlignment(Qt::AlignCenter);
    QFont big = modeLabel->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    modeLabel->setFont(big);
    modeLabel->setAutoFillBackground(true);
    lendButton = keyButton(QStringLiteral("Ödünç Ver (F2)"), QStringLiteral("lendButton"), this);
    returnButton = keyButton(QStringLiteral("Geri Al (F3)"), QStringLiteral("returnButton"), this);

    scanEdit = new QLineEdit(this);
    scanEdit->setObjectName(QStringLiteral("scanEdit"));
    QFont entry = scanEdit->font();
    entry.setPointSizeF(entry.pointSizeF() * 1.5);
    scanEdit->setFont(entry);
    scanEdit->setPlaceholderText(
        QStringLiteral("kartı ya da kitabın barkodunu okutun, ya da bir ad "
                       "yazın"));
    auto* scanLabel = new QLabel(QStringLiteral("&Okutun ya da yazın:"), this);
    labelControl(scanLabel, scanEdit);

    warningLabel = new QLabel(this);
    warningLabel->setObjectName(QStringLiteral("warningLabel"));
    warningLabel->setAccessibleName(QStringLiteral("Uyarı"));
    warningLabel->setWordWrap(true);
    QFont warnFont = warningLabel->font();
    warnFont.setPointSizeF(warnFont.pointSizeF() * 1.6);
    warnFont.setBold(true);
    warningLabel->setFont(warnFont);
    warningLabel->setStyleSheet(QStringLiteral(
        "QLabel { background: #c62828; color: white; padding: 8px; border-radius: 4px; }"));
    warningLabel->hide();
    messageLabel = new QLabel(this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setAccessibleName(QStringLiteral("Son işlem"));
    messageLabel->setWordWrap(true);
    QFont messageFont = messageLabel->font();
    messageFont.setPointSizeF(messageFont.pointSizeF() * 1.2);
    messageLabel->setFont(messageFont);

    readerLabel = new QLabel(this);
    readerLabel->setObjectName(QStringLiteral("readerLabel"));
    readerLabel->setAccessibleName(QStringLiteral("Okuyucu"));
    readerLabel->setWordWrap(true);
    heldList = new QTableWidget(0, 4, this);
    heldList->setObjectName(QStringLiteral("heldList"));
    heldList->setAccessibleName(QStringLiteral("Okuyucunun elindeki kitaplar"));
    heldList->setHorizontalHeaderLabels({QStringLiteral("Kitap"), QStringLiteral("Veriliş"),
                                         QStringLiteral("Son gün"), QStringLiteral("Durum")});
    heldList->setFocusPolicy(Qt::NoFocus);
    heldList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    heldList->verticalHeader()->hide();
    heldList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    choiceLabel = new QLabel(this);
    choiceLabel->setObjectName(QStringLiteral("choiceLabel"));
    choiceLabel->setWordWrap(true);
    choiceList = new QListWidget(this);
    choiceList->setObjectName(QStringLiteral("choiceList"));
    choiceList->setAccessibleName(QStringLiteral("Seçenekler"));
    choiceList->setFocusPolicy(Qt::NoFocus);

    overrideButton =
        keyButton(QStringLiteral("Yine de ver (F9)"), QStringLiteral("overrideButton"), this);
    overrideButton->setEnabled(false);
    undoButton = keyButton(QStringLiteral("Son İşlemi Geri Çevir (Ctrl+Z)"),
                           QStringLiteral("undoButton"), this);
    dropButton = keyButton(QStringLiteral("Vazgeç (Esc)"), QStringLiteral("dropButton"), this);
    refreshButton = keyButton(QStringLiteral("Yenile (F5)"), QStringLiteral("refreshButton"), this);

    auto* modes = new QHBoxLayout;
    modes->addWidget(lendButton);
    modes->addWidget(modeLabel, 1);
    modes->addWidget(returnButton);
    auto* keys = new QHBoxLayout;
    keys->addWidget(overrideButton);
    keys->addWidget(undoButton);
    keys->addWidget(dropButton);
    keys->addStretch(1);
    keys->addWidget(refreshButton);
    auto* readerColumn = new QVBoxLayout;
    readerColumn->addWidget(readerLabel);
    readerColumn->addWidget(heldList, 1);
    auto* choiceColumn = new QVBoxLayout;
    choiceColumn->addWidget(choiceLabel);
    choiceColumn->addWidget(choiceList, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(readerColumn, 3);
    lists->addLayout(choiceColumn, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(scanLabel);
    layout->addWidget(scanEdit);
    layout->addWidget(warningLabel);
    layout->addWidget(messageLabel);
    layout->addLayout(lists, 1);
    layout->addLayout(keys);

    scanEdit->installEventFilter(this);
    connect(scanEdit, &QLineEdit::textChanged, this, [this] { guarded([this] { search(); }); });
    const auto button = [this](QPushButton* b, void (DeskPage::*action)()) {
        connect(b, &QPushButton::clicked, this, [this, action] {
            run([this, action] { (this->*action)(); });
            scanEdit->setFocus();
        });
    };
    connect(lendButton, &QPushButton::clicked, this, [this] { setMode(Mode::Lend); });
    connect(returnButton, &QPushButton::clicked, this, [this] { setMode(Mode::Return); });
    button(overrideButton, &DeskPage::overrideStop);
    button(undoButton, &DeskPage::undoLast);
    button(dropButton, &DeskPage::dropCurrent);
    button(refreshButton, &DeskPage::refresh);
    setMode(Mode::Lend);
    showReader();
}

bool DeskPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != scanEdit ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo) ||
                      (key->key() == Qt::Key_Z && key->modifiers() == Qt::ControlModifier);
    std::function<void()> action;
    switch (key->key()) {
    case Qt::Key_F2:
        action = [this] { setMode(Mode::Lend); };
        break;
    case Qt::Key_F3:
        action = [this] { setMode(Mode::Return); };
        break;
    case Qt::Key_F5:
        action = [this] { refresh(); };
        break;
    case Qt::Key_F9:
        action = [this] { overrideStop(); };
        break;
    case Qt::Key_Escape:
        action = [this] { dropCurrent(); };
        break;
    case Qt::Key_Up:
        action = [this] { moveChoice(-1); };
        break;
    case Qt::Key_Down:
        action = [this] { moveChoice(1); };
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        action = [this] { takeInput(); };
        break;
    default:
        if (undo)
            action = [this] { undoLast(); };
        break;
    }
    if (!action)
        return QWidget::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress)
        run(action);
    return true;
}

void DeskPage::run(const std::function<void()>& action) {
    // A file that is busy or cannot be read is said on the warning line, with a beep: a box
    // would take the next scan's Enter for its OK.
    guarded([&] {
        try {
            action();
        } catch (const platform::Abort&) {
            throw;
        } catch (const platform::Error& e) {
            warn(turkishMessage(e));
        }
    });
}

void DeskPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    namesLoaded_ = false; // the program may have added readers and books meanwhile
    scanEdit->setFocus();
}

std::optional<qint64> DeskPage::currentReader() const {
    if (!reader_)
        return std::nullopt;
    return reader_->reader.id;
}

void DeskPage::setMode(Mode mode) {
    mode_ = mode;
    pending_.reset();
    warningLabel->hide();
    overrideButton->setEnabled(false);
    clearChoices();
    const bool lend = mode == Mode::Lend;
    modeLabel->setText(lend ? QStringLiteral("ÖDÜNÇ VER") : QStringLiteral("GERİ AL"));
    modeLabel->setAccessibleName(QStringLiteral("Kip: ") +
                                 (lend ? QStringLiteral("Ödünç Ver") : QStringLiteral("Geri Al")));
    modeLabel->setStyleSheet(lend
                                 ? QStringLiteral("QLabel { background: #2e7d32; color: white; }")
                                 : QStringLiteral("QLabel { background: #1565c0; color: white; }"));
    scanEdit->setFocus();
}

void DeskPage::warn(const QString& text) {
    warningLabel->setText(text);
    warningLabel->show();
    platform::beep();
}

void DeskPage::tell(const QString& text) {
    warningLabel->hide();
    warningLabel->clear();
    messageLabel->setText(text);
}

void DeskPage::takeInput() {
    const QString text = scanEdit->text().trimmed();
    {
        // The field is empty for the next scan, whatever this one finds or however it fails.
        const QSignalBlocker quiet(scanEdit);
        scanEdit->clear();
    }
    const int row = choiceList->currentRow();
    const bool chosen = listing_ != Listing::None && row >= 0;
    if (text.isEmpty()) {
        if (chosen) {
            const Choice c = choices_[static_cast<size_t>(row)];
            clearChoices();
            if (c.loan)
                giveBack(*c.loan);
            else
                act({c.kind, c.id, QString(), QString()});
        }
        return;
    }
    pending_.reset();
    overrideButton->setEnabled(false);
    std::vector<Found> found;
    {
        const auto db = desk::openDesk(context_.databasePath);
        if (!indexesChecked_)
            indexesChecked_ = tools::ensureLookupIndexes(*db);
        found = tools::resolveCode(*db, text);
    }
    if (found.size() == 1) {
        clearChoices();
        act(found.front());
        return;
    }
    if (found.size() > 1) {
        std::vector<Choice> choices;
        QStringList texts;
        for (const Found& f : found) {
            choices.push_back({f.kind, f.id, std::nullopt});
            texts << (f.kind == Found::Kind::Reader ? QStringLiteral("Okuyucu: ")
                                                    : QStringLiteral("Kitap: ")) +
                         f.name +
                         (f.detail.isEmpty() ? QString() : QStringLiteral(" — ") + f.detail);
        }
        showChoices(Listing::Ambiguous,
                    QStringLiteral("\"%1\" birden çok kayda ait. Hangisi? ↑ ↓ ile seçip Enter'a "
                                   "basın.")
                        .arg(text),
                    choices, texts);
        warn(QStringLiteral("Bu kod birden çok kayda ait: listeden birini seçin."));
        return;
    }
    if (listing_ == Listing::Search && row >= 0) {
        const Choice c = choices_[static_cast<size_t>(row)];
        clearChoices();
        act({c.kind, c.id, QString(), QString()});
        return;
    }
    clearChoices();
    warn(QStringLiteral("\"%1\" ile bulunan okuyucu ya da kitap yok.").arg(text));
}

void DeskPage::act(const Found& found) {
    const bool reader = found.kind == Found::Kind::Reader;
    if (mode_ == Mode::Lend) {
        if (reader) {
            chooseReader(found.id);
        } else if (!reader_) {
            warn(QStringLiteral("Önce okuyucunun kartını okutun (ya da adını yazıp seçin), sonra "
                                "kitabı."));
        } else {
            lendBook(found.id, {});
        }
        return;
    }
    if (reader)
        listReaderLoans(found.id);
    else
        returnTitle(found.id);
}

void DeskPage::chooseReader(qint64 id) {
    clearChoices();
    const auto db = desk::openDesk(context_.databasePath);
    const std::optional<desk::Reader> r = desk::readReader(*db, id);
    if (!r) {
        warn(QStringLiteral("Bu okuyucu artık kayıtlı değil."));
        return;
    }
    reader_ = desk::readerState(*db, *r, context_.today(), loadRules(settings_, context_));
    showReader();
    tell(QStringLiteral("Okuyucu: %1. Vereceğiniz kitapları okutun.").arg(r->name));
}

QString DeskPage::stopText(const desk::Stop& stop) const {
    switch (stop.rule) {
    case desk::Rule::NotLent:
        return QStringLiteral("Bu kitap ödünç verilmez: türü \"%1\".").arg(stop.kind);
    case desk::Rule::Limit:
        return QStringLiteral("Okuyucunun elinde %1 kitap var; en çok %2 kitap alabilir.")
            .arg(stop.held)
            .arg(stop.limit);
    case desk::Rule::Late:
        return QStringLiteral("Okuyucunun geciken %1 kitabı var; geciken kitabı olana yeni kitap "
                              "verilmez.")
            .arg(stop.held);
    }
    return QString();
}

void DeskPage::lendBook(qint64 book, const std::vector<desk::Rule>& overridden) {
    if (!reader_)
        return;
    const desk::Rules rules = loadRules(settings_, context_);
    const auto db = desk::openDesk(context_.databasePath);
    const desk::Lending l =
        desk::lend(*db, reader_->reader.id, book, context_.now(), rules, overridden);
    switch (l.outcome) {
    case desk::Lending::Outcome::Lent: {
        const QString what =
            QStringLiteral("%1, %2 adına verildi. Son teslim günü: %3.")
                .arg(l.book->title, l.reader->name,
                     day(tools::storedDate(l.written->text(u"GERIGETIRMETARIHI"))));
        last_ = LastAction{true, desk::LoanRow(), *l.written, what};
        reader_ = desk::readerState(*db, *l.reader, context_.today(), rules);
        showReader();
        tell(what);
        return;
    }
    case desk::Lending::Outcome::Stopped: {
        std::vector<desk::Rule> rulesStopped = overridden;
        QStringList texts;
        for (const desk::Stop& s : l.stops) {
            rulesStopped.push_back(s.rule);
            texts << stopText(s);
        }
        pending_ = Pending{reader_->reader.id, book, rulesStopped};
        overrideButton->setEnabled(true);
        warn(QStringLiteral("%1 verilmedi. ").arg(l.book->title) + texts.join(u' ') +
             QStringLiteral(" Yine de vermek için F9'a, vazgeçmek için Esc'ye basın."));
        return;
    }
    case desk::Lending::Outcome::ReaderGone:
        reader_.reset();
        showReader();
        warn(QStringLiteral("Bu okuyucu artık kayıtlı değil; kitap verilmedi."));
        return;
    case desk::Lending::Outcome::BookGone:
        warn(QStringLiteral("Bu kitap artık kayıtlı değil; verilmedi."));
        return;
    }
}

void DeskPage::overrideStop() {
    if (!pending_) {
        tell(QStringLiteral("Onaylanacak bir uyarı yok."));
        return;
    }
    const Pending p = *pending_;
    pending_.reset();
    overrideButton->setEnabled(false);
    if (!reader_ || reader_->reader.id != p.reader)
        return;
    lendBook(p.book, p.rules);
}

void DeskPage::returnTitle(qint64 bookId) {
    const auto db = desk::openDesk(context_.databasePath);
    const std::optional<desk::Book> book = desk::readBook(*db, bookId);
    if (!book) {
        warn(QStringLiteral("Bu kitap artık kayıtlı değil."));
        return;
    }
    const std::vector<desk::OutLoan> out = desk::loansOutOf(*db, book->title, context_.today());
    if (out.empty()) {
        warn(QStringLiteral("\"%1\" dışarıda görünmüyor: bu adla geri getirilmemiş bir ödünç "
                            "kaydı yok.")
                 .arg(book->title));
        return;
    }
    if (out.size() == 1) {
        giveBack(out.front().row);
        return;
    }
    std::vector<Choice> choices;
    QStringList texts;
    for (const desk::OutLoan& l : out) {
        choices.push_back({Found::Kind::Book, bookId, l.row});
        texts << QStringLiteral("%1 — verildi %2, son gün %3, %4")
                     .arg(l.reader, day(l.given), day(l.due), lateText(l.daysLate));
    }
    showChoices(Listing::Holders,
                QStringLiteral("\"%1\" birden çok okuyucuda. Kim getirdi? ↑ ↓ ile seçip Enter'a "
                               "basın.")
                    .arg(book->title),
                choices, texts);
    tell(QStringLiteral("\"%1\" birden çok okuyucuda: getireni seçin.").arg(book->title));
}

void DeskPage::listReaderLoans(qint64 readerId) {
    const auto db = desk::openDesk(context_.databasePath);
    const std::optional<desk::Reader> r = desk::readReader(*db, readerId);
    if (!r) {
        warn(QStringLiteral("Bu okuyucu artık kayıtlı değil."));
        return;
    }
    const desk::ReaderState s =
        desk::readerState(*db, *r, context_.today(), loadRules(settings_, context_));
    if (s.held.empty()) {
        warn(QStringLiteral("%1: elinde ödünç kitap yok.").arg(r->name));
        return;
    }
    std::vector<Choice> choices;
    QStringList texts;
    for (const desk::OutLoan& l : s.held) {
        choices.push_back({Found::Kind::Reader, readerId, l.row});
        texts << QStringLiteral("%1 — verildi %2, son gün %3, %4")
                     .arg(l.book, day(l.given), day(l.due), lateText(l.daysLate));
    }
    showChoices(Listing::Holders,
                QStringLiteral("%1 adlı okuyucunun elindekiler. Getirdiği kitabı ↑ ↓ ile seçip "
                               "Enter'a basın.")
                    .arg(r->name),
                choices, texts);
    tell(QStringLiteral("%1: getirilen kitabı seçin.").arg(r->name));
}

void DeskPage::giveBack(const desk::LoanRow& loan) {
    const auto db = desk::openDesk(context_.databasePath);
    const desk::Returning r = desk::giveBack(*db, loan, context_.today());
    const QString book = loan.text(u"ADIGIKITAP"), reader = loan.text(u"O_ADI_SOYADI");
    switch (r.outcome) {
    case desk::Outcome::Done: {
        const QString what = QStringLiteral("%1 geri alındı (%2). ").arg(book, reader) +
                             (r.daysLate > 0 ? QStringLiteral("%1 gün gecikti.").arg(r.daysLate)
                                             : QStringLiteral("Süresinde getirildi."));
        last_ = LastAction{false, r.before, *r.after, what};
        if (reader_ && reader_->reader.name == reader)
            reader_ = desk::readerState(*db, reader_->reader, context_.today(),
                                        loadRules(settings_, context_));
        showReader();
        tell(what);
        return;
    }
    case desk::Outcome::Changed:
        warn(QStringLiteral("Bu ödünç kaydı bu arada başka bir yerden değiştirilmiş; hiçbir şey "
                            "değiştirilmedi. Kitabı yeniden okutun."));
        return;
    case desk::Outcome::Gone:
        warn(QStringLiteral("Bu ödünç kaydı bu arada silinmiş; hiçbir şey değiştirilmedi."));
        return;
    }
}

void DeskPage::undoLast() {
    if (!last_) {
        tell(QStringLiteral("Geri çevrilecek bir işlem yok."));
        return;
    }
    const LastAction a = *last_;
    const auto db = desk::openDesk(context_.databasePath);
    const desk::Outcome outcome =
        a.lend ? desk::undoLend(*db, a.after) : desk::undoReturn(*db, a.before, a.after);
    last_.reset();
    const QString book = a.after.text(u"ADIGIKITAP"), reader = a.after.text(u"O_ADI_SOYADI");
    switch (outcome) {
    case desk::Outcome::Done:
        if (reader_ && reader_->reader.name == reader)
            reader_ = desk::readerState(*db, reader_->reader, context_.today(),
                                        loadRules(settings_, context_));
        showReader();
        tell(
            a.lend
                ? QStringLiteral("Geri çevrildi: %1 adına verilen %2 kaydı silindi.")
                      .arg(reader, book)
                : QStringLiteral("Geri çevrildi: %1 yeniden %2 adına dışarıda.").arg(book, reader));
        return;
    case desk::Outcome::Changed:
        warn(QStringLiteral("Geri çevrilemedi: kayıt bu arada başka bir yerden değiştirilmiş. "
                            "Hiçbir şey değiştirilmedi."));
        return;
    case desk::Outcome::Gone:
        warn(QStringLiteral("Geri çevrilemedi: kayıt bu arada silinmiş. Hiçbir şey "
                            "değiştirilmedi."));
        return;
    }
}

void DeskPage::dropCurrent() {
    if (pending_) {
        pending_.reset();
        overrideButton->setEnabled(false);
        tell(QStringLiteral("Vazgeçildi; kitap verilmedi."));
        return;
    }
    if (listing_ != Listing::None || !scanEdit->text().isEmpty()) {
        scanEdit->clear();
        clearChoices();
        warningLabel->hide();
        return;
    }
    if (reader_) {
        reader_.reset();
        showReader();
        tell(QStringLiteral("Okuyucu bırakıldı."));
    }
}

void DeskPage::refresh() {
    namesLoaded_ = false;
    if (reader_) {
        const auto db = desk::openDesk(context_.databasePath);
        const std::optional<desk::Reader> r = desk::readReader(*db, reader_->reader.id);
        if (r)
            reader_ = desk::readerState(*db, *r, context_.today(), loadRules(settings_, context_));
        else
            reader_.reset();
    }
    showReader();
    search();
}

void DeskPage::showReader() {
    heldList->setRowCount(0);
    if (!reader_) {
        readerLabel->setText(mode_ == Mode::Lend ? QStringLiteral("Okuyucu seçilmedi: kartını "
                                                                  "okutun ya da adını yazın.")
                                                 : QString());
        return;
    }
    const desk::Reader& r = reader_->reader;
    QStringList about;
    if (!r.level.isEmpty())
        about << r.level;
    if (!r.school.isEmpty())
        about << r.school;
    if (!r.number.isEmpty())
        about << QStringLiteral("No: ") + r.number;
    QString text = r.name;
    if (!about.isEmpty())
        text += QStringLiteral(" — ") + about.join(QStringLiteral(", "));
    text += QStringLiteral("\nElinde %1 kitap var; %2 kitap daha alabilir.")
                .arg(reader_->held.size())
                .arg(reader_->mayTake());
    if (reader_->late() > 0)
        text += QStringLiteral(" Geciken kitabı var: %1.").arg(reader_->late());
    if (r.namesakes > 1)
        text += QStringLiteral("\nBu adda %1 okuyucu var: ödünçleri ad ile kaydedildiği için "
                               "birlikte sayılır.")
                    .arg(r.namesakes);
    readerLabel->setText(text);
    heldList->setRowCount(static_cast<int>(reader_->held.size()));
    for (int i = 0; i < heldList->rowCount(); ++i) {
        const desk::OutLoan& l = reader_->held[static_cast<size_t>(i)];
        const QStringList cells{l.book, day(l.given), day(l.due), lateText(l.daysLate)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (l.daysLate > 0)
                item->setForeground(QColor(0xc6, 0x28, 0x28));
            heldList->setItem(i, c, item);
        }
    }
}

void DeskPage::loadNames() {
    if (namesLoaded_)
        return;
    readerNames_.clear();
    bookNames_.clear();
    readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        data::sqlite::Statement readers(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, "
                                                           "OKULU, NUMARASI from okuyucu order by "
                                                           "ADISOYADI, IDNO"));
        while (readers.step()) {
            QStringList about;
            for (int c = 2; c <= 3; ++c)
                if (!readers.text(c).isEmpty())
                    about << readers.text(c);
            if (!readers.text(4).isEmpty())
                about << QStringLiteral("No: ") + readers.text(4);
            const QString name = readers.text(1);
            readerNames_.push_back({readers.int64(0),
                                    name + (about.isEmpty() ? QString()
                                                            : QStringLiteral(" — ") +
                                                                  about.join(QStringLiteral(", "))),
                                    foldedForSearch(name)});
        }
        data::sqlite::Statement books(db, QStringLiteral("select IDNO, KITABINADI, YAZARI, BARKODU "
                                                         "from kitapkayit order by KITABINADI, "
                                                         "IDNO"));
        while (books.step()) {
            const QString title = books.text(1);
            QString shown = title;
            if (!books.text(2).isEmpty())
                shown += QStringLiteral(" — ") + books.text(2);
            if (!books.text(3).isEmpty())
                shown += QStringLiteral(" (") + books.text(3) + u')';
            bookNames_.push_back({books.int64(0), shown, foldedForSearch(title)});
        }
    });
    namesLoaded_ = true;
}

void DeskPage::search() {
    const QString text = scanEdit->text();
    if (!hasLetter(text)) {
        if (listing_ == Listing::Search)
            clearChoices();
        return;
    }
    loadNames();
    const bool readers = mode_ == Mode::Lend && !reader_;
    const std::vector<Name>& names = readers ? readerNames_ : bookNames_;
    const TextFilter filter(text.trimmed());
    std::vector<Choice> choices;
    QStringList texts;
    int matches = 0;
    for (const Name& n : names) {
        if (!filter.matches(n.folded))
            continue;
        if (++matches <= mostNamesShown) {
            choices.push_back(
                {readers ? Found::Kind::Reader : Found::Kind::Book, n.id, std::nullopt});
            texts << n.shown;
        }
    }
    QString caption = readers ? QStringLiteral("Okuyucular") : QStringLiteral("Kitaplar");
    caption += matches > mostNamesShown
                   ? QStringLiteral(": %1 sonuçtan ilk %2 tanesi; yazmayı sürdürün.")
                         .arg(matches)
                         .arg(mostNamesShown)
                   : QStringLiteral(": %1 sonuç. ↑ ↓ ile seçip Enter'a basın.").arg(matches);
    showChoices(Listing::Search, caption, choices, texts);
}

void DeskPage::showChoices(Listing listing, const QString& caption,
                           const std::vector<Choice>& choices, const QStringList& texts) {
    listing_ = listing;
    choices_ = choices;
    choiceLabel->setText(caption);
    choiceList->clear();
    for (qsizetype i = 0; i < texts.size(); ++i)
        choiceList->addItem(QStringLiteral("%1. ").arg(i + 1) + texts[i]);
    if (!texts.isEmpty())
        choiceList->setCurrentRow(0);
}

void DeskPage::clearChoices() {
    listing_ = Listing::None;
    choices_.clear();
    choiceList->clear();
    choiceLabel->clear();
}

void DeskPage::moveChoice(int by) {
    const int n = choiceList->count();
    if (n == 0)
        return;
    choiceList->setCurrentRow(std::clamp(choiceList->currentRow() + by, 0, n - 1));
}

} // namespace araclar
