#include "emanetkitap_/emanetkitap.h"

#include "anaform_/anaform.h"
#include "data/adoquery.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/layout.h"
#include "platform/connect.h"
#include "platform/widgetstyle.h"

#include <QGroupBox>
#include <QVBoxLayout>

Temanetkitap* emanetkitap = nullptr;

namespace {

using W = Temanetkitap;

const formkit::ControlRow<W> controls[] = {
    {&W::DBLookupComboBox1,
     u"DBLookupComboBox1",
     u"O_ADI_SOYADI",
     {138, 32, 290, 21},
     false,
     u"Label1"},
    {&W::DBLookupComboBox2,
     u"DBLookupComboBox2",
     u"ADIGIKITAP",
     {138, 64, 290, 21},
     false,
     u"Label2"},
    {&W::DateTimePicker2, u"DateTimePicker2", nullptr, {138, 88, 144, 24}, false, u"Label3"},
    {&W::DateTimePicker1, u"DateTimePicker1", nullptr, {138, 116, 144, 24}, false, u"Label4"},
    {&W::DBComboBox1, u"DBComboBox1", u"DURUM", {137, 144, 145, 21}, false, u"Label5"},
    {&W::DBRichEdit1, u"DBRichEdit1", u"ACIKLAMA", {8, 192, 417, 89}, false, u"Label6"},
    {&W::Button1, u"Button1", nullptr, {104, 306, 217, 41}, false, nullptr},
};

const formkit::LabelRow labels[] = {
    {u"Label1", u"Okuyucu Adı Soyadı", {8, 32, 115, 13}},
    {u"Label2", u"Aldığı Kitap", {8, 64, 65, 13}},
    {u"Label3", u"Teslim Tarihi", {8, 91, 73, 13}},
    {u"Label4", u"Geri Getireceği Tarihi", {8, 119, 122, 13}},
    {u"Label5", u"Durumu", {8, 145, 44, 13}},
    {u"Label6", u"Açıkalama", {9, 174, 59, 13}},
};

const formkit::DateRow<W> dates[] = {
    {&W::DateTimePicker2, u"TESLIMTARIHI"},
    {&W::DateTimePicker1, u"GERIGETIRMETARIHI"},
};

} // namespace

Temanetkitap::Temanetkitap(QWidget* parent) : EntryWindow(parent) {
    setObjectName(QStringLiteral("emanetkitap"));
    setWindowTitle(QStringLiteral("Emanet Verilen Kitap Kaydı"));
    setGeometry(261 + 4, 139 + 23, 458, 386); // outer bounds 261, 139, 466 × 413
    setFont(platform::classicFont(11));

    // Everything lies in one group box that fills the window.
    GroupBox1 = formkit::groupBox(u"GroupBox1", QStringLiteral("Emanet Verilen Kitap Kaydı"), this);
    platform::fillBackground(GroupBox1, QColor(255, 255, 128));
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(GroupBox1);

    build<W>(this, GroupBox1, nullptr, controls, labels);
    DBLookupComboBox1->setListSource(anaform->okuyucud);
    DBLookupComboBox1->setKeyField(QStringLiteral("ADISOYADI"));
    DBLookupComboBox1->setListField(QStringLiteral("ADISOYADI"));
    DBLookupComboBox2->setListSource(anaform->kitapD);
    DBLookupComboBox2->setKeyField(QStringLiteral("KITABINADI"));
    DBLookupComboBox2->setListField(QStringLiteral("KITABINADI"));
    // The status entries, stored as written ("Veridi" without the l).
    DBComboBox1->addItems({QStringLiteral("Veridi"), QStringLiteral("Geri Alindi")});
    DBComboBox1->setCurrentIndex(-1);
    finish<W>(this, &W::Button1Click, Place::AsDrawn);
}

void Temanetkitap::bindLoans(data::TDataSource* emanetD) {
    setDataSource(emanetD);
}

void Temanetkitap::Button1Click() {
    save<W>(this, *emanetkitapkaydi->emanet, {}, dates);
}

void Temanetkitap::showRowDates() {
    showDates<W>(this, *emanetkitapkaydi->emanet, dates);
}

void Temanetkitap::FormClose() {
    emanetkitapkaydi->emanet->cancel();
}
