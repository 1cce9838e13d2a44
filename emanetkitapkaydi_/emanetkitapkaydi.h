#pragma once

#include "formkit/recordset.h"
#include "formkit/searchbar.h"

#include <QWidget>
#include <memory>
#include <span>

class QGroupBox;
class QMenu;
class TSearchCombo;
class TSearchEdit;

namespace data {
class TADOQuery;
class TDataSource;
class TDBGrid;
class TField;
} // namespace data

// The columns the loans window's search bar offers, in the order of its list.
std::span<const SearchColumn> loanSearchColumns();

// The loans window: the loans grid, the loan bar under it and the context menu that adds,
// changes and deletes a loan. It owns the loans record set `emanet` and its data source
// `emanetD`, which the loan entry window edits.
class Temanetkitapkaydi : public QWidget {
    Q_OBJECT
public:
    explicit Temanetkitapkaydi(QWidget* parent = nullptr);

    // The record set and data source by the program's names (owned below).
    data::TADOQuery* emanet;
    data::TDataSource* emanetD;

    data::TField* emanetIDNO;
    data::TField* emanetO_ADI_SOYADI;
    data::TField* emanetTELEFONU;
    data::TField* emanetADIGIKITAP;
    data::TField* emanetTESLIMTARIHI;
    data::TField* emanetGERIGETIRMETARIHI;
    data::TField* emanetACIKLAMA;
    data::TField* emanetDURUM;

    data::TDBGrid* DBGrid1;
    QWidget* Panel1;
    QGroupBox* GroupBox2;
    TSearchCombo* okr;
    TSearchEdit* Edit1;
    QMenu* PopupMenu2;

    // Handlers. Each throws on failure; the connections run them through the guard.
    void MenuItem1Click(); // new loan
    void MenuItem2Click(); // change loan
    void MenuItem3Click(); // delete loan
    void Edit1Change();    // the loan bar's search

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    formkit::OwnedRecordSet loans_;
};

extern Temanetkitapkaydi* emanetkitapkaydi;
