#include "araclar/listpanel.h"

#include "araclar/csv.h"
#include "araclar/messages.h"
#include "araclar/printout.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace araclar {

void labelControl(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    QString name = label->text();
    name.remove(u'&');
    if (name.endsWith(u':'))
        name.chop(1);
    control->setAccessibleName(name);
}

ListPanel::ListPanel(const QString& name, std::function<QDate()> today, QWidget* parent)
    : QWidget(parent), today_(std::move(today)), model_(new ReportModel(this)),
      view_(new QTableView(this)), count_(new QLabel(this)) {
    setObjectName(name);
    view_->setObjectName(name + QStringLiteral("List"));
    view_->setAccessibleName(name);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    // Tab leaves the list in one step, on to its buttons, as it leaves any other control.
    view_->setTabKeyNavigation(false);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->verticalHeader()->hide(); // the count is under the list; ranks are a column
    view_->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows only: measuring a thousand rows of every list would
    // cost more than reading them.
    view_->horizontalHeader()->setResizeContentsPrecision(100);
    count_->setObjectName(name + QStringLiteral("Count"));
    count_->setAccessibleName(name + QStringLiteral(": kayıt sayısı"));

    // Their letters are free on every page that shows a list.
    auto* printButton = new QPushButton(QStringLiteral("Ya&zdır…"), this);
    printButton->setObjectName(name + QStringLiteral("Print"));
    auto* pdfButton = new QPushButton(QStringLiteral("&PDF Olarak Kaydet…"), this);
    pdfButton->setObjectName(name + QStringLiteral("Pdf"));
    auto* csvButton = new QPushButton(QStringLiteral("&Excel İçin Kaydet…"), this);
    csvButton->setObjectName(name + QStringLiteral("Csv"));
    connect(printButton, &QPushButton::clicked, this, [this] { guarded([this] { print(); }); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { guarded([this] { saveAsPdf(); }); });
    connect(csvButton, &QPushButton::clicked, this,
            [this] { guarded([this] { saveForExcel(); }); });

    auto* foot = new QHBoxLayout;
    foot->addWidget(count_, 1);
    foot->addWidget(printButton);
    foot->addWidget(pdfButton);
    foot->addWidget(csvButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addLayout(foot);
    updateCount();
}

void ListPanel::setTable(ReportTable table) {
    model_->setTable(std::move(table));
    view_->resizeColumnsToContents();
    updateCount();
}

void ListPanel::setTable(ReportTable table, std::vector<int> rows) {
    model_->setTable(std::move(table), std::move(rows));
    view_->resizeColumnsToContents();
    updateCount();
}

void ListPanel::setShownRows(std::vector<int> rows) {
    model_->setShownRows(std::move(rows));
    updateCount();
}

void ListPanel::setNarrowing(const QString& note) {
    narrowing_ = note;
}

ReportTable ListPanel::printedTable() const {
    ReportTable t = model_->shownTable();
    if (!narrowing_.isEmpty())
        t.title += QStringLiteral(" (") + narrowing_ + u')';
    return t;
}

void ListPanel::updateCount() {
    const int shown = model_->rowCount();
    const int total = model_->totalRows();
    count_->setText(shown == total ? QStringLiteral("%1 kayıt").arg(total)
                                   : QStringLiteral("%1 kayıt (toplam %2)").arg(shown).arg(total));
}

QString ListPanel::suggestedName(const QString& extension) const {
    QString base = printedTable().title;
    base.remove(u':');
    base.replace(QRegularExpression(QStringLiteral("[\\\\/*?\"<>|]")), QStringLiteral("-"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(base + QStringLiteral(" ") +
                                 today_().toString(QStringLiteral("yyyy-MM-dd")) + extension);
}

void ListPanel::print() {
    printWithDialog(printedTable(), today_(), this);
}

void ListPanel::saveAsPdf() {
    const QString path = choosers().saveFile(this, QStringLiteral("PDF Olarak Kaydet"),
                                             suggestedName(QStringLiteral(".pdf")),
                                             QStringLiteral("PDF dosyası (*.pdf)"));
    if (path.isEmpty())
        return;
    savePdf(printedTable(), today_(), path, this);
}

void ListPanel::saveForExcel() {
    const QString path = choosers().saveFile(this, QStringLiteral("Excel İçin Kaydet"),
                                             suggestedName(QStringLiteral(".csv")),
                                             QStringLiteral("Excel için CSV (*.csv)"));
    if (path.isEmpty())
        return;
    saveCsv(printedTable(), path, this);
}

} // namespace araclar
