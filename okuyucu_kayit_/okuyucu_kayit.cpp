#include "okuyucu_kayit_/okuyucu_kayit.h"

#include "anaform_/anaform.h"
#include "data/adoquery.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dbrichedit.h"
#include "platform/connect.h"
#include "platform/widgetstyle.h"

#include <QPushButton>

Tokuyucu_kayit* okuyucu_kayit = nullptr;

namespace {

using W = Tokuyucu_kayit;

const formkit::ControlRow<W> controls[] = {
    {&W::DBEdit1, u"DBEdit1", u"ADISOYADI", {138, 44, 300, 24}, true, u"Label2"},
    {&W::DBEdit2, u"DBEdit2", u"OGRENIMDURUMU", {138, 69, 300, 24}, true, u"Label3"},
    {&W::DBEdit3, u"DBEdit3", u"OKULU", {138, 94, 300, 24}, true, u"Label4"},
    {&W::DBEdit4, u"DBEdit4", u"NUMARASI", {138, 119, 150, 24}, true, u"Label5"},
    {&W::DBEdit6, u"DBEdit6", u"UNVANI", {138, 144, 300, 24}, true, u"Label6"},
    {&W::DBEdit5, u"DBEdit5", u"DOGUMYERI", {138, 169, 150, 24}, true, u"Label7"},
    {&W::DateTimePicker1, u"DateTimePicker1", nullptr, {138, 195, 121, 24}, false, u"Label8"},
    {&W::DBEdit8, u"DBEdit8", u"TELEFONU", {138, 219, 150, 24}, true, u"Label9"},
    {&W::DBEdit9, u"DBEdit9", u"CEPTELEFONU", {138, 245, 150, 24}, true, u"Label10"},
    {&W::DBRichEdit1, u"DBRichEdit1", u"ADRESI", {139, 272, 310, 57}, false, u"Label11"},
    {&W::Button1, u"Button1", nullptr, {152, 347, 217, 41}, false, nullptr},
};

const formkit::LabelRow labels[] = {
    {u"Label1", u"Okuyucu Kayıt Formu", {176, 0, 218, 24}, true},
    {u"Label2", u"Adı Soyadı", {16, 44, 77, 16}},
    {u"Label3", u"Öğrenim Durumu", {16, 69, 115, 16}},
    {u"Label4", u"Okulu", {16, 94, 40, 16}},
    {u"Label5", u"Numarası", {16, 119, 67, 16}},
    {u"Label6", u"Ünvanı", {16, 144, 49, 16}},
    {u"Label7", u"Doğum Yeri", {16, 169, 82, 16}},
    {u"Label8", u"Doğum Tarihi", {16, 194, 94, 16}},
    {u"Label9", u"Telefonu", {16, 219, 62, 16}},
    {u"Label10", u"Cep Telefonu", {16, 245, 94, 16}},
    {u"Label11", u"Adresi", {16, 272, 46, 16}},
};

const formkit::CheckRow<W> checks[] = {
    {&W::DBEdit1, u"Adı Soyadı Girmediniz "},
    {&W::DBEdit2, u"Öğrenim Durumu Girmediniz "},
    {&W::DBEdit8, u"Telefon Numarasını Girmediniz "},
    {&W::DBEdit9, u"Cep Telefon Numarasını Girmediniz "},
    {&W::DBRichEdit1, u"Adres Girmediniz "},
};

const formkit::DateRow<W> dates[] = {
    {&W::DateTimePicker1, u"DOGUMTARIHI"},
};

} // namespace

Tokuyucu_kayit::Tokuyucu_kayit(QWidget* parent) : EntryWindow(parent) {
    setObjectName(QStringLiteral("okuyucu_kayit"));
    setWindowTitle(QStringLiteral("Okuyucu Kayıt Formu"));
    resize(533, 394); // outer 541 × 421
    setFont(platform::classicFont(13, true));
    platform::fillBackground(this, QColor(174, 174, 255));

    build<W>(this, this, anaform->okuyucud, controls, labels);
    finish<W>(this, &W::Button1Click, Place::ScreenCentre);
}

void Tokuyucu_kayit::Button1Click() {
    save<W>(this, *anaform->okuyucu, checks, dates);
}

void Tokuyucu_kayit::showRowDates() {
    showDates<W>(this, *anaform->okuyucu, dates);
}

void Tokuyucu_kayit::FormClose() {
    anaform->okuyucu->cancel();
}
