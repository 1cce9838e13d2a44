#include "emanetkitapkaydi_/emanetkitapkaydi.h"

#include "data/adoquery.h"
#include "data/datasource.h"
#include "platform/widgetstyle.h"

Temanetkitapkaydi* emanetkitapkaydi = nullptr;

Temanetkitapkaydi::Temanetkitapkaydi(QWidget* parent)
    : QWidget(parent, Qt::Window),
      emanet_(std::make_unique<data::TADOQuery>(QStringLiteral("emanet"), data::hareketTable(),
                                                QStringLiteral("select * from  hareket"))),
      emanetD_(std::make_unique<data::TDataSource>(QStringLiteral("emanetD"), emanet_.get())) {
    setObjectName(QStringLiteral("emanetkitapkaydi"));
    setWindowTitle(QStringLiteral("Emanet Verilen Kitap Kaydı"));
    setGeometry(296 + 4, 131 + 23, 688, 453); // restored outer bounds 296, 131, 696 × 480
    setWindowState(Qt::WindowMaximized);
    setFont(platform::classicFont(11));

    emanet = emanet_.get();
    emanetD = emanetD_.get();
    emanetIDNO = &emanet->fieldByName(u"IDNO");
    emanetO_ADI_SOYADI = &emanet->fieldByName(u"O_ADI_SOYADI");
    emanetTELEFONU = &emanet->fieldByName(u"TELEFONU");
    emanetADIGIKITAP = &emanet->fieldByName(u"ADIGIKITAP");
    emanetTESLIMTARIHI = &emanet->fieldByName(u"TESLIMTARIHI");
    emanetGERIGETIRMETARIHI = &emanet->fieldByName(u"GERIGETIRMETARIHI");
    emanetACIKLAMA = &emanet->fieldByName(u"ACIKLAMA");
    emanetDURUM = &emanet->fieldByName(u"DURUM");
}

// The data source goes before its record set.
Temanetkitapkaydi::~Temanetkitapkaydi() {
    emanetD_.reset();
}
