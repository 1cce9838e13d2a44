#include "araclar/backuppage.h"

#include "araclar/checkreport.h"
#include "araclar/listpanel.h"
#include "araclar/messages.h"
#include "platform/textrules.h"
#include "tools/backup.h"
#include "tools/restore.h"
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

using tools::BackupKind;
using tools::CheckState;

namespace {
// Where an earlier companion kept one folder for whichever library it was started beside.
const QString sharedFolderKey = QStringLiteral("yedekler/klasor");

QString sizeText(qint64 bytes) {
    return QLocale(QLocale::Turkish, QLocale::Turkey).formattedDataSize(bytes);
}

QString checkText(CheckState state) {
    switch (state) {
    case CheckState::Sound:
        return QStringLiteral("sağlam");
    case CheckState::Problems:
        return QStringLiteral("SORUNLU");
    case CheckState::Unknown:
        break;
    }
    return QStringLiteral("denetlenmedi");
}

} // namespace

QString backupKindText(BackupKind kind) {
    switch (kind) {
    case BackupKind::Rotation:
        return QStringLiteral("Yedek");
    case BackupKind::BeforeRestore:
        return QStringLiteral("Geri yükleme öncesi");
    case BackupKind::Damaged:
        return QStringLiteral("Bozuk DATA.mdb");
    case BackupKind::Failed:
        return QStringLiteral("SORUNLU kopya");
    }
    return QString();
}

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
    checkButton->setAccessibleName(QStringLiteral("Seçilen yedeği denetle"));
    auto* checkRegistersButton = new QPushButton(QStringLiteral("DATA.mdb'yi De&netle"), this);
    checkRegistersButton->setObjectName(QStringLiteral("checkRegistersButton"));
    auto* restoreButton = new QPushButton(QStringLiteral("&Geri Yükle…"), this);
    restoreButton->setObjectName(QStringLiteral("restoreButton"));

    backups = new QTableWidget(0, 6, this);
    backups->setObjectName(QStringLiteral("backupList"));
    backups->setHorizontalHeaderLabels({QStringLiteral("Yedek"), QStringLiteral("Türü"),
                                        QStringLiteral("Tarih"), QStringLiteral("Boyut"),
                                        QStringLiteral("Denetim"), QStringLiteral("Kütüphane")});
    backups->setSelectionBehavior(QAbstractItemView::SelectRows);
    backups->setSelectionMode(QAbstractItemView::SingleSelection);
    backups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    backups->setTabKeyNavigation(false);
    backups->horizontalHeader()->setStretchLastSection(true);
    backups->verticalHeader()->hide();
    auto* listLabel = new QLabel(QStringLiteral("Yedekler (en yenisi üstte):"), this);
    labelControl(listLabel, backups);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    auto* note = new QLabel(
        QStringLiteral("Araçlar her açılışta, en yeni yedek bir günden eskiyse kendiliğinden "
                       "yedek alır. Son 20 günün her gününden ve son 12 ayın her ayından en yeni "
                       "yedek saklanır; geri yükleme öncesi kopyalara, bozuk ve SORUNLU "
                       "dosyalara ve klasördeki başka dosyalara dokunulmaz. Yedekleri bu "
                       "bilgisayardan başka bir yerde (USB bellek, ağ klasörü) tutmanız "
                       "önerilir. Her kütüphane dosyasının kendi yedek klasörü vardır."),
        this);
    note->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel);
    top->addWidget(folderEdit, 1);
    top->addWidget(folderButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backupButton);
    buttons->addWidget(checkButton);
    buttons->addWidget(checkRegistersButton);
    buttons->addWidget(restoreButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->addWidget(listLabel);
    layout->addWidget(backups, 1);
    layout->addWidget(statusLabel);

    // A folder an earlier companion kept for every library becomes the first library's own.
    const QString key = context_.libraryKey(QStringLiteral("yedekler/klasor"));
    if (!settings_.contains(key) && settings_.contains(sharedFolderKey)) {
        settings_.setValue(key, settings_.value(sharedFolderKey));
        settings_.remove(sharedFolderKey);
        settings_.sync();
    }
    folderEdit->setText(QDir::toNativeSeparators(folder()));
    connect(folderButton, &QPushButton::clicked, this,
            [this] { guarded([this] { chooseFolder(); }); });
    connect(backupButton, &QPushButton::clicked, this,
            [this] { guarded([this] { backupNow(); }); });
    connect(checkButton, &QPushButton::clicked, this,
            [this] { guarded([this] { checkChosen(); }); });
    connect(checkRegistersButton, &QPushButton::clicked, this,
            [this] { guarded([this] { checkRegisters(); }); });
    connect(restoreButton, &QPushButton::clicked, this,
            [this] { guarded([this] { restoreChosen(); }); });
}

QString BackupPage::folder() const {
    return settings_.value(context_.libraryKey(QStringLiteral("yedekler/klasor"))).toString();
}

void BackupPage::chooseFolder() {
    const QString chosen =
        choosers().folder(this, QStringLiteral("Yedeklerin Saklanacağı Klasör"), folder());
    if (chosen.isEmpty())
        return;
    settings_.setValue(context_.libraryKey(QStringLiteral("yedekler/klasor")),
                       QDir::cleanPath(chosen));
    settings_.sync();
    refresh();
}

void BackupPage::backupNow() {
    if (folder().isEmpty())
        throw platform::Error(QStringLiteral("Yedeklerin saklanacağı klasör seçilmedi. Önce "
                                             "\"Klasör Seç…\" ile bir klasör seçin."));
    tools::RotatedBackup done;
    try {
        const auto watch = choosers().progress(this, QStringLiteral("Yedek alınıyor…"));
        done = tools::backupInto(context_.databasePath, folder(), context_.now(), {}, *watch);
    } catch (const tools::CopyFailedCheck& failed) {
        refresh();
        const QString kept = QFileInfo(failed.copy()).fileName();
        statusLabel->setText(QStringLiteral("Yedek denetimden geçmedi: %1").arg(kept));
        throw platform::Error(
            QStringLiteral("DATA.mdb'nin kopyası alındı ama denetimden geçmedi: kütüphane "
                           "dosyası bozuk olabilir. Bu kopya bir yedek sayılmaz; eski "
                           "yedeklerin hiçbiri silinmedi ve kopya, belki de elde olanın en "
                           "iyisi olduğu için %1 adıyla saklandı. \"DATA.mdb'yi Denetle\" ile "
                           "kütüphane dosyasını denetleyin; sorun bulunursa son sağlam yedeği "
                           "geri yükleyin.")
                .arg(kept));
    } catch (const platform::Cancelled&) {
        refresh();
        statusLabel->setText(QStringLiteral("Yedekleme iptal edildi; yedek alınmadı."));
        return;
    } catch (...) {
        refresh();
        throw;
    }
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
    // Only the rotation's backups count: a copy that failed its check is none.
    const QStringList files = tools::rotationFiles(folder());
    const QDateTime now = context_.now();
    if (!files.isEmpty() && tools::rotationTimeOf(files.front())->secsTo(now) < 24 * 60 * 60)
        return false;
    backupNow();
    return true;
}

const tools::BackupEntry& BackupPage::chosen() const {
    const int row = backups->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()))
        throw platform::Error(QStringLiteral("Listeden bir yedek seçilmedi. Önce listeden bir "
                                             "yedeğe tıklayın."));
    return entries_[static_cast<size_t>(row)];
}

void BackupPage::checkChosen() {
    const tools::BackupEntry entry = chosen();
    const QString path = QDir(folder()).filePath(entry.fileName);
    QStringList problems;
    {
        const WaitCursor busy;
        problems = checkInTurkish(path);
    }
    if (entry.kind != BackupKind::Failed)
        tools::noteBackup(folder(), entry.fileName, QString(),
                          problems.isEmpty() ? CheckState::Sound : CheckState::Problems);
    refresh();
    if (problems.isEmpty())
        inform(QStringLiteral("Yedek %1 sağlam.").arg(entry.fileName));
    else
        fail(QStringLiteral("Yedek %1 sorunlu; bu yedeği geri yüklemeyin, başka bir yedek "
                            "seçin.\n\n%2")
                 .arg(entry.fileName, problems.join(u'\n')));
}

void BackupPage::checkRegisters() {
    QStringList problems;
    {
        const WaitCursor busy;
        problems = checkInTurkish(context_.databasePath);
    }
    if (problems.isEmpty())
        inform(QStringLiteral("DATA.mdb sağlam."));
    else
        fail(QStringLiteral("DATA.mdb sorunlu. Yedekler listesinden en yeni sağlam yedeği seçip "
                            "\"Geri Yükle…\" ile geri yükleyin; bozuk dosya silinmez, yedek "
                            "klasörüne olduğu gibi saklanır.\n\n%1")
                 .arg(problems.join(u'\n')));
}

void BackupPage::restoreChosen() {
    const tools::BackupEntry entry = chosen();
    QString question = QStringLiteral("%1 tarihli yedek (%2) geri yüklensin mi?\n\nDATA.mdb'deki "
                                      "kayıtların yerini yedektekiler alır; yedekten sonra "
                                      "kaydedilenler geri yüklenen dosyada olmaz. Önce şimdiki "
                                      "DATA.mdb yedek klasörüne saklanır.")
                           .arg(platform::dayTimeText(entry.made), entry.fileName);
    const QString here = tools::libraryIdentity(context_.databasePath);
    if (entry.source.isEmpty())
        question += QStringLiteral("\n\nDİKKAT: Bu yedeğin hangi kütüphane dosyasından "
                                   "alındığı bilinmiyor. Bu kütüphanenin yedeği olduğundan "
                                   "emin değilseniz \"Hayır\" deyin.");
    else if (!tools::sameLibrary(entry.source, here))
        question += QStringLiteral("\n\nDİKKAT: Bu yedek başka bir kütüphane dosyasından "
                                   "alınmış:\n%1\nBu kütüphane ise:\n%2")
                        .arg(entry.source, here);
    if (!ask(question))
        return;
    const QString backup = QDir(folder()).filePath(entry.fileName);
    tools::Replaced done;
    try {
        const auto watch = choosers().progress(this, QStringLiteral("Yedek geri yükleniyor…"));
        done = tools::replaceRegisters(backup, context_.databasePath, folder(),
                                       tools::KeepAs::Restore, context_.now(), *watch);
    } catch (const tools::SourceNotSound&) {
        if (entry.kind != BackupKind::Failed)
            tools::noteBackup(folder(), entry.fileName, QString(), CheckState::Problems);
        refresh();
        throw platform::Error(QStringLiteral("Yedek %1 denetimden geçmedi; geri yükleme "
                                             "yapılmadı ve hiçbir şey değişmedi. Başka bir "
                                             "yedek seçin.")
                                  .arg(entry.fileName));
    } catch (const platform::Cancelled&) {
        refresh();
        statusLabel->setText(
            QStringLiteral("Geri yükleme iptal edildi; DATA.mdb olduğu gibi kaldı."));
        return;
    } catch (...) {
        refresh();
        throw;
    }
    refresh();
    const QString kept = QFileInfo(done.keptAs).fileName();
    QString message;
    switch (done.before) {
    case tools::Replaced::Before::Sound:
        message =
            QStringLiteral("Yedek geri yüklendi. Önceki DATA.mdb %1 adıyla yedeklendi.").arg(kept);
        break;
    case tools::Replaced::Before::Damaged:
        message = QStringLiteral("Yedek geri yüklendi. Önceki DATA.mdb bozuktu; olduğu gibi %1 "
                                 "adıyla yedek klasörüne saklandı.")
                      .arg(kept);
        break;
    case tools::Replaced::Before::Missing:
        message = QStringLiteral("Yedek geri yüklendi; DATA.mdb yoktu, yedekten oluşturuldu.");
        break;
    }
    statusLabel->setText(message);
    inform(message + QStringLiteral("\n\nTernavolk Kütüphane Takip programı açıksa kapatıp "
                                    "yeniden başlatın: geri yüklenen kayıtları ancak o zaman "
                                    "gösterir."));
}

void BackupPage::refresh() {
    folderEdit->setText(QDir::toNativeSeparators(folder()));
    entries_ = tools::backupEntries(folder());
    backups->setRowCount(static_cast<int>(entries_.size()));
    const QString here = tools::libraryIdentity(context_.databasePath);
    for (int r = 0; r < static_cast<int>(entries_.size()); ++r) {
        const tools::BackupEntry& e = entries_[static_cast<size_t>(r)];
        const QString library = e.source.isEmpty() ? QStringLiteral("bilinmiyor")
                                : tools::sameLibrary(e.source, here)
                                    ? QStringLiteral("bu kütüphane")
                                    : e.source;
        const QStringList cells{
            e.fileName,       backupKindText(e.kind), platform::dayTimeText(e.made),
            sizeText(e.size), checkText(e.check),     library};
        for (int c = 0; c < cells.size(); ++c)
            backups->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    backups->resizeColumnsToContents();
}

} // namespace araclar
