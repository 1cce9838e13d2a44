#pragma once

#include "formkit/entrywindow.h"

class QGroupBox;
class QPushButton;

namespace data {
class TDataSource;
class TDBComboBox;
class TDBLookupComboBox;
class TDBRichEdit;
class TDateTimePicker;
} // namespace data

// The loan entry window. Its controls edit the current row of the loans window's record set
// through `emanetD`; the reader and book lists offer the main window's readers and books
// themselves. It checks nothing before saving.
class Temanetkitap : public formkit::EntryWindow {
    Q_OBJECT
public:
    explicit Temanetkitap(QWidget* parent = nullptr);

    // The loans window is created after this one: it hands over its data source here.
    void bindLoans(data::TDataSource* emanetD);

    QGroupBox* GroupBox1;
    data::TDBLookupComboBox* DBLookupComboBox1; // the reader, O_ADI_SOYADI
    data::TDBLookupComboBox* DBLookupComboBox2; // the book, ADIGIKITAP
    data::TDateTimePicker* DateTimePicker2;     // "Teslim Tarihi", TESLIMTARIHI
    data::TDateTimePicker* DateTimePicker1;     // "Geri Getireceği Tarihi", GERIGETIRMETARIHI
    data::TDBComboBox* DBComboBox1;             // the status, DURUM
    data::TDBRichEdit* DBRichEdit1;             // the remark, ACIKLAMA
    QPushButton* Button1;                       // "Kaydet"

    // Writes the two dates, posts and closes.
    void Button1Click();
    // Shows the current row's dates in the pickers (before an edit of the row).
    void showRowDates();
    // Closing the window drops whatever the loan record set still holds unsaved.
    void FormClose() override;
};

extern Temanetkitap* emanetkitap;
