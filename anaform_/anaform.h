#pragma once

#include "anaform_/gridcolumns.h"
#include "formkit/recordset.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QWindow;
class TSearchCombo;
class TSearchEdit;
class TSplitter;

namespace data {
class TADOQuery;
class TDataSource;
class TDBGrid;
class TField;
} // namespace data

// The main window: readers on the left, books on the right, a search bar under each list.
// It owns the reader and book record sets and their data sources, which the entry windows and
// the loan entry window's lookup lists share.
class Tanaform : public QMainWindow {
    Q_OBJECT
public:
    explicit Tanaform(QWidget* parent = nullptr);

    // The running executable's full path; the show handler finds DATA.mdb beside it.
    void setExecutablePath(const QString& path) { executablePath_ = path; }
    // Shows the window minimised, in its normal size when restored; the show handler (and so
    // the opening of the record sets) waits for that first restore.
    void startMinimised();

    // The record sets and data sources by the program's names (owned below).
    data::TADOQuery* okuyucu;
    data::TADOQuery* kitap;
    data::TDataSource* okuyucud;
    data::TDataSource* kitapD;

    data::TField* okuyucuIDNO;
    data::TField* okuyucuADISOYADI;
    data::TField* okuyucuOGRENIMDURUMU;
    data::TField* okuyucuOKULU;
    data::TField* okuyucuNUMARASI;
    data::TField* okuyucuUNVANI;
    data::TField* okuyucuDOGUMYERI;
    data::TField* okuyucuDOGUMTARIHI;
    data::TField* okuyucuTELEFONU;
    data::TField* okuyucuCEPTELEFONU;
    data::TField* okuyucuADRESI;
    data::TField* kitapIDNO;
    data::TField* kitapSERINO;
    data::TField* kitapKITABINADI;
    data::TField* kitapYAZARI;
    data::TField* kitapTURU;
    data::TField* kitapYAYINEVI;
    data::TField* kitapBARKODU;
    data::TField* kitapEDINME;
    data::TField* kitapDEGERI;
    data::TField* kitapEDINMETARIHI;
    data::TField* kitapBASKITARIHI;
    data::TField* kitapBASIMYERI;
    data::TField* kitapBASIMYILI;
    data::TField* kitapBASKINO;
    data::TField* kitapACIKLAMA;

    QWidget* Panel1;
    QWidget* Panel2;
    QGroupBox* GroupBox3;
    data::TDBGrid* DBGrid1;
    TSplitter* Splitter1;
    QWidget* Panel3;
    QGroupBox* GroupBox4;
    data::TDBGrid* DBGrid2;
    QWidget* Panel4;
    QGroupBox* GroupBox2;
    TSearchCombo* okr;
    TSearchEdit* Edit1;
    QGroupBox* GroupBox1;
    TSearchCombo* kkr;
    TSearchEdit* Edit2;
    QMenu* PopupMenu1; // book grid
    QMenu* PopupMenu2; // reader grid

    // Handlers. Each throws on failure; the connections run them through platform::guard.
    void FormShow();
    void FormActivate();
    void YeniKitapKayd1Click();
    void YeniOkuyucuKayd1Click();
    void EmanetVerilenKitapKayd1Click();
    void YeniKitapKayd2Click();
    void KitapKaydDzelt1Click();
    void KitapKaydSil1Click();
    void MenuItem1Click();
    void MenuItem2Click();
    void MenuItem3Click();
    void Edit1Change();
    void Edit2Change();
    void Edit1Click();
    void Edit2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void focusWindowChanged(QWindow* window);
    bool isOtherProgramWindow(QWindow* window) const;

    formkit::OwnedRecordSet readers_;
    formkit::OwnedRecordSet books_;

    QString executablePath_;
    bool shown_ = false;
    bool waitingForRestore_ = false;
    bool activatedOnce_ = false;
    QPointer<QWindow> lastFocusWindow_;
};

extern Tanaform* anaform;
