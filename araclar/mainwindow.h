#pragma once

#include "araclar/context.h"

#include <QMainWindow>
#include <memory>

class QSettings;
class QTabWidget;

namespace araclar {

class OverduePage;
class HistoryPage;
class StatisticsPage;
class BackupPage;
class ImportPage;
class DeskPage;
class LabelsPage;
class RulesPage;

// "Ternavolk Kütüphane Araçları": the librarian's second program, one page per task.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(Context context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the companion does once shown: the daily backup when due, then the lists read.
    void startUp();
    // Reads every list again.
    void refreshAll();

    const Context& context() const { return context_; }

    QTabWidget* pages;
    OverduePage* overdue;
    HistoryPage* history;
    StatisticsPage* statistics;
    BackupPage* backups;
    ImportPage* import;
    DeskPage* desk;
    LabelsPage* labels;
    RulesPage* rules;

private:
    Context context_;
    std::unique_ptr<QSettings> settings_;
};

} // namespace araclar
