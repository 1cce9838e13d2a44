#pragma once

#include "araclar/context.h"

#include <QWidget>

class QDateEdit;
class QTabWidget;

namespace araclar {

class ListPanel;

// "En Çok Okunanlar": between two days (this school year by default) the books lent most, the
// readers who borrowed most, the loans per school, and every loan of the period.
class StatisticsPage : public QWidget {
public:
    explicit StatisticsPage(const Context& context, QWidget* parent = nullptr);

    // Sets the period to this school year up to today and counts.
    void reset();
    // Counts for the period chosen.
    void refresh();

    QDateEdit* fromEdit;
    QDateEdit* toEdit;
    QTabWidget* tabs;
    ListPanel* books;
    ListPanel* readers;
    ListPanel* schools;
    ListPanel* loans;

private:
    const Context& context_;
};

} // namespace araclar
