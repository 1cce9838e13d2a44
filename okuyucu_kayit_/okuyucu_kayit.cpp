#include "okuyucu_kayit_/okuyucu_kayit.h"

#include "anaform_/anaform.h"
#include "data/adoquery.h"
#include "data/widgets/datetimepicker.h"
#include "platform/guard.h"
#include "platform/widgetstyle.h"

#include <QCloseEvent>

Tokuyucu_kayit* okuyucu_kayit = nullptr;

Tokuyucu_kayit::Tokuyucu_kayit(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("okuyucu_kayit"));
    setWindowTitle(QStringLiteral("Okuyucu Kayıt Formu"));
    resize(533, 394); // outer 541 × 421
    setFont(platform::classicFont(13, true));
    platform::fillBackground(this, QColor(174, 174, 255));

    DateTimePicker1 = new data::TDateTimePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(136, 200, 186, 21);
}

void Tokuyucu_kayit::FormClose() {
    anaform->okuyucu->cancel();
}

void Tokuyucu_kayit::closeEvent(QCloseEvent* event) {
    platform::guard([this] { FormClose(); });
    event->accept();
}
