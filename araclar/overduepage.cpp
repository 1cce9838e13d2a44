#include "araclar/overduepage.h"

#include "araclar/database.h"
#include "araclar/deskprint.h"
#include "araclar/listpanel.h"
#include "araclar/messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace araclar {

namespace {
const QString allSchools = QStringLiteral("Bütün okullar");
}

OverduePage::OverduePage(const Context& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("overduePage"));
    const auto today = [this] { return context_.today(); };
    filterEdit = new QLineEdit(this);
    filterEdit->setObjectName(QStringLiteral("filterEdit"));
    filterEdit->setPlaceholderText(QStringLiteral("okuyucu, kitap ya da okul"));
    auto* filterLabel = new QLabel(QStringLiteral("&Ara:"), this);
    labelControl(filterLabel, filterEdit);
    schoolCombo = new QComboBox(this);
    schoolCombo->setObjectName(QStringLiteral("schoolCombo"));
    schoolCombo->setMinimumContentsLength(24);
    auto* schoolLabel = new QLabel(QStringLiteral("&Okul:"), this);
    labelControl(schoolLabel, schoolCombo);
    auto* refreshButton = new QPushButton(QStringLiteral("&Yenile"), this);
    refreshButton->setObjectName(QStringLiteral("refreshButton"));
    // A reminder slip for each reader with a late book (of the school chosen), for the class
    // teachers.
    auto* slipsButton = new QPushButton(QStringLiteral("Gecikme &Bildirimi Yazdır…"), this);
    slipsButton->setObjectName(QStringLiteral("slipsPrintButton"));
    auto* slipsPdfButton = new QPushButton(QStringLiteral("Gecikme Bildirimi PD&F…"), this);
    slipsPdfButton->setObjectName(QStringLiteral("slipsPdfButton"));
    todayLabel = new QLabel(this);
    todayLabel->setObjectName(QStringLiteral("todayLabel"));

    lists = new QTabWidget(this);
    lists->setObjectName(QStringLiteral("overdueTabs"));
    overdueList = new ListPanel(QStringLiteral("Geciken Kitaplar"), today, lists);
    outList = new ListPanel(QStringLiteral("Dışarıdaki Kitaplar"), today, lists);
    lists->addTab(overdueList, QStringLiteral("Geciken Kitaplar"));
    lists->addTab(outList, QStringLiteral("Dışarıdaki Kitaplar"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(filterLabel);
    bar->addWidget(filterEdit, 2);
    bar->addWidget(schoolLabel);
    bar->addWidget(schoolCombo, 1);
    bar->addWidget(refreshButton);
    bar->addWidget(slipsButton);
    bar->addWidget(slipsPdfButton);
    bar->addWidget(todayLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(lists, 1);

    connect(filterEdit, &QLineEdit::textChanged, this,
            [this] { guarded([this] { applyFilter(); }); });
    connect(schoolCombo, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { applyFilter(); }); });
    connect(refreshButton, &QPushButton::clicked, this, [this] { guarded([this] { refresh(); }); });
    const auto chosenSchool = [this] {
        return schoolCombo->currentIndex() > 0 ? schoolCombo->currentText() : QString();
    };
    connect(slipsButton, &QPushButton::clicked, this, [this, chosenSchool] {
        guarded([&] { printReminderSlips(context_, this, chosenSchool()); });
    });
    connect(slipsPdfButton, &QPushButton::clicked, this, [this, chosenSchool] {
        guarded([&] { saveReminderSlipsPdf(context_, this, chosenSchool()); });
    });
}

void OverduePage::refresh() {
    const WaitCursor busy;
    const QDate today = context_.today();
    todayLabel->setText(QStringLiteral("Bugün: ") + dayText(today));
    loans_.clear();
    overdueOrder_.clear();
    outOrder_.clear();
    overdueRows_.clear();
    overdueList->setTable(loanTable(QStringLiteral("Geciken Kitaplar"), loans_, {}));
    outList->setTable(loanTable(QStringLiteral("Dışarıdaki Kitaplar"), loans_, {}));
    loans_ = readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        return readOutLoans(db, today);
    });
    overdueOrder_ = overdueOrder(loans_);
    outOrder_ = outOrder(loans_);

    std::set<QString> schools;
    for (const OutLoan& l : loans_)
        if (l.readersOfThatName == 1 && !l.school.isEmpty())
            schools.insert(l.school);
    const QString chosen = schoolCombo->currentIndex() > 0 ? schoolCombo->currentText() : QString();
    if (!chosen.isEmpty()) // the school chosen stays chosen, even with nothing out any more
        schools.insert(chosen);
    {
        const QSignalBlocker block(schoolCombo);
        schoolCombo->clear();
        schoolCombo->addItem(allSchools);
        std::vector<QString> sorted(schools.begin(), schools.end());
        std::stable_sort(sorted.begin(), sorted.end(), turkishLess);
        for (const QString& s : sorted)
            schoolCombo->addItem(s);
        const int again = chosen.isEmpty() ? 0 : schoolCombo->findText(chosen);
        schoolCombo->setCurrentIndex(again < 0 ? 0 : again);
    }
    // One table of the loans that are out; the late ones are some of its rows.
    ReportTable out = loanTable(QStringLiteral("Dışarıdaki Kitaplar"), loans_, outOrder_);
    std::vector<int> place(loans_.size());
    for (size_t k = 0; k < outOrder_.size(); ++k)
        place[static_cast<size_t>(outOrder_[k])] = static_cast<int>(k);
    overdueRows_.clear();
    overdueRows_.reserve(overdueOrder_.size());
    for (const int i : overdueOrder_)
        overdueRows_.push_back(place[static_cast<size_t>(i)]);
    ReportTable overdue = out;
    overdue.title = QStringLiteral("Geciken Kitaplar");
    overdueList->setTable(std::move(overdue), overdueRows_);
    outList->setTable(std::move(out));
    applyFilter();
}

void OverduePage::applyFilter() {
    const TextFilter filter(filterEdit->text());
    const QString school = schoolCombo->currentIndex() > 0 ? schoolCombo->currentText() : QString();
    std::vector<char> match(loans_.size());
    for (size_t i = 0; i < loans_.size(); ++i)
        match[i] = loanMatches(loans_[i], filter, school);
    // Rows of the one table (positions in the out order) whose loan matches.
    std::vector<int> outRows, overdueRows;
    outRows.reserve(outOrder_.size());
    for (size_t k = 0; k < outOrder_.size(); ++k)
        if (match[static_cast<size_t>(outOrder_[k])])
            outRows.push_back(static_cast<int>(k));
    overdueRows.reserve(overdueRows_.size());
    for (const int row : overdueRows_)
        if (match[static_cast<size_t>(outOrder_[static_cast<size_t>(row)])])
            overdueRows.push_back(row);
    overdueList->setShownRows(std::move(overdueRows));
    outList->setShownRows(std::move(outRows));
    QStringList narrowing;
    if (!school.isEmpty())
        narrowing << QStringLiteral("Okul: ") + school;
    if (!filter.empty())
        narrowing << QStringLiteral("Arama: \u201C%1\u201D").arg(filterEdit->text());
    for (ListPanel* list : {overdueList, outList})
        list->setNarrowing(narrowing.join(QStringLiteral("; ")));
}

} // namespace araclar
