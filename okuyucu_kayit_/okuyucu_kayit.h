#pragma once

#include "formkit/entrywindow.h"

class QPushButton;

namespace data {
class TDBEdit;
class TDBRichEdit;
class TDateTimePicker;
} // namespace data

// The reader entry window. Its bound controls edit the current row of the main window's reader
// record set through `okuyucud`; the picker carries the date of birth.
class Tokuyucu_kayit : public formkit::EntryWindow {
    Q_OBJECT
public:
    explicit Tokuyucu_kayit(QWidget* parent = nullptr);

    data::TDBEdit* DBEdit1;                 // ADISOYADI
    data::TDBEdit* DBEdit2;                 // OGRENIMDURUMU
    data::TDBEdit* DBEdit3;                 // OKULU
    data::TDBEdit* DBEdit4;                 // NUMARASI
    data::TDBEdit* DBEdit6;                 // UNVANI
    data::TDBEdit* DBEdit5;                 // DOGUMYERI
    data::TDateTimePicker* DateTimePicker1; // "Doğum Tarihi"
    data::TDBEdit* DBEdit8;                 // TELEFONU
    data::TDBEdit* DBEdit9;                 // CEPTELEFONU
    data::TDBRichEdit* DBRichEdit1;         // ADRESI
    QPushButton* Button1;                   // "Kaydet"

    // Checks the five required entries, writes the date of birth, posts and closes.
    void Button1Click();
    // Shows the current row's dates in the pickers (before an edit of the row).
    void showRowDates();
    // Closing the window drops whatever the reader record set still holds unsaved.
    void FormClose() override;
};

extern Tokuyucu_kayit* okuyucu_kayit;
