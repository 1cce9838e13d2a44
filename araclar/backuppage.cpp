#include "araclar/backuppage.h"

#include "araclar/listpanel.h"
#include "araclar/messages.h"
#include "araclar/reporttable.h"
#include "araclar/restore.h"
#include "tools/backup.h"
#include "tools/check.h"
#include "tools/rotation.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

namespace araclar {

namespace {
const QString folderKey = QStringLiteral("yedekler/klasor");
QString checkKey(const QString& fileName) {
    return QStringLiteral("denetim/") + fileName;
}
QString sizeText(qint64 bytes) {
    return QLocale(QLocale::Turkish, QLocale::Turkey).formattedDataSize(bytes);
}
} // namespace

BackupPage::BackupPage(const Context& context, QSettings& settings, QWidget* parent)
    : QWidget(parent), context_(context), settings_(settings) {
    setObjectName(QStringLiteral("backupPage"));
    folderEdit = new QLineEdit(this);
    folderEdit->setObjectName(QStringLiteral("folderEdit"));
    folderEdit->setReadOnly(true);
    auto* folderLabel = new QLabel(QStringLiteral("Yedek &klasörü:"), this);
    labelControl(folderLabel, folderEdit);
    auto* folderButton = new QPushButton(QStringLiteral("Klasör &Seç…"), this);
    folderButton->setObjectName(QStringLiteral("folderButton"));
    auto* backupButton = new QPushButton(QStringLiteral("Şimdi &Yedekle"), this);
    backupButton->setObjectName(QStringLiteral("backupButton"));
    auto* checkButton = new QPushButton(QStringLiteral("&Denetle"), this);
    checkButton->setObjectName(QStringLiteral("checkButton"));
    auto* restoreButton = new QPushButton(QStringLiteral("&Geri Yükle…"), this);
    restoreButton->setObjectName(QStringLiteral("restoreButton"));

    backups = new QTableWidget(0, 4, this);
    backups->setObjectName(QStringLiteral("backupList"));
    backups->setHorizontalHeaderLabels({QStringLiteral("Yedek"), QStringLiteral("Tarih"),
                                        QStringLiteral("Boyut"), QStringLiteral("Denetim")});
    backups->setSelectionBehavior(QAbstractItemView::SelectRows);
    backups->setSelectionMode(QAbstractItemView::SingleSelection);
    backups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    backups->horizontalHeader()->setStretchLastSection(true);
    auto* listLabel = new QLabel(QStringLiteral("Yedekler (en yenisi üstte):"), this);
    labelControl(listLabel, backups);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    auto* note = new QLabel(
        QStringLiteral("Araçlar her açılışta, en yeni yedek bir günden eskiyse kendiliğinden "
                       "yedek alır. Son 20 günün her gününden ve son 12 ayın her ayından en yeni "
                       "yedek saklanır; klasördeki başka dosyalara dokunulmaz. Yedekleri bu "
                       "bilgisayardan başka bir yerde (USB bellek, ağ klasörü) tutmanız "
                       "önerilir."),
        this);
    note->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel);
    top->addWidget(folderEdit, 1);
    top->addWidget(folderButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backupButton);
    buttons->addWidget(checkButton);
    buttons->addWidget(restoreButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->addWidget(listLabel);
    layout->addWidget(backups, 1);
    layout->addWidget(statusLabel);

    folderEdit->setText(settings_.value(folderKey).toString());
    connect(folderButton, &QPushButton::clicked, this,
            [this] { guarded([this] { chooseFolder(); }); });
    connect(backupButton, &QPushButton::clicked, this,
            [this] { guarded([this] { backupNow(); }); });
    connect(checkButton, &QPushButton::clicked, this,
            [this] { guarded([this] { checkChosen(); }); });
    connect(restoreButton, &QPushButton::clicked, this,
            [this] { guarded([this] { restoreChosen(); }); });
}

QString BackupPage::folder() const {
    return settings_.value(folderKey).toString();
}

void BackupPage::chooseFolder() {
    const QString chosen =
        choosers().folder(this, QStringLiteral("Yedeklerin Saklanacağı Klasör"), folder());
    if (chosen.isEmpty())
        return;
    settings_.setValue(folderKey, QDir::cleanPath(chosen));
    settings_.sync();
    folderEdit->setText(folder());
    refresh();
}

void BackupPage::rememberCheck(const QString& fileName, const QStringList& problems) {
    settings_.setValue(checkKey(fileName),
                       problems.isEmpty()
                           ? QStringLiteral("sağlam")
                           : QStringLiteral("SORUNLU: ") + problems.join(QStringLiteral("; ")));
    settings_.sync();
}

void BackupPage::backupNow() {
    const WaitCursor busy;
    if (folder().isEmpty())
        throw platform::Error(QStringLiteral("Yedeklerin saklanacağı klasör seçilmedi. Önce "
                                             "\"Klasör Seç…\" ile bir klasör seçin."));
    tools::RotatedBackup done;
    try {
        done = tools::backupInto(context_.databasePath, folder(), context_.now(), {});
    } catch (const platform::Error& e) {
        refresh();
        throw platform::Error(QStringLiteral("Yedek alınamadı (%1). Yedek klasörünün var "
                                             "olduğunu, yazılabildiğini ve diskte yer olduğunu "
                                             "denetleyip yeniden deneyin.")
                                  .arg(e.message()));
    }
    rememberCheck(QFileInfo(done.path).fileName(), {});
    for (const QString& old : done.deleted)
        settings_.remove(checkKey(QFileInfo(old).fileName()));
    refresh();
    statusLabel->setText(QStringLiteral("Yedek alındı ve denetlendi: %1. Eskiyen %2 yedek silindi.")
                             .arg(QFileInfo(done.path).fileName())
                             .arg(done.deleted.size()));
}

bool BackupPage::backupIfDue() {
    if (folder().isEmpty()) {
        statusLabel->setText(QStringLiteral("Kendiliğinden yedek alınmadı: yedek klasörü "
                                            "seçilmedi."));
        return false;
    }
    const QStringList files = tools::rotationFiles(folder());
    const QDateTime now = context_.now();
    if (!files.isEmpty() && tools::rotationTimeOf(files.front())->secsTo(now) < 24 * 60 * 60)
        return false;
    backupNow();
    return true;
}

QString BackupPage::chosenBackup() const {
    const int row = backups->currentRow();
    if (row < 0 || !backups->item(row, 0))
        throw platform::Error(QStringLiteral("Listeden bir yedek seçilmedi. Önce listeden bir "
                                             "yedeğe tıklayın."));
    return backups->item(row, 0)->text();
}

void BackupPage::checkChosen() {
    const WaitCursor busy;
    const QString name = chosenBackup();
    const QStringList problems = tools::checkDatabase(QDir(folder()).filePath(name));
    rememberCheck(name, problems);
    refresh();
    if (problems.isEmpty())
        inform(QStringLiteral("Yedek %1 sağlam.").arg(name));
    else
        fail(QStringLiteral("Yedek %1 sorunlu: %2. Bu yedeği geri yüklemeyin; başka bir yedek "
                            "seçin.")
                 .arg(name, problems.join(QStringLiteral("; "))));
}

void BackupPage::restoreChosen() {
    const QString name = chosenBackup();
    const QDateTime when = *tools::rotationTimeOf(name);
    if (!ask(QStringLiteral("%1 tarihli yedek geri yüklensin mi?\n\nDATA.mdb'deki kayıtların "
                            "yerini yedektekiler alır; yedekten sonra kaydedilenler geri yüklenen "
                            "dosyada olmaz. Önce şimdiki DATA.mdb'nin bir yedeği aynı klasöre "
                            "alınır.")
                 .arg(when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")))))
        return;
    const WaitCursor busy;
    const QString chosen = QDir(folder()).filePath(name);
    const QStringList problems = tools::checkDatabase(chosen);
    rememberCheck(name, problems);
    if (!problems.isEmpty()) {
        refresh();
        throw platform::Error(QStringLiteral("Yedek %1 denetimden geçmedi (%2); geri yükleme "
                                             "yapılmadı. Başka bir yedek seçin.")
                                  .arg(name, problems.join(QStringLiteral("; "))));
    }
    // The current file first, without the rotation: it must not take the chosen one away.
    QString safety = QDir(folder()).filePath(tools::rotationFileName(context_.now()));
    try {
        tools::backupDatabase(context_.databasePath, safety); // checks the copy it makes
        rememberCheck(QFileInfo(safety).fileName(), {});
    } catch (const platform::Error& e) {
        refresh();
        throw platform::Error(QStringLiteral("Şimdiki DATA.mdb yedeklenemedi (%1), bu yüzden "
                                             "geri yükleme yapılmadı. Yedek klasörünü denetleyip "
                                             "yeniden deneyin.")
                                  .arg(e.message()));
    }
    restoreDatabase(chosen, context_.databasePath);
    refresh();
    statusLabel->setText(QStringLiteral("%1 geri yüklendi; önceki DATA.mdb %2 olarak yedeklendi.")
                             .arg(name, QFileInfo(safety).fileName()));
    inform(QStringLiteral("Yedek geri yüklendi. Önceki DATA.mdb %1 adıyla yedeklendi.\n\n"
                          "Ternavolk Kütüphane Takip programı açıksa kapatıp yeniden başlatın: "
                          "geri yüklenen kayıtları ancak o zaman gösterir.")
               .arg(QFileInfo(safety).fileName()));
}

void BackupPage::refresh() {
    folderEdit->setText(folder());
    backups->setRowCount(0);
    if (folder().isEmpty())
        return;
    const QDir dir(folder());
    const QStringList files = tools::rotationFiles(folder());
    backups->setRowCount(static_cast<int>(files.size()));
    for (int r = 0; r < files.size(); ++r) {
        const QString& name = files[r];
        const QString check = settings_.value(checkKey(name)).toString();
        const QStringList cells{
            name, tools::rotationTimeOf(name)->toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
            sizeText(QFileInfo(dir.filePath(name)).size()),
            check.isEmpty() ? QStringLiteral("denetlenmedi") : check};
        for (int c = 0; c < cells.size(); ++c)
            backups->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    backups->resizeColumnsToContents();
}

} // namespace araclar
