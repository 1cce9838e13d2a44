#include "araclar/listimportpage.h"

#include "araclar/checkedrows.h"
#include "araclar/database.h"
#include "araclar/listpanel.h"
#include "araclar/listtables.h"
#include "araclar/messages.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "tools/sheetwall.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace araclar {

namespace lists = tools::lists;
namespace sheets = tools::sheets;

namespace {

const QString schoolSetting = QStringLiteral("listeler/okul");
const QString folderSetting = QStringLiteral("listeler/klasor");

QPushButton* button(QWidget* parent, const QString& text, const QString& name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

bool isListFile(const QFileInfo& f) {
    const QString suffix = f.suffix().toLower();
    return f.isFile() && (suffix == u"xls" || suffix == u"xlsx" || suffix == u"csv");
}

QString columnName(int column) {
    return QString::fromUtf16(data::kitapkayitTable().columns[static_cast<size_t>(column)].name);
}

} // namespace

ListImportPage::ListImportPage(const Context& context, QWidget* parent)
    : QWidget(parent), context_(context),
      settings_(std::make_unique<QSettings>(context.settingsFile, QSettings::IniFormat)) {
    setObjectName(QStringLiteral("listImportPage"));
    auto* note = new QLabel(
        QStringLiteral("Okulun öğrencilerini e-Okul'un sınıf listelerinden (\"Sınıf/Şube Öğrenci "
                       "Listesi\", Excel düğmesiyle kaydedilmiş .XLS) ya da okulun kendi "
                       "listesinden, kitapları kütüphanenin kendi çizelgesinden (.xls, .xlsx, "
                       ".csv) aktarır. Her yeni öğretim yılında bütün sınıfların listelerini "
                       "birlikte yeniden aktarmak sınıfları günceller. \"Aktar\"a basılmadan "
                       "hiçbir şey yazılmaz."),
        this);
    note->setWordWrap(true);

    readersRadio = new QRadioButton(QStringLiteral("&Okuyucular (sınıf listeleri)"), this);
    readersRadio->setObjectName(QStringLiteral("readersRadio"));
    booksRadio = new QRadioButton(QStringLiteral("&Kitaplar (kitap çizelgesi)"), this);
    booksRadio->setObjectName(QStringLiteral("booksRadio"));
    readersRadio->setChecked(true);

    fileList = new QListWidget(this);
    fileList->setObjectName(QStringLiteral("fileList"));
    fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* filesLabel = new QLabel(QStringLiteral("&Dosyalar:"), this);
    labelControl(filesLabel, fileList);
    auto* addFileButton =
        button(this, QStringLiteral("Dosya &Ekle…"), QStringLiteral("addFileButton"));
    auto* addFolderButton =
        button(this, QStringLiteral("K&lasördekileri Ekle…"), QStringLiteral("addFolderButton"));
    auto* removeButton =
        button(this, QStringLiteral("Seçileni Çı&kar"), QStringLiteral("removeFileButton"));
    auto* clearButton =
        button(this, QStringLiteral("Listeyi &Boşalt"), QStringLiteral("clearFilesButton"));

    schoolEdit = new QLineEdit(this);
    schoolEdit->setObjectName(QStringLiteral("schoolEdit"));
    schoolEdit->setMaxLength(data::okuyucuTable().column(u"OKULU")->size);
    schoolEdit->setText(settings_->value(context_.libraryKey(schoolSetting)).toString());
    auto* schoolLabel = new QLabel(QStringLiteral("Okulun &adı:"), this);
    labelControl(schoolLabel, schoolEdit);

    previewButton = button(this, QStringLiteral("Ö&nizle"), QStringLiteral("previewButton"));
    importButton = button(this, QStringLiteral("&Aktar"), QStringLiteral("importButton"));
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel->setWordWrap(true);
    summaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stateLabel = new QLabel(this);
    stateLabel->setObjectName(QStringLiteral("stateLabel"));
    stateLabel->setWordWrap(true);

    columnTable = new QTableWidget(0, 2, this);
    columnTable->setObjectName(QStringLiteral("columnTable"));
    columnTable->setAccessibleName(QStringLiteral("Sütun eşleştirme"));
    columnTable->setHorizontalHeaderLabels(
        {QStringLiteral("Kütüphanedeki sütun"), QStringLiteral("Listedeki sütun")});
    columnTable->verticalHeader()->hide();
    columnTable->horizontalHeader()->setStretchLastSection(true);
    columnTable->setEditTriggers(QAbstractItemView::NoEditTriggers);

    const auto today = [this] { return context_.today(); };
    results = new QTabWidget(this);
    results->setObjectName(QStringLiteral("results"));
    addedList = new ListPanel(QStringLiteral("Yeni"), today, results);
    movedList = new ListPanel(QStringLiteral("Sınıfı Değişen"), today, results);
    unchangedList = new ListPanel(QStringLiteral("Değişmeyen"), today, results);
    conflictList = new ListPanel(QStringLiteral("Ad Farkı"), today, results);
    leavingList = new ListPanel(QStringLiteral("Ayrılan"), today, results);
    skippedList = new ListPanel(QStringLiteral("Atlanan"), today, results);
    problemList = new ListPanel(QStringLiteral("Sorunlu"), today, results);
    acceptedNames = new CheckedRows(this);
    acceptedNames->setSourceModel(conflictList->model());
    conflictList->view()->setModel(acceptedNames);
    markedLeft = new CheckedRows(this);
    markedLeft->setSourceModel(leavingList->model());
    leavingList->view()->setModel(markedLeft);
    results->addTab(addedList, QString());
    results->addTab(movedList, QString());
    results->addTab(unchangedList, QString());
    results->addTab(
        checkButtons(conflictList, acceptedNames,
                     QStringLiteral("İşaretli satırlarda listedeki ad alınır (kayıttaki "
                                    "adla verilmiş kitaplar o adla kalır).")),
        QString());
    results->addTab(checkButtons(leavingList, markedLeft,
                                 QStringLiteral("İşaretli okuyucuların öğrenim durumu \"Ayrıldı\" "
                                                "olur; hiçbir okuyucu silinmez.")),
                    QString());
    results->addTab(skippedList, QString());
    results->addTab(problemList, QString());

    auto* kind = new QHBoxLayout;
    kind->addWidget(readersRadio);
    kind->addWidget(booksRadio);
    kind->addStretch(1);
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(addFileButton);
    fileButtons->addWidget(addFolderButton);
    fileButtons->addWidget(removeButton);
    fileButtons->addWidget(clearButton);
    fileButtons->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(filesLabel, 0, 0, Qt::AlignTop);
    grid->addWidget(fileList, 0, 1);
    grid->addLayout(fileButtons, 0, 2);
    grid->addWidget(schoolLabel, 1, 0);
    grid->addWidget(schoolEdit, 1, 1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(previewButton);
    actions->addWidget(importButton);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(kind);
    layout->addLayout(grid);
    layout->addLayout(actions);
    layout->addWidget(stateLabel);
    layout->addWidget(summaryLabel);
    layout->addWidget(columnTable);
    layout->addWidget(results, 1);
    fileList->setMaximumHeight(fileList->fontMetrics().height() * 6);
    columnTable->setMaximumHeight(columnTable->fontMetrics().height() * 10);

    connect(readersRadio, &QRadioButton::toggled, this,
            [this] { guarded([this] { kindChanged(); }); });
    connect(addFileButton, &QPushButton::clicked, this, [this] { guarded([this] { addFile(); }); });
    connect(addFolderButton, &QPushButton::clicked, this,
            [this] { guarded([this] { addFolder(); }); });
    connect(removeButton, &QPushButton::clicked, this,
            [this] { guarded([this] { removeFile(); }); });
    connect(clearButton, &QPushButton::clicked, this,
            [this] { guarded([this] { clearFiles(); }); });
    connect(previewButton, &QPushButton::clicked, this, [this] { guarded([this] { preview(); }); });
    connect(importButton, &QPushButton::clicked, this,
            [this] { guarded([this] { importNow(); }); });
    connect(schoolEdit, &QLineEdit::textEdited, this,
            [this] { guarded([this] { clearPreview(); }); });
    kindChanged();
}

ListImportPage::~ListImportPage() = default;

QWidget* ListImportPage::checkButtons(ListPanel* panel, CheckedRows* rows, const QString& what) {
    auto* page = new QWidget(results);
    auto* all = button(page, QStringLiteral("Hepsini İşaretle"),
                       panel->objectName() + QStringLiteral("All"));
    auto* none = button(page, QStringLiteral("Hiçbirini İşaretleme"),
                        panel->objectName() + QStringLiteral("None"));
    auto* hint = new QLabel(what, page);
    hint->setWordWrap(true);
    connect(all, &QPushButton::clicked, page, [rows] { rows->setAllChecked(true); });
    connect(none, &QPushButton::clicked, page, [rows] { rows->setAllChecked(false); });
    auto* line = new QHBoxLayout;
    line->addWidget(hint, 1);
    line->addWidget(all);
    line->addWidget(none);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(line);
    panel->setParent(page);
    layout->addWidget(panel, 1);
    return page;
}

bool ListImportPage::readersChosen() const {
    return readersRadio->isChecked();
}

QStringList ListImportPage::files() const {
    QStringList paths;
    for (int i = 0; i < fileList->count(); ++i)
        paths << fileList->item(i)->data(Qt::UserRole).toString();
    return paths;
}

void ListImportPage::setFiles(const QStringList& paths) {
    fileList->clear();
    for (const QString& path : paths) {
        if (files().contains(path))
            continue;
        auto* item = new QListWidgetItem(QDir::toNativeSeparators(path), fileList);
        item->setData(Qt::UserRole, path);
    }
    clearPreview();
}

void ListImportPage::addFile() {
    const QString path = choosers().openFile(
        this, QStringLiteral("Liste Dosyası"),
        settings_->value(context_.libraryKey(folderSetting)).toString(),
        QStringLiteral("Listeler (*.xls *.XLS *.xlsx *.csv);;Bütün dosyalar (*)"));
    if (path.isEmpty())
        return;
    settings_->setValue(context_.libraryKey(folderSetting), QFileInfo(path).absolutePath());
    setFiles(files() << QDir::fromNativeSeparators(path));
}

void ListImportPage::addFolder() {
    const QString folder =
        choosers().folder(this, QStringLiteral("Listelerin Klasörü"),
                          settings_->value(context_.libraryKey(folderSetting)).toString());
    if (folder.isEmpty())
        return;
    settings_->setValue(context_.libraryKey(folderSetting), folder);
    QStringList found;
    for (const QFileInfo& f :
         QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (isListFile(f))
            found << f.absoluteFilePath();
    if (found.isEmpty())
        throw platform::Error(QStringLiteral("'%1' klasöründe liste dosyası (.xls, .xlsx, .csv) "
                                             "yok. Listelerin kaydedildiği klasörü seçin.")
                                  .arg(QDir::toNativeSeparators(folder)));
    setFiles(files() + found);
}

void ListImportPage::removeFile() {
    for (QListWidgetItem* item : fileList->selectedItems())
        delete item;
    clearPreview();
}

void ListImportPage::clearFiles() {
    fileList->clear();
    clearPreview();
}

void ListImportPage::kindChanged() {
    const bool readers = readersChosen();
    schoolEdit->setEnabled(readers);
    columnTable->setVisible(!readers);
    showTab(movedList, readers);
    showTab(unchangedList, readers);
    showTab(conflictList, readers);
    showTab(leavingList, readers);
    clearPreview();
}

void ListImportPage::showTab(ListPanel* panel, bool shown) {
    int i = results->indexOf(panel);
    if (i < 0)
        i = results->indexOf(panel->parentWidget());
    results->setTabVisible(i, shown);
}

void ListImportPage::clearPreview() {
    previewed_ = false;
    importButton->setEnabled(false);
    books_.clear();
    pupils_ = {};
    readerPlan_ = {};
    layout_ = {};
    columns_.clear();
    bookPlan_ = {};
    summaryLabel->clear();
    columnTable->setRowCount(0);
    for (ListPanel* p :
         {addedList, movedList, unchangedList, conflictList, leavingList, skippedList, problemList})
        p->setTable(ReportTable{});
    const bool readers = readersChosen();
    const QStringList titles =
        readers ? QStringList{QStringLiteral("Yeni"),       QStringLiteral("Sınıfı Değişen"),
                              QStringLiteral("Değişmeyen"), QStringLiteral("Ad Farkı"),
                              QStringLiteral("Ayrılan"),    QStringLiteral("Atlanan"),
                              QStringLiteral("Sorunlu")}
                : QStringList{QStringLiteral("Yeni"),
                              QString(),
                              QString(),
                              QString(),
                              QString(),
                              QStringLiteral("Atlanan"),
                              QStringLiteral("Sorunlu")};
    for (int i = 0; i < results->count(); ++i)
        results->setTabText(i, titles[i]);
}

void ListImportPage::preview() {
    const QStringList paths = files();
    if (paths.isEmpty())
        throw platform::Error(
            QStringLiteral("Aktarılacak liste seçilmedi. Önce \"Dosya Ekle…\" ya da "
                           "\"Klasördekileri Ekle…\" ile listeleri seçin."));
    const bool readers = readersChosen();
    if (readers) {
        const QString school = schoolEdit->text().simplified();
        if (school.isEmpty())
            throw platform::Error(QStringLiteral("Okulun adını yazın: öğrenciler okullarına ve "
                                                 "numaralarına göre eşleştirilir."));
        schoolEdit->setText(school);
        settings_->setValue(context_.libraryKey(schoolSetting), school);
    }
    if (!QFileInfo(context_.toolPath).isFile())
        throw platform::Error(QStringLiteral("Okuma aracı '%1' bulunamadı. Araçları, "
                                             "ternavolk-db ile aynı klasörden başlatın ya da "
                                             "programı yeniden kurun.")
                                  .arg(QDir::toNativeSeparators(context_.toolPath)));
    clearPreview();
    stateLabel->setText(QStringLiteral("Listeler okunuyor…"));
    try {
        readLists();
        if (readers) {
            planReaders();
        } else {
            layout_ = lists::findBookHeaders(books_);
            columns_ = lists::automaticColumns(layout_);
            showBookColumns();
            planBooks();
        }
    } catch (const sheets::SheetError& e) {
        clearPreview();
        stateLabel->setText(QStringLiteral("Önizleme yapılamadı."));
        throw platform::Error(turkishMessage(e));
    } catch (const platform::Cancelled&) {
        clearPreview();
        stateLabel->setText(QStringLiteral("Önizleme iptal edildi; hiçbir şey yazılmadı."));
        throw;
    } catch (...) {
        clearPreview();
        stateLabel->setText(QStringLiteral("Önizleme yapılamadı."));
        throw;
    }
    previewed_ = true;
    previewedReaders_ = readers;
    importButton->setEnabled(true);
    stateLabel->setText(
        readers ? QStringLiteral("Önizleme hazır; henüz hiçbir şey yazılmadı. Listeleri gözden "
                                 "geçirin, ad farklarından listedeki adı alınacakları ve "
                                 "ayrılanlardan \"Ayrıldı\" olarak işaretlenecekleri seçip "
                                 "\"Aktar\"a basın.")
                : QStringLiteral("Önizleme hazır; henüz hiçbir şey yazılmadı. Sütun eşleştirmesini "
                                 "ve listeleri gözden geçirip \"Aktar\"a basın."));
}

void ListImportPage::readLists() {
    const QStringList paths = files();
    const std::unique_ptr<platform::Progress> progress =
        choosers().progress(this, QStringLiteral("Listeler okunuyor…"));
    progress->begin(paths.size(), QStringLiteral("Listeler okunuyor…"));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        books_.push_back(sheets::readBehindWall(context_.toolPath, paths[i],
                                                [&progress, i] { progress->step(i); }));
        progress->step(i + 1);
    }
}

void ListImportPage::planReaders() {
    const QString school = schoolEdit->text().simplified();
    pupils_ = lists::recognisePupils(books_);
    readerPlan_ = readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        lists::ReaderPlan plan =
            lists::planReaders(pupils_, school, lists::readRegister(db, school));
        lists::readBooksOut(db, plan);
        return plan;
    });
    const lists::ReaderPlan& p = readerPlan_;
    addedList->setTable(addedReadersTable(p));
    movedList->setTable(movedReadersTable(p));
    unchangedList->setTable(unchangedReadersTable(p));
    conflictList->setTable(conflictsTable(p));
    leavingList->setTable(leavingTable(p));
    skippedList->setTable(
        listedTable(QStringLiteral("Atlanan Satırlar: %1").arg(p.school), p.skipped, false));
    problemList->setTable(
        listedTable(QStringLiteral("Sorunlu Satırlar: %1").arg(p.school), p.problems, false));
    const int counts[] = {int(p.added.size()),     int(p.moved.size()),   int(p.unchanged.size()),
                          int(p.conflicts.size()), int(p.leaving.size()), int(p.skipped.size()),
                          int(p.problems.size())};
    for (int i = 0; i < results->count(); ++i)
        results->setTabText(i, results->tabText(i) + QStringLiteral(" (%1)").arg(counts[i]));
    summaryLabel->setText(
        QStringLiteral("%1: %2 dosya, %3 öğrenci, %4 sınıf.\nYeni okuyucu: %5 · Sınıfı değişen: "
                       "%6 · Değişmeyen: %7 · Adı farklı: %8 · Listelerde olmayan (ayrılan): %9 · "
                       "Atlanan: %10 · Sorunlu satır: %11")
            .arg(p.school)
            .arg(books_.size())
            .arg(pupils_.pupils.size())
            .arg(pupils_.classes.size())
            .arg(counts[0])
            .arg(counts[1])
            .arg(counts[2])
            .arg(counts[3])
            .arg(counts[4])
            .arg(counts[5])
            .arg(counts[6]));
}

void ListImportPage::showBookColumns() {
    const std::vector<int> columns = lists::bookColumns();
    columnTable->setRowCount(static_cast<int>(columns.size()));
    for (size_t r = 0; r < columns.size(); ++r) {
        const int column = columns[r];
        auto* caption = new QTableWidgetItem(bookColumnCaption(column));
        columnTable->setItem(static_cast<int>(r), 0, caption);
        auto* combo = new QComboBox(columnTable);
        combo->setObjectName(QStringLiteral("column") + columnName(column));
        combo->setAccessibleName(bookColumnCaption(column));
        combo->addItem(QStringLiteral("(alınmasın)"), QString());
        for (qsizetype h = 0; h < layout_.headers.size(); ++h)
            combo->addItem(layout_.headers[h], layout_.keys[h]);
        const auto chosen = columns_.find(column);
        if (chosen != columns_.end())
            combo->setCurrentIndex(combo->findData(chosen->second));
        columnTable->setCellWidget(static_cast<int>(r), 1, combo);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this] { guarded([this] { columnChosen(); }); });
    }
    columnTable->resizeColumnToContents(0);
}

void ListImportPage::columnChosen() {
    if (books_.empty())
        return;
    const std::vector<int> columns = lists::bookColumns();
    columns_.clear();
    for (size_t r = 0; r < columns.size(); ++r) {
        const auto* combo =
            qobject_cast<QComboBox*>(columnTable->cellWidget(static_cast<int>(r), 1));
        const QString key = combo ? combo->currentData().toString() : QString();
        if (!key.isEmpty())
            columns_[columns[r]] = key;
    }
    for (int i = 0; i < results->count(); ++i)
        results->setTabText(i, results->tabText(i).section(QStringLiteral(" ("), 0, 0));
    planBooks();
}

void ListImportPage::planBooks() {
    const lists::BookRegister reg =
        readDatabase(context_.databasePath,
                     [](const data::sqlite::Database& db) { return lists::readBookRegister(db); });
    bookPlan_ = lists::planBooks(books_, layout_, columns_, reg);
    const lists::BookPlan& p = bookPlan_;
    addedList->setTable(addedBooksTable(p));
    skippedList->setTable(listedTable(QStringLiteral("Atlanan Kitaplar"), p.skipped, true));
    problemList->setTable(listedTable(QStringLiteral("Sorunlu Satırlar"), p.problems, true));
    results->setTabText(0, QStringLiteral("Yeni (%1)").arg(p.added.size()));
    results->setTabText(5, QStringLiteral("Atlanan (%1)").arg(p.skipped.size()));
    results->setTabText(6, QStringLiteral("Sorunlu (%1)").arg(p.problems.size()));
    summaryLabel->setText(QStringLiteral("%1 dosya.\nYeni kitap: %2 · Atlanan: %3 · Sorunlu "
                                         "satır: %4 · Fiyatı aşağı, tam liraya yuvarlanan: %5")
                              .arg(books_.size())
                              .arg(p.added.size())
                              .arg(p.skipped.size())
                              .arg(p.problems.size())
                              .arg(p.rounded));
}

void ListImportPage::importNow() {
    if (!previewed_ || previewedReaders_ != readersChosen())
        throw platform::Error(
            QStringLiteral("Önce \"Önizle\" ile aktarmanın ne yapacağını görün."));
    QString question, done;
    lists::ReaderChoices choices;
    if (previewedReaders_) {
        for (const int row : acceptedNames->checkedRows())
            choices.acceptNames.insert(readerPlan_.conflicts[static_cast<size_t>(row)].reader.id);
        for (const int row : markedLeft->checkedRows())
            choices.markLeft.insert(readerPlan_.leaving[static_cast<size_t>(row)].reader.id);
        question = QStringLiteral("%1 yeni okuyucu eklenecek, %2 okuyucunun sınıfı değişecek, %3 "
                                  "okuyucunun adı listedeki gibi olacak, %4 okuyucu \"Ayrıldı\" "
                                  "olarak işaretlenecek.\n\nAktarılsın mı?")
                       .arg(readerPlan_.added.size())
                       .arg(readerPlan_.moved.size())
                       .arg(choices.acceptNames.size())
                       .arg(choices.markLeft.size());
    } else {
        question = QStringLiteral("%1 yeni kitap eklenecek.\n\nAktarılsın mı?")
                       .arg(bookPlan_.added.size());
    }
    if (!ask(question))
        return;
    const std::unique_ptr<platform::Progress> progress =
        choosers().progress(this, QStringLiteral("Aktarılıyor…"));
    try {
        if (previewedReaders_) {
            const lists::ReaderWrite w =
                lists::writeReaders(context_.databasePath, pupils_, readerPlan_, choices,
                                    data::sqlite::busyTimeoutMs, *progress);
            done = QStringLiteral("Aktarıldı: %1 yeni okuyucu eklendi, %2 okuyucunun sınıfı "
                                  "değişti, %3 okuyucunun adı değişti, %4 okuyucu \"Ayrıldı\" "
                                  "olarak işaretlendi.")
                       .arg(w.added)
                       .arg(w.moved)
                       .arg(w.renamed)
                       .arg(w.markedLeft);
        } else {
            const int n = lists::writeBooks(context_.databasePath, books_, layout_, columns_,
                                            bookPlan_, data::sqlite::busyTimeoutMs, *progress);
            done = QStringLiteral("Aktarıldı: %1 yeni kitap eklendi.").arg(n);
        }
    } catch (const lists::ChangedMeanwhile&) {
        clearPreview();
        stateLabel->setText(QStringLiteral("Aktarılamadı; hiçbir şey yazılmadı."));
        throw platform::Error(QStringLiteral(
            "Önizlemeden sonra başka bir bilgisayar kayıtları değiştirdi; hiçbir şey yazılmadı. "
            "\"Önizle\" ile yeniden önizleyip yeniden aktarın."));
    } catch (const platform::Cancelled&) {
        stateLabel->setText(QStringLiteral("Aktarma iptal edildi; hiçbir şey yazılmadı."));
        throw;
    } catch (...) {
        stateLabel->setText(QStringLiteral("Aktarılamadı; hiçbir şey yazılmadı."));
        throw;
    }
    clearPreview();
    stateLabel->setText(done);
    inform(done + QStringLiteral(" Kütüphane Takip programı açıksa yeni kayıtları bir sonraki "
                                 "aramada gösterir."));
}

} // namespace araclar
