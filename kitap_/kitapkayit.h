#pragma once

#include "formkit/entrywindow.h"

class QFrame;
class QPushButton;

namespace data {
class TDBComboBox;
class TDBEdit;
class TDBRichEdit;
class TDateTimePicker;
} // namespace data

// The book entry window. Its bound controls edit the current row of the main window's book
// record set through `kitapD`; the two pickers carry the acquisition and print dates.
class Tkitapkayit : public formkit::EntryWindow {
    Q_OBJECT
public:
    explicit Tkitapkayit(QWidget* parent = nullptr);

    QFrame* ClientArea;                     // the sunken inner area the controls lie on
    data::TDBEdit* DBEdit1;                 // SERINO
    data::TDBEdit* DBEdit2;                 // KITABINADI
    data::TDBEdit* DBEdit3;                 // YAZARI
    data::TDBComboBox* DBComboBox1;         // TURU
    data::TDBEdit* DBEdit4;                 // YAYINEVI
    data::TDBEdit* DBEdit9;                 // BARKODU
    data::TDBComboBox* DBComboBox2;         // EDINME
    data::TDBEdit* DBEdit5;                 // DEGERI
    data::TDateTimePicker* DateTimePicker1; // "Edinme Tarihi"
    data::TDateTimePicker* DateTimePicker2; // "Baskı Tarihi"
    data::TDBEdit* DBEdit6;                 // BASIMYERI
    data::TDBEdit* DBEdit7;                 // BASIMYILI
    data::TDBEdit* DBEdit8;                 // BASKINO
    data::TDBRichEdit* DBRichEdit1;         // ACIKLAMA
    QPushButton* Button1;                   // "Kaydet"

    // Checks the eight required entries, writes the two dates, posts and closes.
    void Button1Click();
    // Shows the current row's dates in the pickers (before an edit of the row).
    void showRowDates();
    // Closing the window drops whatever the book record set still holds unsaved.
    void FormClose() override;
};

extern Tkitapkayit* kitapkayit;
