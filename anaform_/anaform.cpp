#include "anaform_/anaform.h"

#include "anaform_/gridcolumns.h"
#include "anaform_/splitter.h"
#include "anaform_/windowicon.h"
#include "data/adoquery.h"
#include "data/connectionstring.h"
#include "data/datasource.h"
#include "data/widgets/dbgrid.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/layout.h"
#include "formkit/searchbar.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "platform/connect.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/widgetstyle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindow>

Tanaform* anaform = nullptr;

namespace {

const QString gridHint = QStringLiteral("İşlem Yapmak İçin Mousenin Sağ Tuşuna Basınız");

// The contact line of the banner: placeholders, nothing real.
const QString contactLine = QStringLiteral("www.kutuphane.example") + QString(7, u' ') +
                            QStringLiteral("mail:bilgi@kutuphane.example") + QString(7, u' ') +
                            QStringLiteral("Tel: 0 (555) 010 20 30");

using A = Tanaform;

const formkit::FieldRow<A> readerFields[] = {
    {&A::okuyucuIDNO, u"IDNO"},
    {&A::okuyucuADISOYADI, u"ADISOYADI"},
    {&A::okuyucuOGRENIMDURUMU, u"OGRENIMDURUMU"},
    {&A::okuyucuOKULU, u"OKULU"},
    {&A::okuyucuNUMARASI, u"NUMARASI"},
    {&A::okuyucuUNVANI, u"UNVANI"},
    {&A::okuyucuDOGUMYERI, u"DOGUMYERI"},
    {&A::okuyucuDOGUMTARIHI, u"DOGUMTARIHI"},
    {&A::okuyucuTELEFONU, u"TELEFONU"},
    {&A::okuyucuCEPTELEFONU, u"CEPTELEFONU"},
    {&A::okuyucuADRESI, u"ADRESI"},
};

const formkit::FieldRow<A> bookFields[] = {
    {&A::kitapIDNO, u"IDNO"},
    {&A::kitapSERINO, u"SERINO"},
    {&A::kitapKITABINADI, u"KITABINADI"},
    {&A::kitapYAZARI, u"YAZARI"},
    {&A::kitapTURU, u"TURU"},
    {&A::kitapYAYINEVI, u"YAYINEVI"},
    {&A::kitapBARKODU, u"BARKODU"},
    {&A::kitapEDINME, u"EDINME"},
    {&A::kitapDEGERI, u"DEGERI"},
    {&A::kitapEDINMETARIHI, u"EDINMETARIHI"},
    {&A::kitapBASKITARIHI, u"BASKITARIHI"},
    {&A::kitapBASIMYERI, u"BASIMYERI"},
    {&A::kitapBASIMYILI, u"BASIMYILI"},
    {&A::kitapBASKINO, u"BASKINO"},
    {&A::kitapACIKLAMA, u"ACIKLAMA"},
};

} // namespace

Tanaform::Tanaform(QWidget* parent)
    : QMainWindow(parent),
      readers_(QStringLiteral("okuyucu"), data::okuyucuTable(),
               QStringLiteral("select * from  okuyucu"), QStringLiteral("okuyucud")),
      books_(QStringLiteral("kitap"), data::kitapkayitTable(),
             QStringLiteral("select * from  kitapkayit"), QStringLiteral("kitapD")) {
    setObjectName(QStringLiteral("anaform"));
    setWindowTitle(QStringLiteral("Ternavolk  Kütüphane Takip "));
    setWindowIcon(programIcon());
    setFont(platform::classicFont(11));

    okuyucu = &readers_.query;
    kitap = &books_.query;
    okuyucud = &readers_.source;
    kitapD = &books_.source;
    readers_.bindFields<A>(this, readerFields);
    books_.bindFields<A>(this, bookFields);

    buildLayout();
    buildMenus();

    // Restored size 696 × 480 with the frame: the client area below the menu is 688 × 434.
    resize(688, 434 + menuBar()->sizeHint().height());
    platform::centreOnScreen(this);

    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* w) { focusWindowChanged(w); });
}

void Tanaform::buildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* banner = new QLabel(contactLine, central);
    banner->setObjectName(QStringLiteral("Panel1"));
    banner->setFixedHeight(25);
    banner->setFont(platform::classicFont(13, true));
    banner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    banner->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette bannerPalette = banner->palette();
    bannerPalette.setColor(QPalette::WindowText, Qt::black);
    banner->setPalette(bannerPalette);
    platform::fillBackground(banner, QColor(248, 248, 248));
    Panel1 = banner;
    column->addWidget(Panel1);

    // The lists: the splitter places them, the reader side at the width it gave it, the book
    // side in the rest.
    auto* middle = new QWidget(central);
    const QFont boldGridFont = platform::classicFont(11, true);
    auto makeSide = [&](const char16_t* panelName, const char16_t* groupName,
                        const QString& caption, const char16_t* gridName, const QColor& colour,
                        QGroupBox*& group) {
        QWidget* side = formkit::panel(panelName, middle);
        auto* sideLayout = new QVBoxLayout(side);
        sideLayout->setContentsMargins(1, 1, 1, 1);
        group = formkit::groupBox(groupName, caption, side);
        sideLayout->addWidget(group);
        auto* groupLayout = new QVBoxLayout(group);
        groupLayout->setContentsMargins(2, 2, 2, 2);
        auto* grid = new data::TDBGrid(group);
        grid->setObjectName(QString::fromUtf16(gridName));
        grid->setFont(boldGridFont);
        grid->setTitleFont(boldGridFont);
        QPalette p = grid->palette();
        p.setColor(QPalette::Base, colour);
        grid->setPalette(p);
        grid->setToolTip(gridHint);
        groupLayout->addWidget(grid);
        return std::pair{side, grid};
    };
    std::tie(Panel2, DBGrid1) =
        makeSide(u"Panel2", u"GroupBox3", QStringLiteral("Okuyucu İşlemleri"), u"DBGrid1",
                 QColor(255, 219, 183), GroupBox3);
    std::tie(Panel3, DBGrid2) = makeSide(u"Panel3", u"GroupBox4", QStringLiteral("Kitap İşlemleri"),
                                         u"DBGrid2", QColor(128, 255, 255), GroupBox4);
    Splitter1 = new TSplitter(Panel2, Panel3, middle);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setLeftWidth(369);
    column->addWidget(middle, 1);

    DBGrid1->setDataSource(okuyucud);
    DBGrid1->setColumns(readerGridColumns());
    DBGrid2->setDataSource(kitapD);
    DBGrid2->setColumns(bookGridColumns());

    // The search area: the reader bar at a fixed width on the left, the book bar in the rest.
    Panel4 = formkit::panel(u"Panel4", central);
    Panel4->setFixedHeight(51);
    auto* bars = new QHBoxLayout(Panel4);
    bars->setContentsMargins(1, 1, 1, 1);
    bars->setSpacing(0);
    GroupBox2 = formkit::groupBox(u"GroupBox2", QStringLiteral("Okuyucu Arama Seçeği"), Panel4);
    GroupBox2->setFixedWidth(352);
    platform::fillBackground(GroupBox2, QColor(255, 255, 0));
    GroupBox1 = formkit::groupBox(u"GroupBox1", QStringLiteral("Kitap Arama Seçeneği"), Panel4);
    platform::fillBackground(GroupBox1, QColor(0, 255, 0));
    bars->addWidget(GroupBox2);
    bars->addWidget(GroupBox1, 1);
    column->addWidget(Panel4);

    std::tie(okr, Edit1) =
        buildSearchBar(GroupBox2, u"okr", u"Edit1", readerSearchColumns(), QRect(8, 16, 113, 21),
                       QRect(120, 16, 217, 21), this, &Tanaform::Edit1Change);
    std::tie(kkr, Edit2) =
        buildSearchBar(GroupBox1, u"kkr", u"Edit2", bookSearchColumns(), QRect(8, 16, 145, 21),
                       QRect(160, 16, 425, 21), this, &Tanaform::Edit2Change);
    platform::connectGuarded(Edit1, &TSearchEdit::clicked, this, &Tanaform::Edit1Click);
    platform::connectGuarded(Edit2, &TSearchEdit::clicked, this, &Tanaform::Edit2Click);

    // Four status panels that never show text.
    for (const int width : {200, 150, 150, 100}) {
        auto* part = new QLabel(statusBar());
        part->setFixedWidth(width);
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(part);
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(23);

    // Tab runs through the grids, then the book bar before the reader bar.
    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3, Panel4})
        w->setFocusPolicy(Qt::NoFocus);
    setTabOrder(DBGrid1, DBGrid2);
    setTabOrder(DBGrid2, kkr);
    setTabOrder(kkr, Edit2);
    setTabOrder(Edit2, okr);
    setTabOrder(okr, Edit1);
    setTabOrder(Edit1, DBGrid1);
    DBGrid1->setFocus();
}

void Tanaform::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* records = bar->addMenu(QStringLiteral("Kayıt"));
    records->setObjectName(QStringLiteral("Kayt1"));
    QMenu* loans = bar->addMenu(QStringLiteral("Emanet Kitap İşlemleri"));
    loans->setObjectName(QStringLiteral("EmanetKitapKayd1"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));

    using W = Tanaform;
    const formkit::MenuItemRow<W> items[] = {
        {records, u"YeniKitapKayd1", u"Yeni Kitap Kaydı", &W::YeniKitapKayd1Click},
        {records, u"YeniOkuyucuKayd1", u"Yeni Okuyucu Kaydı", &W::YeniOkuyucuKayd1Click},
        {loans, u"EmanetVerilenKitapKayd1", u"Emanet Verilen Kitap Kaydı",
         &W::EmanetVerilenKitapKayd1Click},
        {PopupMenu1, u"YeniKitapKayd2", u"Yeni Kitap Ekle", &W::YeniKitapKayd2Click},
        {PopupMenu1, u"KitapKaydDzelt1", u"Kitap Kaydı Düzelt", &W::KitapKaydDzelt1Click},
        {PopupMenu1, u"KitapKaydSil1", u"Kitap Kaydı Sil", &W::KitapKaydSil1Click},
        {PopupMenu2, u"MenuItem1", u"Yeni Okuyucu Ekle", &W::MenuItem1Click},
        {PopupMenu2, u"MenuItem2", u"Okuyucu Kaydı Düzelt", &W::MenuItem2Click},
        {PopupMenu2, u"MenuItem3", u"Okuyucu Kaydı Sil", &W::MenuItem3Click},
    };
    formkit::addMenuItems<W>(this, items);
    DBGrid2->setPopupMenu(PopupMenu1);
    DBGrid1->setPopupMenu(PopupMenu2);
}

// ---- start-up handlers --------------------------------------------------------------------

void Tanaform::FormShow() {
    for (data::TADOQuery* dataSet : {okuyucu, kitap, emanetkitapkaydi->emanet}) {
        const QString directory = data::executableDirectory(executablePath_);
        dataSet->setConnectionString(data::connectionString(directory));
        dataSet->open();
        dataSet->setActive(true);
    }
}

void Tanaform::FormActivate() {
    okuyucu->setActive(true);
    kitap->setActive(true);
}

void Tanaform::startMinimised() {
    waitingForRestore_ = true;
    showMinimized();
}

void Tanaform::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && waitingForRestore_ && !isMinimized()) {
        waitingForRestore_ = false;
        if (!shown_) {
            shown_ = true;
            platform::guard([this] { FormShow(); });
        }
    }
}

void Tanaform::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_ || waitingForRestore_)
        return;
    shown_ = true;
    platform::guard([this] { FormShow(); });
}

void Tanaform::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once; nothing pending is saved. exit(), not
    // quit(): quit() would first close the other windows and so run their close handlers.
    event->accept();
    QCoreApplication::exit(0);
}

bool Tanaform::isOtherProgramWindow(QWindow* window) const {
    if (!window)
        return false;
    for (QWidget* form :
         std::initializer_list<QWidget*>{kitapkayit, okuyucu_kayit, emanetkitap, emanetkitapkaydi})
        if (form && form->windowHandle() == window)
            return true;
    return false;
}

// The activate handler runs once after the first show and then whenever the main window takes
// the focus back from another of the program's windows — not after a message box, and not on a
// return from another application.
void Tanaform::focusWindowChanged(QWindow* window) {
    if (!window)
        return;
    QWindow* previous = lastFocusWindow_;
    lastFocusWindow_ = window;
    if (!shown_ || window != windowHandle())
        return;
    if (activatedOnce_ && !isOtherProgramWindow(previous))
        return;
    activatedOnce_ = true;
    platform::guard([this] { FormActivate(); });
}

// ---- actions ------------------------------------------------------------------------------

void Tanaform::YeniKitapKayd1Click() {
    formkit::showWindow(kitapkayit);
    kitap->append();
}

void Tanaform::YeniKitapKayd2Click() {
    YeniKitapKayd1Click();
}

void Tanaform::KitapKaydDzelt1Click() {
    formkit::showWindow(kitapkayit);
    kitap->edit();
    kitapkayit->showRowDates();
}

void Tanaform::KitapKaydSil1Click() {
    if (!platform::askDelete(QStringLiteral("Kitap Kaydını Silmek İstiyormusunuz  ? ")))
        platform::abortSilently();
    kitap->deleteRecord();
}

void Tanaform::YeniOkuyucuKayd1Click() {
    formkit::showWindow(okuyucu_kayit);
    okuyucu->append();
}

void Tanaform::MenuItem1Click() {
    YeniOkuyucuKayd1Click();
}

void Tanaform::MenuItem2Click() {
    formkit::showWindow(okuyucu_kayit);
    okuyucu->edit();
    okuyucu_kayit->showRowDates();
}

void Tanaform::MenuItem3Click() {
    if (!platform::askDelete(QStringLiteral("Okuyucu Kaydını Silmek İstiyormusunuz  ? ")))
        platform::abortSilently();
    okuyucu->deleteRecord();
}

void Tanaform::EmanetVerilenKitapKayd1Click() {
    formkit::showWindow(emanetkitapkaydi);
}

// ---- search bars --------------------------------------------------------------------------

void Tanaform::Edit1Change() {
    runSearch(readerSearchColumns(), okr->currentIndex(), Edit1->text(), *okuyucu);
}

void Tanaform::Edit2Change() {
    runSearch(bookSearchColumns(), kkr->currentIndex(), Edit2->text(), *kitap);
}

// A left click clears the box; setting the same (empty) text again changes nothing.
void Tanaform::Edit1Click() {
    Edit1->setText(QString());
}
void Tanaform::Edit2Click() {
    Edit2->setText(QString());
}
