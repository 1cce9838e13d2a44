#include "araclar/mainwindow.h"

#include "araclar/backuppage.h"
#include "araclar/deskpage.h"
#include "araclar/historypage.h"
#include "araclar/importpage.h"
#include "araclar/labelspage.h"
#include "araclar/listimportpage.h"
#include "araclar/messages.h"
#include "araclar/overduepage.h"
#include "araclar/rulespage.h"
#include "araclar/statisticspage.h"

#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>

namespace araclar {

MainWindow::MainWindow(Context context, QWidget* parent)
    : QMainWindow(parent), context_(std::move(context)),
      settings_(std::make_unique<QSettings>(context_.settingsFile, QSettings::IniFormat)) {
    setObjectName(QStringLiteral("araclar"));
    setWindowTitle(title());
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    overdue = new OverduePage(context_, pages);
    history = new HistoryPage(context_, pages);
    statistics = new StatisticsPage(context_, pages);
    backups = new BackupPage(context_, *settings_, pages);
    import = new ImportPage(context_, pages);
    desk = new DeskPage(context_, *settings_, pages);
    labels = new LabelsPage(context_, *settings_, pages);
    rules = new RulesPage(context_, *settings_, pages);
    pages->addTab(overdue, QStringLiteral("Geciken Kitaplar"));
    pages->addTab(history, QStringLiteral("Okuyucu / Kitap Geçmişi"));
    pages->addTab(statistics, QStringLiteral("En Çok Okunanlar"));
    pages->addTab(backups, QStringLiteral("Yedekler"));
    pages->addTab(import, QStringLiteral("Access'ten Aktar"));
    pages->addTab(new ListImportPage(context_, pages), QStringLiteral("Listeden Aktar"));
    pages->addTab(desk, QStringLiteral("Ödünç Masası"));
    pages->addTab(labels, QStringLiteral("Etiket ve Kart"));
    pages->addTab(rules, QStringLiteral("Ödünç Kuralları"));
    setCentralWidget(pages);
    auto* where = new QLabel(QStringLiteral("Kütüphane dosyası: ") + context_.databasePath, this);
    where->setObjectName(QStringLiteral("databaseLabel"));
    statusBar()->addWidget(where);
    resize(1100, 700);
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp() {
    backups->refresh();
    if (QFileInfo::exists(context_.databasePath))
        guarded([this] { backups->backupIfDue(); });
    refreshAll();
}

void MainWindow::refreshAll() {
    // Each list on its own: one that cannot be read leaves the others working.
    if (!guarded([this] { overdue->refresh(); }))
        return; // the same file would fail the same way on the other pages
    guarded([this] { history->refresh(); });
    guarded([this] { statistics->reset(); });
    guarded([this] { labels->refresh(); });
}

} // namespace araclar
