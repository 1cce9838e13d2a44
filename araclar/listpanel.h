#pragma once

#include "araclar/reportmodel.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace araclar {

// One list of a page with what every list offers: the count under it, and "Yazdır…", "PDF
// Olarak Kaydet…" and "Excel İçin Kaydet…" of the rows shown.
class ListPanel : public QWidget {
public:
    // `name` names the list for assistive technology and prefixes the controls' object names.
    ListPanel(const QString& name, std::function<QDate()> today, QWidget* parent = nullptr);

    ReportModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    QLabel* countLabel() const { return count_; }

    void setTable(ReportTable table);
    void setTable(ReportTable table, std::vector<int> rows);
    void setShownRows(std::vector<int> rows);
    // What narrows the rows shown (a school, a filter), said after the list's title when it is
    // printed or saved, and in the file name offered; empty when all rows are shown.
    void setNarrowing(const QString& note);
    // The rows shown as they are printed and saved: the title says how they were narrowed.
    ReportTable printedTable() const;

    // The three actions (the buttons call them).
    void print();
    void saveAsPdf();
    void saveForExcel();

private:
    void updateCount();
    QString suggestedName(const QString& extension) const;

    std::function<QDate()> today_;
    QString narrowing_;
    ReportModel* model_;
    QTableView* view_;
    QLabel* count_;
};

// Sets a label as a control's caption: its buddy, and the control's accessible name.
void labelControl(class QLabel* label, QWidget* control);

} // namespace araclar
