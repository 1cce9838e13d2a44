#include "emanetkitapkaydi_/emanetkitapkaydi.h"

#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/widgets/dbgrid.h"
#include "emanetkitap_/emanetkitap.h"
#include "formkit/layout.h"
#include "formkit/searchbar.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/widgetstyle.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QVBoxLayout>

Temanetkitapkaydi* emanetkitapkaydi = nullptr;

namespace {

using W = Temanetkitapkaydi;

// The loans grid's columns, left to right (-1: the default width rule).
const std::vector<data::TDBGrid::Column>& loanGridColumns() {
    static const std::vector<data::TDBGrid::Column> columns{
        {QStringLiteral("IDNO"), QStringLiteral("Kayıt No")},
        {QStringLiteral("O_ADI_SOYADI"), QStringLiteral("Adı Soyadı"), 200},
        {QStringLiteral("ADIGIKITAP"), QStringLiteral("Aldığı  Kitap"), 200},
        {QStringLiteral("DURUM"), QStringLiteral("Durumu"), 100},
        {QStringLiteral("TESLIMTARIHI"), QStringLiteral("Teslim Tarihi"), 100},
        {QStringLiteral("GERIGETIRMETARIHI"), QStringLiteral("Geri G.Tarihi"), 100},
        {QStringLiteral("ACIKLAMA"), QStringLiteral("Açıklama"), 300},
    };
    return columns;
}

constexpr SearchColumn loanColumns[] = {
    {u"Adı Soyadı", u"hareket", u"O_ADI_SOYADI"},
    {u"Kitap Adı", u"hareket", u"ADIGIKITAP"},
    {u"Açıkalama", u"hareket", u"ACIKLAMA"},
};

// The edit box keeps this margin to the group box's right edge at any width.
constexpr int editRightMargin = 686 - (120 + 551);

const formkit::FieldRow<W> loanFields[] = {
    {&W::emanetIDNO, u"IDNO"},
    {&W::emanetO_ADI_SOYADI, u"O_ADI_SOYADI"},
    {&W::emanetTELEFONU, u"TELEFONU"},
    {&W::emanetADIGIKITAP, u"ADIGIKITAP"},
    {&W::emanetTESLIMTARIHI, u"TESLIMTARIHI"},
    {&W::emanetGERIGETIRMETARIHI, u"GERIGETIRMETARIHI"},
    {&W::emanetACIKLAMA, u"ACIKLAMA"},
    {&W::emanetDURUM, u"DURUM"},
};

} // namespace

std::span<const SearchColumn> loanSearchColumns() {
    return loanColumns;
}

Temanetkitapkaydi::Temanetkitapkaydi(QWidget* parent)
    : QWidget(parent, Qt::Window),
      loans_(QStringLiteral("emanet"), data::hareketTable(),
             QStringLiteral("select * from  hareket"), QStringLiteral("emanetD")) {
    setObjectName(QStringLiteral("emanetkitapkaydi"));
    setWindowTitle(QStringLiteral("Emanet Verilen Kitap Kaydı"));
    setGeometry(296 + 4, 131 + 23, 688, 453); // restored outer bounds 296, 131, 696 × 480
    setWindowState(Qt::WindowMaximized);
    setFont(platform::classicFont(11));

    emanet = &loans_.query;
    emanetD = &loans_.source;
    loans_.bindFields<W>(this, loanFields);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    DBGrid1 = new data::TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const QFont bold = platform::classicFont(11, true);
    DBGrid1->setFont(bold);
    DBGrid1->setTitleFont(bold);
    QPalette gridPalette = DBGrid1->palette();
    gridPalette.setColor(QPalette::Base, QColor(255, 219, 183));
    DBGrid1->setPalette(gridPalette);
    DBGrid1->setDataSource(emanetD);
    DBGrid1->setColumns(loanGridColumns());
    column->addWidget(DBGrid1, 1);

    // The search area: the loan bar fills it, less a pixel all round.
    Panel1 = formkit::panel(u"Panel1", this);
    Panel1->setFixedHeight(41);
    Panel1->setFocusPolicy(Qt::NoFocus);
    auto* area = new QVBoxLayout(Panel1);
    area->setContentsMargins(1, 1, 1, 1);
    GroupBox2 = formkit::groupBox(u"GroupBox2", QStringLiteral("Okuyucu Arama Seçeği"), Panel1);
    platform::fillBackground(GroupBox2, QColor(255, 255, 0));
    area->addWidget(GroupBox2);
    column->addWidget(Panel1);
    std::tie(okr, Edit1) =
        buildSearchBar(GroupBox2, u"okr", u"Edit1", loanSearchColumns(), QRect(8, 16, 113, 21),
                       QRect(120, 16, 551, 21), this, &W::Edit1Change);
    // The combo box and the edit box keep the normal window colour inside the yellow group.
    for (QWidget* w : std::initializer_list<QWidget*>{okr, Edit1})
        w->setAutoFillBackground(false);
    GroupBox2->installEventFilter(this);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    const formkit::MenuItemRow<W> items[] = {
        {PopupMenu2, u"MenuItem1", u"Emanet Kitap Kaydı Ekle", &W::MenuItem1Click},
        {PopupMenu2, u"MenuItem2", u"Emanet Kitap Kaydı Düzelt", &W::MenuItem2Click},
        {PopupMenu2, u"MenuItem3", u"Emanet Kitap Kaydı Sil", &W::MenuItem3Click},
    };
    formkit::addMenuItems<W>(this, items);
    DBGrid1->setPopupMenu(PopupMenu2);

    setTabOrder(DBGrid1, okr);
    setTabOrder(okr, Edit1);
    DBGrid1->setFocus();
}

bool Temanetkitapkaydi::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GroupBox2) {
        if (event->type() == QEvent::Resize) {
            Edit1->resize(std::max(0, GroupBox2->width() - Edit1->x() - editRightMargin),
                          Edit1->height());
        } else if (event->type() == QEvent::ContextMenu) {
            PopupMenu2->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Temanetkitapkaydi::MenuItem1Click() {
    formkit::showWindow(emanetkitap);
    emanet->append();
    emanetDURUM->setText(QStringLiteral("Verildi"));
}

void Temanetkitapkaydi::MenuItem2Click() {
    formkit::showWindow(emanetkitap);
    emanet->edit();
    emanetkitap->showRowDates();
}

void Temanetkitapkaydi::MenuItem3Click() {
    if (!platform::askDelete(QStringLiteral("Emanet Kaydını Silmek İstiyormusunuz  ? ")))
        platform::abortSilently();
    emanet->deleteRecord();
}

void Temanetkitapkaydi::Edit1Change() {
    runSearch(loanSearchColumns(), okr->currentIndex(), Edit1->text(), *emanet);
}
