#include "kitap_/kitapkayit.h"

#include "anaform_/anaform.h"
#include "data/adoquery.h"
#include "data/widgets/datetimepicker.h"
#include "platform/guard.h"
#include "platform/widgetstyle.h"

#include <QCloseEvent>

Tkitapkayit* kitapkayit = nullptr;

Tkitapkayit::Tkitapkayit(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("kitapkayit"));
    setWindowTitle(QStringLiteral("Kitap Kayıt Formu"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(672, 417); // outer 680 × 444
    setFont(platform::classicFont(13, true));
    platform::fillBackground(this, QColor(128, 255, 255));

    DateTimePicker1 = new data::TDateTimePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker2 = new data::TDateTimePicker(this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker1->setGeometry(120, 300, 186, 21);
    DateTimePicker2->setGeometry(120, 330, 186, 21);
}

void Tkitapkayit::FormClose() {
    anaform->kitap->cancel();
}

void Tkitapkayit::closeEvent(QCloseEvent* event) {
    platform::guard([this] { FormClose(); });
    event->accept(); // hides the window; the program goes on
}
