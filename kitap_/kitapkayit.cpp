#include "kitap_/kitapkayit.h"

#include "anaform_/anaform.h"
#include "data/adoquery.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dbrichedit.h"
#include "platform/connect.h"
#include "platform/widgetstyle.h"

#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

Tkitapkayit* kitapkayit = nullptr;

namespace {

using W = Tkitapkayit;

const formkit::ControlRow<W> controls[] = {
    {&W::DBEdit1, u"DBEdit1", u"SERINO", {93, 44, 121, 24}, true, u"Label2"},
    {&W::DBEdit2, u"DBEdit2", u"KITABINADI", {93, 69, 300, 24}, true, u"Label3"},
    {&W::DBEdit3, u"DBEdit3", u"YAZARI", {93, 95, 300, 24}, true, u"Label4"},
    {&W::DBComboBox1, u"DBComboBox1", u"TURU", {93, 121, 145, 24}, true, u"Label6"},
    {&W::DBEdit4, u"DBEdit4", u"YAYINEVI", {93, 147, 300, 24}, true, u"Label5"},
    {&W::DBEdit9, u"DBEdit9", u"BARKODU", {93, 171, 121, 24}, true, u"Label14"},
    {&W::DBComboBox2, u"DBComboBox2", u"EDINME", {508, 39, 145, 24}, false, u"Label7"},
    {&W::DBEdit5, u"DBEdit5", u"DEGERI", {508, 65, 121, 24}, true, u"Label8"},
    {&W::DateTimePicker1, u"DateTimePicker1", nullptr, {508, 92, 121, 24}, false, u"Label9"},
    {&W::DateTimePicker2, u"DateTimePicker2", nullptr, {508, 119, 121, 24}, false, u"Label15"},
    {&W::DBEdit6, u"DBEdit6", u"BASIMYERI", {508, 146, 145, 24}, true, u"Label10"},
    {&W::DBEdit7, u"DBEdit7", u"BASIMYILI", {508, 173, 145, 24}, true, u"Label11"},
    {&W::DBEdit8, u"DBEdit8", u"BASKINO", {508, 200, 145, 24}, true, u"Label12"},
    {&W::DBRichEdit1, u"DBRichEdit1", u"ACIKLAMA", {16, 240, 633, 113}, false, u"Label13"},
    {&W::Button1, u"Button1", nullptr, {208, 357, 217, 41}, false, nullptr},
};

const formkit::LabelRow labels[] = {
    {u"Label1", u"Kitap Kayıt Formu", {216, 0, 180, 24}, true},
    {u"Label2", u"Kitap No", {16, 44, 60, 16}},
    {u"Label3", u"Kitap Adı", {16, 69, 63, 16}},
    {u"Label4", u"Yazarı", {16, 95, 45, 16}},
    {u"Label6", u"Kitab Türü", {16, 123, 71, 16}},
    {u"Label5", u"Yayın Evi", {16, 149, 66, 16}},
    {u"Label14", u"Barkodu", {16, 173, 59, 16}},
    {u"Label13", u"İçerik (Konusu)", {16, 218, 103, 16}},
    {u"Label7", u"Edinme", {404, 40, 53, 16}},
    {u"Label8", u"Değeri", {404, 67, 48, 16}},
    {u"Label9", u"Edinme Tarihi", {404, 94, 97, 16}},
    {u"Label15", u"Baskı Tarihi", {404, 121, 84, 16}},
    {u"Label10", u"Basım  Yeri", {404, 148, 80, 16}},
    {u"Label11", u"Basım  Yılı", {404, 175, 74, 16}},
    {u"Label12", u"Baskı No", {404, 203, 64, 16}},
};

const formkit::CheckRow<W> checks[] = {
    {&W::DBEdit1, u"Kitap No Alanı Boş"},
    {&W::DBEdit2, u"Kitap Adı Alanı Boş"},
    {&W::DBEdit3, u"Yazarın Adı Giriniz "},
    {&W::DBComboBox1, u"Kitabın Türünü Girmediniz "},
    {&W::DBEdit4, u"Yayın Evi Adınız Girmediniz "},
    {&W::DBEdit6, u"Basımı Yerini Girmediniz "},
    {&W::DBEdit7, u"Basımı Yılını Girmediniz "},
    {&W::DBEdit8, u"Baskı No Girmediniz "},
};

const formkit::DateRow<W> dates[] = {
    {&W::DateTimePicker1, u"EDINMETARIHI"},
    {&W::DateTimePicker2, u"BASKITARIHI"},
};

// The kinds of book, held as written (the box shows them in capitals).
const char16_t* const kinds[] = {u"ANSIKLOPEDI", u"ARAŞTıRMA YAYıNLARı", u"CD",
                                 u"DERGI",       u"DERS KITABı",         u"GAZETE",
                                 u"ROMAN",       u"HIKAYE & MASA"};
const char16_t* const acquisitions[] = {u"Bağış", u"Satınalma"};

// Adding items makes the first current; the field goes back to what the row holds.
void addItems(data::TDBComboBox* box, std::span<const char16_t* const> items) {
    const QString shown = box->currentText();
    for (const char16_t* item : items)
        box->addItem(QString::fromUtf16(item));
    box->setCurrentIndex(-1);
    box->setEditText(shown);
}

} // namespace

Tkitapkayit::Tkitapkayit(QWidget* parent) : EntryWindow(parent) {
    setObjectName(QStringLiteral("kitapkayit"));
    setWindowTitle(QStringLiteral("Kitap Kayıt Formu"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(672, 417); // outer 680 × 444
    setFont(platform::classicFont(13, true));

    // The controls lie on a sunken inner area that fills the window in its colour; they keep
    // their places when the window is resized.
    ClientArea = new QFrame(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ClientArea->setLineWidth(2);
    platform::fillBackground(ClientArea, QColor(128, 255, 255));
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(ClientArea);

    build<W>(this, ClientArea, anaform->kitapD, controls, labels);
    addItems(DBComboBox1, kinds);
    addItems(DBComboBox2, acquisitions);
    finish<W>(this, &W::Button1Click, Place::ScreenCentre);
}

void Tkitapkayit::Button1Click() {
    save<W>(this, *anaform->kitap, checks, dates);
}

void Tkitapkayit::showRowDates() {
    showDates<W>(this, *anaform->kitap, dates);
}

void Tkitapkayit::FormClose() {
    anaform->kitap->cancel();
}
