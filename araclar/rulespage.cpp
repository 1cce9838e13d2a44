#include "araclar/rulespage.h"

#include "araclar/desksettings.h"
#include "araclar/listpanel.h"
#include "araclar/messages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace araclar {

namespace {
QSpinBox* countSpin(QWidget* parent, const QString& name, int most, const QString& suffix) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(1, most);
    s->setSuffix(suffix);
    return s;
}

void addRow(QFormLayout* form, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, control->parentWidget());
    labelControl(label, control);
    form->addRow(label, control);
}
} // namespace

RulesPage::RulesPage(const Context& context, QSettings& settings, QWidget* parent)
    : QWidget(parent), context_(context), settings_(settings) {
    setObjectName(QStringLiteral("rulesPage"));
    loanDaysSpin = countSpin(this, QStringLiteral("loanDaysSpin"), 365, QStringLiteral(" gün"));
    pupilLimitSpin =
        countSpin(this, QStringLiteral("pupilLimitSpin"), 50, QStringLiteral(" kitap"));
    teacherLimitSpin =
        countSpin(this, QStringLiteral("teacherLimitSpin"), 50, QStringLiteral(" kitap"));
    kindsEdit = new QPlainTextEdit(this);
    kindsEdit->setObjectName(QStringLiteral("kindsEdit"));
    kindsEdit->setTabChangesFocus(true);
    lateBlocksCheck =
        new QCheckBox(QStringLiteral("&Geciken kitabı olan okuyucuya yeni kitap verilmesin"), this);
    lateBlocksCheck->setObjectName(QStringLiteral("lateBlocksCheck"));
    saveButton = new QPushButton(QStringLiteral("&Kaydet"), this);
    saveButton->setObjectName(QStringLiteral("saveRulesButton"));
    defaultsButton = new QPushButton(QStringLiteral("&Varsayılanlar"), this);
    defaultsButton->setObjectName(QStringLiteral("defaultRulesButton"));
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("rulesStatus"));
    statusLabel->setWordWrap(true);

    auto* form = new QFormLayout;
    addRow(form, QStringLiteral("Ödünç süresi:"), loanDaysSpin);
    addRow(form, QStringLiteral("Bir öğrenci en çok:"), pupilLimitSpin);
    addRow(form, QStringLiteral("Bir öğretmen en çok (unvanında \"Öğretmen\" geçen):"),
           teacherLimitSpin);
    addRow(form, QStringLiteral("Ödünç verilmeyen türler (her satıra bir tür):"), kindsEdit);
    form->addRow(lateBlocksCheck);
    auto* note = new QLabel(
        QStringLiteral("Masada bir kural kitabı durdurduğunda uyarı çıkar; F9 (\"Yine de ver\") "
                       "ile kitap yine de verilir. Varsayılanlar okul kütüphaneleri "
                       "yönetmeliğine göredir: 15 gün, öğrenciye 3, öğretmene 5 kitap; "
                       "başvuru eserleri ve süreli yayınlar ödünç verilmez."),
        this);
    note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton);
    buttons->addWidget(defaultsButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->addWidget(statusLabel);
    layout->addStretch(1);

    connect(saveButton, &QPushButton::clicked, this, [this] { guarded([this] { save(); }); });
    connect(defaultsButton, &QPushButton::clicked, this,
            [this] { guarded([this] { restoreDefaults(); }); });
    load();
}

void RulesPage::load() {
    const tools::desk::Rules r = loadRules(settings_, context_);
    loanDaysSpin->setValue(r.loanDays);
    pupilLimitSpin->setValue(r.pupilLimit);
    teacherLimitSpin->setValue(r.teacherLimit);
    kindsEdit->setPlainText(r.notLent.join(u'\n'));
    lateBlocksCheck->setChecked(r.lateBlocks);
}

void RulesPage::save() {
    tools::desk::Rules r;
    r.loanDays = loanDaysSpin->value();
    r.pupilLimit = pupilLimitSpin->value();
    r.teacherLimit = teacherLimitSpin->value();
    r.notLent.clear();
    for (const QString& line : kindsEdit->toPlainText().split(u'\n'))
        if (!line.trimmed().isEmpty())
            r.notLent << line.trimmed();
    r.lateBlocks = lateBlocksCheck->isChecked();
    saveRules(settings_, context_, r);
    load();
    statusLabel->setText(QStringLiteral("Kurallar kaydedildi; masa bundan sonraki okutmada "
                                        "bunları uygular."));
}

void RulesPage::restoreDefaults() {
    saveRules(settings_, context_, tools::desk::Rules());
    load();
    statusLabel->setText(QStringLiteral("Varsayılan kurallar geri getirildi ve kaydedildi."));
}

} // namespace araclar
