#pragma once

#include <QWidget>
#include <memory>

namespace data {
class TADOQuery;
class TDataSource;
class TField;
} // namespace data

// The loans window. It owns the loans record set `emanet` and its data source `emanetD`.
class Temanetkitapkaydi : public QWidget {
    Q_OBJECT
public:
    explicit Temanetkitapkaydi(QWidget* parent = nullptr);
    ~Temanetkitapkaydi() override;

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

private:
    std::unique_ptr<data::TADOQuery> emanet_;
    std::unique_ptr<data::TDataSource> emanetD_;
};

extern Temanetkitapkaydi* emanetkitapkaydi;
