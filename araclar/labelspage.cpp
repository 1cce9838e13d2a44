#include "araclar/labelspage.h"

#include "araclar/database.h"
#include "araclar/deskprint.h"
#include "araclar/desksettings.h"
#include "araclar/listpanel.h"
#include "araclar/loans.h"
#include "araclar/messages.h"
#include "data/sqlite.h"
#include "platform/textrules.h"
#include "printing/barcode.h"
#include "tools/codes.h"
#include "tools/desk.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace araclar {

namespace {

constexpr int mostShown = 500;
const QString allClasses = QStringLiteral("Bütün sınıflar");
const QString allSchoolsText = QStringLiteral("Bütün okullar");

template <typename T> T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QDoubleSpinBox* millimetres(QWidget* parent, const QString& name, double most) {
    auto* s = named(new QDoubleSpinBox(parent), name);
    s->setDecimals(2);
    s->setRange(0, most);
    s->setSuffix(QStringLiteral(" mm"));
    return s;
}

// The label with its control in a form, named for assistive technology.
void addRow(QFormLayout* form, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, control->parentWidget());
    labelControl(label, control);
    form->addRow(label, control);
}

QString faultText(printing::LabelCodeFault fault) {
    switch (fault) {
    case printing::LabelCodeFault::Empty:
        return QStringLiteral("barkodu yok");
    case printing::LabelCodeFault::NotAscii:
        return QStringLiteral("barkodunda barkoda basılamayan harfler var");
    case printing::LabelCodeFault::TooLong:
    case printing::LabelCodeFault::TooWideForLabel:
        return QStringLiteral("barkodu bu etikete sığmayacak kadar uzun");
    }
    return QString();
}

} // namespace

LabelsPage::LabelsPage(const Context& context, QSettings& settings, QWidget* parent)
    : QWidget(parent), context_(context), settings_(settings) {
    setObjectName(QStringLiteral("labelsPage"));

    // The books' labels.
    auto* books = new QGroupBox(QStringLiteral("Kitap Etiketleri"), this);
    libraryEdit = named(new QLineEdit(books), QStringLiteral("libraryEdit"));
    bookChoice = named(new QComboBox(books), QStringLiteral("bookChoice"));
    bookChoice->addItems({QStringLiteral("Listede işaretlenen kitaplar"),
                          QStringLiteral("Seri no aralığındaki kitaplar"),
                          QStringLiteral("Şu günden beri eklenen kitaplar"),
                          QStringLiteral("Barkodu olan bütün kitaplar")});
    bookSearch = named(new QLineEdit(books), QStringLiteral("bookSearch"));
    bookSearch->setPlaceholderText(QStringLiteral("kitap adı ya da yazar"));
    bookList = named(new QListWidget(books), QStringLiteral("bookList"));
    bookList->setAccessibleName(QStringLiteral("Kitaplar (Boşluk tuşu işaretler)"));
    fromSerial = named(new QSpinBox(books), QStringLiteral("fromSerial"));
    toSerial = named(new QSpinBox(books), QStringLiteral("toSerial"));
    for (QSpinBox* s : {fromSerial, toSerial})
        s->setRange(0, 999999999);
    sinceEdit = named(new QDateEdit(books), QStringLiteral("sinceEdit"));
    sinceEdit->setDisplayFormat(QString::fromUtf16(platform::dayFormat));
    sinceEdit->setCalendarPopup(true);
    sinceEdit->setDate(context_.today().addMonths(-1));
    giveCodesButton = named(new QPushButton(QStringLiteral("&Barkod Ver"), books),
                            QStringLiteral("giveCodesButton"));
    sheetCombo = named(new QComboBox(books), QStringLiteral("sheetCombo"));
    sheetCombo->addItems({QStringLiteral("3 × 8 etiket, 70 × 37 mm"),
                          QStringLiteral("3 × 7 etiket, 63,5 × 38,1 mm"),
                          QStringLiteral("Özel: aşağıdaki ölçüler")});
    columnsSpin = named(new QSpinBox(books), QStringLiteral("columnsSpin"));
    columnsSpin->setRange(1, 10);
    rowsSpin = named(new QSpinBox(books), QStringLiteral("rowsSpin"));
    rowsSpin->setRange(1, 20);
    widthSpin = millimetres(books, QStringLiteral("widthSpin"), 210);
    heightSpin = millimetres(books, QStringLiteral("heightSpin"), 297);
    topSpin = millimetres(books, QStringLiteral("topSpin"), 297);
    leftSpin = millimetres(books, QStringLiteral("leftSpin"), 210);
    columnGapSpin = millimetres(books, QStringLiteral("columnGapSpin"), 210);
    rowGapSpin = millimetres(books, QStringLiteral("rowGapSpin"), 297);
    startSpin = named(new QSpinBox(books), QStringLiteral("startSpin"));
    startSpin->setRange(1, 24);
    printLabelsButton = named(new QPushButton(QStringLiteral("Etiketleri &Yazdır…"), books),
                              QStringLiteral("printLabelsButton"));
    pdfLabelsButton = named(new QPushButton(QStringLiteral("Etiketleri PDF Olarak Kaydet…"), books),
                            QStringLiteral("pdfLabelsButton"));

    auto* bookForm = new QFormLayout;
    addRow(bookForm, QStringLiteral("Etiketteki okul adı:"), libraryEdit);
    addRow(bookForm, QStringLiteral("Hangi kitaplar:"), bookChoice);
    addRow(bookForm, QStringLiteral("Kitap ara:"), bookSearch);
    addRow(bookForm, QStringLiteral("Kitaplar:"), bookList);
    auto* serials = new QHBoxLayout;
    serials->addWidget(fromSerial);
    serials->addWidget(new QLabel(QStringLiteral("–"), books));
    serials->addWidget(toSerial);
    auto* serialLabel = new QLabel(QStringLiteral("Seri no:"), books);
    labelControl(serialLabel, fromSerial);
    toSerial->setAccessibleName(QStringLiteral("Seri no sonu"));
    bookForm->addRow(serialLabel, serials);
    addRow(bookForm, QStringLiteral("Eklenme günü en erken:"), sinceEdit);
    addRow(bookForm, QStringLiteral("Etiket kağıdı:"), sheetCombo);
    auto* sheetGrid = new QFormLayout;
    addRow(sheetGrid, QStringLiteral("Sütun:"), columnsSpin);
    addRow(sheetGrid, QStringLiteral("Satır:"), rowsSpin);
    addRow(sheetGrid, QStringLiteral("Etiket genişliği:"), widthSpin);
    addRow(sheetGrid, QStringLiteral("Etiket yüksekliği:"), heightSpin);
    addRow(sheetGrid, QStringLiteral("Üst boşluk:"), topSpin);
    addRow(sheetGrid, QStringLiteral("Sol boşluk:"), leftSpin);
    addRow(sheetGrid, QStringLiteral("Sütun arası:"), columnGapSpin);
    addRow(sheetGrid, QStringLiteral("Satır arası:"), rowGapSpin);
    bookForm->addRow(sheetGrid);
    addRow(bookForm, QStringLiteral("İlk etiket (kullanılmış kağıtta):"), startSpin);
    auto* bookButtons = new QHBoxLayout;
    bookButtons->addWidget(giveCodesButton);
    bookButtons->addStretch(1);
    bookButtons->addWidget(printLabelsButton);
    bookButtons->addWidget(pdfLabelsButton);
    auto* bookLayout = new QVBoxLayout(books);
    bookLayout->addLayout(bookForm);
    bookLayout->addLayout(bookButtons);

    // The readers' cards and the reminder slips.
    auto* cards = new QGroupBox(QStringLiteral("Okuyucu Kartları"), this);
    readerChoice = named(new QComboBox(cards), QStringLiteral("readerChoice"));
    readerChoice->addItems(
        {QStringLiteral("Okula ve sınıfa göre"), QStringLiteral("Listede işaretlenen okuyucular")});
    schoolCombo = named(new QComboBox(cards), QStringLiteral("cardSchoolCombo"));
    levelCombo = named(new QComboBox(cards), QStringLiteral("cardLevelCombo"));
    readerSearch = named(new QLineEdit(cards), QStringLiteral("readerSearch"));
    readerList = named(new QListWidget(cards), QStringLiteral("readerList"));
    readerList->setAccessibleName(QStringLiteral("Okuyucular (Boşluk tuşu işaretler)"));
    printCardsButton = named(new QPushButton(QStringLiteral("Kartları Yazdır…"), cards),
                             QStringLiteral("printCardsButton"));
    pdfCardsButton = named(new QPushButton(QStringLiteral("Kartları PDF Olarak Kaydet…"), cards),
                           QStringLiteral("pdfCardsButton"));
    auto* cardForm = new QFormLayout;
    addRow(cardForm, QStringLiteral("Hangi okuyucular:"), readerChoice);
    addRow(cardForm, QStringLiteral("Okul:"), schoolCombo);
    addRow(cardForm, QStringLiteral("Sınıf:"), levelCombo);
    addRow(cardForm, QStringLiteral("Okuyucu ara:"), readerSearch);
    addRow(cardForm, QStringLiteral("Okuyucular:"), readerList);
    auto* cardButtons = new QHBoxLayout;
    cardButtons->addStretch(1);
    cardButtons->addWidget(printCardsButton);
    cardButtons->addWidget(pdfCardsButton);
    auto* slips = new QGroupBox(QStringLiteral("Gecikme Bildirimleri"), cards);
    printSlipsButton = named(new QPushButton(QStringLiteral("Bildirimleri Yazdır…"), slips),
                             QStringLiteral("printSlipsButton"));
    pdfSlipsButton =
        named(new QPushButton(QStringLiteral("Bildirimleri PDF Olarak Kaydet…"), slips),
              QStringLiteral("pdfSlipsButton"));
    auto* slipLayout = new QHBoxLayout(slips);
    auto* slipNote = new QLabel(QStringLiteral("Geciken her okuyucuya bir bildirim; okula, sınıfa "
                                               "ve ada göre sıralı, bir sayfada üç tane."),
                                slips);
    slipNote->setWordWrap(true);
    slipLayout->addWidget(slipNote, 1);
    slipLayout->addWidget(printSlipsButton);
    slipLayout->addWidget(pdfSlipsButton);
    auto* cardLayout = new QVBoxLayout(cards);
    cardLayout->addLayout(cardForm);
    cardLayout->addLayout(cardButtons);
    cardLayout->addWidget(slips);

    statusLabel = named(new QLabel(this), QStringLiteral("labelsStatus"));
    statusLabel->setWordWrap(true);
    statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* columns = new QHBoxLayout;
    columns->addWidget(books, 1);
    columns->addWidget(cards, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(statusLabel);

    libraryEdit->setText(loadLibraryName(settings_, context_));
    sheetCombo->setCurrentIndex(loadSheetChoice(settings_, context_));
    showSheet();

    const auto on = [this](auto* sender, auto signal, void (LabelsPage::*action)()) {
        connect(sender, signal, this,
                [this, action] { guarded([this, action] { (this->*action)(); }); });
    };
    on(giveCodesButton, &QPushButton::clicked, &LabelsPage::giveCodes);
    on(printLabelsButton, &QPushButton::clicked, &LabelsPage::printLabels);
    on(pdfLabelsButton, &QPushButton::clicked, &LabelsPage::saveLabelsPdf);
    on(printCardsButton, &QPushButton::clicked, &LabelsPage::printCards);
    on(pdfCardsButton, &QPushButton::clicked, &LabelsPage::saveCardsPdf);
    connect(printSlipsButton, &QPushButton::clicked, this,
            [this] { guarded([this] { printReminderSlips(context_, this); }); });
    connect(pdfSlipsButton, &QPushButton::clicked, this,
            [this] { guarded([this] { saveReminderSlipsPdf(context_, this); }); });
    connect(libraryEdit, &QLineEdit::editingFinished, this,
            [this] { saveLibraryName(settings_, context_, libraryEdit->text().trimmed()); });
    connect(sheetCombo, &QComboBox::currentIndexChanged, this, [this] {
        saveSheetChoice(settings_, context_, sheetCombo->currentIndex());
        showSheet();
    });
    for (QSpinBox* s : {columnsSpin, rowsSpin})
        connect(s, &QSpinBox::valueChanged, this, [this] { rememberSheet(); });
    for (QDoubleSpinBox* s : {widthSpin, heightSpin, topSpin, leftSpin, columnGapSpin, rowGapSpin})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { rememberSheet(); });
    connect(bookSearch, &QLineEdit::textChanged, this,
            [this] { fillList(bookList, books_, bookSearch->text(), pickedBooks_); });
    connect(readerSearch, &QLineEdit::textChanged, this,
            [this] { fillList(readerList, readers_, readerSearch->text(), pickedReaders_); });
    connect(bookList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const qint64 id = item->data(Qt::UserRole).toLongLong();
        if (item->checkState() == Qt::Checked)
            pickedBooks_.insert(id);
        else
            pickedBooks_.erase(id);
    });
    connect(readerList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const qint64 id = item->data(Qt::UserRole).toLongLong();
        if (item->checkState() == Qt::Checked)
            pickedReaders_.insert(id);
        else
            pickedReaders_.erase(id);
    });
    connect(schoolCombo, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { fillLevels(); }); });
}

void LabelsPage::refresh() {
    books_.clear();
    readers_.clear();
    QStringList schools;
    readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        data::sqlite::Statement b(db, QStringLiteral("select IDNO, KITABINADI, YAZARI, SERINO, "
                                                     "BARKODU from kitapkayit order by "
                                                     "KITABINADI, IDNO"));
        while (b.step()) {
            QString shown = b.text(1);
            if (!b.text(2).isEmpty())
                shown += QStringLiteral(" — ") + b.text(2);
            shown += QStringLiteral(" (Seri no: %1, barkod: %2)")
                         .arg(b.text(3), b.text(4).isEmpty() ? QStringLiteral("yok") : b.text(4));
            books_.push_back({b.int64(0), shown, foldedForSearch(b.text(1) + u' ' + b.text(2))});
        }
        data::sqlite::Statement r(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU "
                                                     "from okuyucu order by ADISOYADI, IDNO"));
        while (r.step())
            readers_.push_back(
                {r.int64(0),
                 r.text(1) + QStringLiteral(" — ") + r.text(2) + QStringLiteral(", ") + r.text(3),
                 foldedForSearch(r.text(1))});
        schools = tools::printdata::schools(db);
        if (libraryEdit->text().isEmpty())
            libraryEdit->setText(tools::printdata::libraryName(db));
    });
    {
        const QSignalBlocker block(schoolCombo);
        const QString chosen = schoolCombo->currentText();
        schoolCombo->clear();
        schoolCombo->addItem(allSchoolsText);
        schoolCombo->addItems(schools);
        schoolCombo->setCurrentIndex(std::max(0, schoolCombo->findText(chosen)));
    }
    fillLevels();
    fillList(bookList, books_, bookSearch->text(), pickedBooks_);
    fillList(readerList, readers_, readerSearch->text(), pickedReaders_);
}

void LabelsPage::fillLevels() {
    const QString school = schoolCombo->currentIndex() > 0 ? schoolCombo->currentText() : QString();
    const QStringList levels =
        readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
            return tools::printdata::levels(db, school);
        });
    const QSignalBlocker block(levelCombo);
    const QString chosen = levelCombo->currentText();
    levelCombo->clear();
    levelCombo->addItem(allClasses);
    levelCombo->addItems(levels);
    levelCombo->setCurrentIndex(std::max(0, levelCombo->findText(chosen)));
}

void LabelsPage::fillList(QListWidget* list, const std::vector<Entry>& entries,
                          const QString& typed, const std::set<qint64>& picked) {
    const TextFilter filter(typed);
    const QSignalBlocker block(list);
    list->clear();
    int shown = 0;
    for (const Entry& e : entries) {
        if (!filter.empty() && !filter.matches(e.folded))
            continue;
        if (++shown > mostShown)
            break;
        auto* item = new QListWidgetItem(e.shown, list);
        item->setData(Qt::UserRole, e.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(picked.count(e.id) ? Qt::Checked : Qt::Unchecked);
    }
}

void LabelsPage::showSheet() {
    showingSheet_ = true;
    const int choice = sheetCombo->currentIndex();
    const printing::LabelSheet s = choice == 0   ? printing::sheet3x8()
                                   : choice == 1 ? printing::sheet3x7()
                                                 : loadCustomSheet(settings_, context_);
    columnsSpin->setValue(s.columns);
    rowsSpin->setValue(s.rows);
    widthSpin->setValue(s.labelWidth);
    heightSpin->setValue(s.labelHeight);
    topSpin->setValue(s.top);
    leftSpin->setValue(s.left);
    columnGapSpin->setValue(s.columnGap);
    rowGapSpin->setValue(s.rowGap);
    for (QWidget* w : std::initializer_list<QWidget*>{columnsSpin, rowsSpin, widthSpin, heightSpin,
                                                      topSpin, leftSpin, columnGapSpin, rowGapSpin})
        w->setEnabled(choice == 2);
    startSpin->setMaximum(s.perSheet());
    showingSheet_ = false;
}

void LabelsPage::rememberSheet() {
    if (showingSheet_ || sheetCombo->currentIndex() != 2)
        return;
    saveCustomSheet(settings_, context_, sheet());
    startSpin->setMaximum(sheet().perSheet());
}

printing::LabelSheet LabelsPage::sheet() const {
    if (sheetCombo->currentIndex() == 0)
        return printing::sheet3x8();
    if (sheetCombo->currentIndex() == 1)
        return printing::sheet3x7();
    return printing::LabelSheet{columnsSpin->value(),   rowsSpin->value(),  widthSpin->value(),
                                heightSpin->value(),    topSpin->value(),   leftSpin->value(),
                                columnGapSpin->value(), rowGapSpin->value()};
}

printing::LabelRun LabelsPage::labelRun() const {
    return printing::LabelRun{libraryEdit->text().trimmed(), sheet(), startSpin->value()};
}

std::vector<tools::printdata::LabelBook> LabelsPage::chosenBooks() const {
    tools::printdata::BookChoice choice;
    switch (bookChoice->currentIndex()) {
    case 0:
        choice.kind = tools::printdata::BookChoice::Kind::Books;
        choice.books.assign(pickedBooks_.begin(), pickedBooks_.end());
        break;
    case 1:
        choice.kind = tools::printdata::BookChoice::Kind::Serials;
        choice.fromSerial = fromSerial->value();
        choice.toSerial = toSerial->value();
        break;
    case 2:
        choice.kind = tools::printdata::BookChoice::Kind::Since;
        choice.since = sinceEdit->date();
        break;
    default:
        choice.kind = tools::printdata::BookChoice::Kind::WithCode;
        break;
    }
    return readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        return tools::printdata::chooseBooks(db, choice);
    });
}

void LabelsPage::giveCodes() {
    std::vector<qint64> ids;
    for (const auto& b : chosenBooks())
        ids.push_back(b.id);
    if (ids.empty()) {
        fail(QStringLiteral("Hiç kitap seçilmedi. Listeden işaretleyin ya da bir seri no aralığı "
                            "veya gün seçin."));
        return;
    }
    const WaitCursor busy;
    const auto db = tools::desk::openDesk(context_.databasePath);
    const auto progress = choosers().progress(this, QStringLiteral("Barkod veriliyor…"));
    const tools::CodeGiving done = tools::giveBookCodes(*db, ids, *progress);
    QStringList lines;
    lines << QStringLiteral("%1 kitaba barkod verildi; %2 kitabın barkodu zaten vardı.")
                 .arg(done.given.size())
                 .arg(done.alreadyHad.size());
    for (const tools::GivenCode& g : done.given)
        lines << QStringLiteral("%1: %2").arg(g.title, g.code);
    if (!done.noFreeCode.empty())
        lines << QStringLiteral("%1 kitaba boş bir barkod bulunamadı.").arg(done.noFreeCode.size());
    statusLabel->setText(lines.join(u'\n'));
    refresh();
}

std::vector<printing::BookLabel> LabelsPage::labelsToPrint() {
    const printing::LabelRun run = labelRun();
    if (printing::sheetFault(run.sheet)) {
        fail(QStringLiteral("Tanımlanan etiket kağıdı A4 sayfaya sığmıyor ya da etiketler çok "
                            "küçük (en az 30 × 15 mm). Ölçüleri denetleyin."));
        return {};
    }
    std::vector<tools::printdata::LabelBook> books = chosenBooks();
    std::vector<qint64> withoutCode;
    for (const auto& b : books)
        if (b.label.code.isEmpty())
            withoutCode.push_back(b.id);
    if (!withoutCode.empty() &&
        ask(QStringLiteral("Seçilen kitaplardan %1 tanesinin barkodu yok. Bunlara şimdi barkod "
                           "verilsin mi? (Hayır: barkodu olmayanlara etiket basılmaz.)")
                .arg(withoutCode.size()))) {
        const auto db = tools::desk::openDesk(context_.databasePath);
        tools::giveBookCodes(*db, withoutCode, platform::noProgress());
        books = chosenBooks();
    }
    std::vector<printing::BookLabel> labels;
    QStringList skipped;
    for (const auto& b : books) {
        if (const auto fault = printing::labelCodeFault(b.label.code, run.sheet)) {
            skipped << QStringLiteral("%1: %2").arg(b.label.title, faultText(*fault));
            continue;
        }
        labels.push_back(b.label);
    }
    statusLabel->setText(
        QStringLiteral("%1 etiket.").arg(labels.size()) +
        (skipped.isEmpty() ? QString()
                           : QStringLiteral(" Etiketi basılmayan %1 kitap:\n").arg(skipped.size()) +
                                 skipped.join(u'\n')));
    if (labels.empty())
        fail(QStringLiteral("Seçilen kitapların hiçbirine etiket basılamıyor: hiç kitap seçilmedi "
                            "ya da seçilenlerin barkodu yok."));
    return labels;
}

QString LabelsPage::pdfPath(const QString& caption, const QString& name) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return choosers().saveFile(
        this, caption,
        QDir(folder).filePath(name + u' ' +
                              context_.today().toString(QStringLiteral("yyyy-MM-dd")) +
                              QStringLiteral(".pdf")),
        QStringLiteral("PDF dosyası (*.pdf)"));
}

void LabelsPage::printLabels() {
    const std::vector<printing::BookLabel> labels = labelsToPrint();
    if (!labels.empty())
        araclar::printLabels(labels, labelRun(), this);
}

void LabelsPage::saveLabelsPdf() {
    const std::vector<printing::BookLabel> labels = labelsToPrint();
    if (labels.empty())
        return;
    const QString path =
        pdfPath(QStringLiteral("Etiketleri PDF Olarak Kaydet"), QStringLiteral("Kitap Etiketleri"));
    if (!path.isEmpty())
        araclar::saveLabelsPdf(labels, labelRun(), path, this);
}

std::vector<tools::printdata::CardReader> LabelsPage::chosenReaders() const {
    tools::printdata::ReaderChoice choice;
    if (readerChoice->currentIndex() == 1) {
        choice.readers.assign(pickedReaders_.begin(), pickedReaders_.end());
        if (choice.readers.empty())
            return {};
    } else {
        choice.school = schoolCombo->currentIndex() > 0 ? schoolCombo->currentText() : QString();
        choice.level = levelCombo->currentIndex() > 0 ? levelCombo->currentText() : QString();
    }
    return readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        return tools::printdata::chooseReaders(db, choice);
    });
}

std::vector<printing::ReaderCard> LabelsPage::cardsToPrint() {
    std::vector<printing::ReaderCard> cards;
    QStringList skipped;
    for (auto& r : chosenReaders()) {
        if (printing::codeFault(r.card.code))
            skipped << r.card.name;
        else
            cards.push_back(std::move(r.card));
    }
    statusLabel->setText(
        QStringLiteral("%1 kart.").arg(cards.size()) +
        (skipped.isEmpty() ? QString()
                           : QStringLiteral(" Numarasında barkoda basılamayan harfler olduğu için "
                                            "kartı basılmayanlar: ") +
                                 skipped.join(QStringLiteral(", "))));
    if (cards.empty())
        fail(QStringLiteral("Seçime uyan okuyucu yok."));
    return cards;
}

void LabelsPage::printCards() {
    const std::vector<printing::ReaderCard> cards = cardsToPrint();
    if (!cards.empty())
        araclar::printCards(cards, this);
}

void LabelsPage::saveCardsPdf() {
    const std::vector<printing::ReaderCard> cards = cardsToPrint();
    if (cards.empty())
        return;
    const QString path =
        pdfPath(QStringLiteral("Kartları PDF Olarak Kaydet"), QStringLiteral("Okuyucu Kartları"));
    if (!path.isEmpty())
        araclar::saveCardsPdf(cards, path, this);
}

} // namespace araclar
