#include "araclar/statisticspage.h"

#include "araclar/database.h"
#include "araclar/listpanel.h"
#include "araclar/messages.h"
#include "araclar/statistics.h"
#include "platform/textrules.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace araclar {

StatisticsPage::StatisticsPage(const Context& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("statisticsPage"));
    const auto today = [this] { return context_.today(); };
    fromEdit = new QDateEdit(this);
    fromEdit->setObjectName(QStringLiteral("fromEdit"));
    toEdit = new QDateEdit(this);
    toEdit->setObjectName(QStringLiteral("toEdit"));
    for (QDateEdit* e : {fromEdit, toEdit}) {
        e->setDisplayFormat(QString::fromUtf16(platform::dayFormat));
        e->setCalendarPopup(true);
    }
    auto* fromLabel = new QLabel(QStringLiteral("&Başlangıç:"), this);
    labelControl(fromLabel, fromEdit);
    auto* toLabel = new QLabel(QStringLiteral("B&itiş:"), this);
    labelControl(toLabel, toEdit);
    auto* showButton = new QPushButton(QStringLiteral("&Göster"), this);
    showButton->setObjectName(QStringLiteral("showButton"));
    auto* yearButton = new QPushButton(QStringLiteral("Bu &Öğretim Yılı"), this);
    yearButton->setObjectName(QStringLiteral("schoolYearButton"));

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("statisticsTabs"));
    books = new ListPanel(QStringLiteral("En Çok Okunan Kitaplar"), today, tabs);
    readers = new ListPanel(QStringLiteral("En Çok Okuyanlar"), today, tabs);
    schools = new ListPanel(QStringLiteral("Okullara Göre"), today, tabs);
    tabs->addTab(books, QStringLiteral("En Çok Okunan Kitaplar"));
    tabs->addTab(readers, QStringLiteral("En Çok Okuyanlar"));
    loans = new ListPanel(QStringLiteral("Dönemin Ödünçleri"), today, tabs);
    tabs->addTab(schools, QStringLiteral("Okullara Göre"));
    tabs->addTab(loans, QStringLiteral("Dönemin Ödünçleri"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(fromLabel);
    bar->addWidget(fromEdit);
    bar->addWidget(toLabel);
    bar->addWidget(toEdit);
    bar->addWidget(showButton);
    bar->addWidget(yearButton);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(tabs, 1);

    connect(showButton, &QPushButton::clicked, this, [this] { guarded([this] { refresh(); }); });
    connect(yearButton, &QPushButton::clicked, this, [this] { guarded([this] { reset(); }); });
}

void StatisticsPage::reset() {
    const QDate today = context_.today();
    fromEdit->setDate(schoolYearStart(today));
    toEdit->setDate(today);
    refresh();
}

void StatisticsPage::refresh() {
    const WaitCursor busy;
    const QDate from = fromEdit->date();
    const QDate to = toEdit->date();
    if (from > to)
        throw platform::Error(QStringLiteral("Başlangıç günü bitiş gününden sonra. Başlangıcı "
                                             "bitişten önceki bir güne alın."));
    readDatabase(context_.databasePath, [&](const data::sqlite::Database& db) {
        books->setTable(mostLentBooks(db, from, to));
        readers->setTable(mostActiveReaders(db, from, to));
        schools->setTable(loansPerSchool(db, from, to));
        loans->setTable(loansOfPeriod(db, from, to));
        return 0;
    });
}

} // namespace araclar
