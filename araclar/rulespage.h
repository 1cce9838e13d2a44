#pragma once

#include "araclar/context.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QSpinBox;

namespace araclar {

// "Ödünç Kuralları": the rules the desk applies in this library, with the regulation's
// defaults until the librarian changes them: the loan period, how many books a pupil and a
// teacher may hold, the kinds of book that are not lent, and whether a late book stops a new
// loan. "Kaydet" keeps them; "Varsayılanlar" brings the defaults back.
class RulesPage : public QWidget {
public:
    RulesPage(const Context& context, QSettings& settings, QWidget* parent = nullptr);

    // Shows the rules kept.
    void load();
    void save();
    void restoreDefaults();

    QSpinBox* loanDaysSpin;
    QSpinBox* pupilLimitSpin;
    QSpinBox* teacherLimitSpin;
    QPlainTextEdit* kindsEdit;
    QCheckBox* lateBlocksCheck;
    QPushButton* saveButton;
    QPushButton* defaultsButton;
    QLabel* statusLabel;

private:
    const Context& context_;
    QSettings& settings_;
};

} // namespace araclar
