#include "data/tables.h"

#include <QStringList>
#include <array>

namespace data {

namespace {

constexpr ColumnDef okuyucuColumns[] = {
    {u"IDNO", Kind::AutoInc, 0},
    {u"ADISOYADI", Kind::WideString, 100},
    {u"OGRENIMDURUMU", Kind::WideString, 40},
    {u"OKULU", Kind::WideString, 100},
    {u"NUMARASI", Kind::WideString, 20},
    {u"UNVANI", Kind::WideString, 200},
    {u"DOGUMYERI", Kind::WideString, 40},
    {u"DOGUMTARIHI", Kind::DateTime, 0},
    {u"TELEFONU", Kind::WideString, 20},
    {u"CEPTELEFONU", Kind::WideString, 20},
    {u"ADRESI", Kind::WideString, 255},
};

constexpr ColumnDef kitapkayitColumns[] = {
    {u"IDNO", Kind::AutoInc, 0},
    {u"SERINO", Kind::WideString, 30},
    {u"KITABINADI", Kind::WideString, 100},
    {u"YAZARI", Kind::WideString, 100},
    {u"TURU", Kind::WideString, 50},
    {u"YAYINEVI", Kind::WideString, 100},
    {u"BARKODU", Kind::WideString, 20},
    {u"EDINME", Kind::WideString, 50},
    {u"DEGERI", Kind::Integer, 0},
    {u"EDINMETARIHI", Kind::DateTime, 0},
    {u"BASKITARIHI", Kind::DateTime, 0},
    {u"BASIMYERI", Kind::WideString, 100},
    {u"BASIMYILI", Kind::WideString, 10},
    {u"BASKINO", Kind::WideString, 10},
    {u"ACIKLAMA", Kind::WideString, 255},
};

constexpr ColumnDef hareketColumns[] = {
    {u"IDNO", Kind::AutoInc, 0},          {u"O_ADI_SOYADI", Kind::WideString, 255},
    {u"TELEFONU", Kind::WideString, 255}, {u"ADIGIKITAP", Kind::WideString, 255},
    {u"TESLIMTARIHI", Kind::DateTime, 0}, {u"GERIGETIRMETARIHI", Kind::DateTime, 0},
    {u"ACIKLAMA", Kind::WideString, 255}, {u"DURUM", Kind::WideString, 30},
};

const TableDef okuyucu{u"okuyucu", okuyucuColumns};
const TableDef kitapkayit{u"kitapkayit", kitapkayitColumns};
const TableDef hareket{u"hareket", hareketColumns};
const std::array<const TableDef*, 3> tables{&okuyucu, &kitapkayit, &hareket};

} // namespace

QString kindName(Kind kind) {
    switch (kind) {
    case Kind::AutoInc:
        return QStringLiteral("AutoInc");
    case Kind::WideString:
        return QStringLiteral("WideString");
    case Kind::Integer:
        return QStringLiteral("Integer");
    case Kind::DateTime:
        return QStringLiteral("DateTime");
    }
    return QString();
}

const ColumnDef* TableDef::column(QStringView columnName) const {
    for (const ColumnDef& c : columns)
        if (columnName.compare(QStringView(c.name), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString declaredType(const ColumnDef& column) {
    switch (column.kind) {
    case Kind::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case Kind::WideString:
        return QStringLiteral("VARCHAR(%1)").arg(column.size);
    case Kind::Integer:
        return QStringLiteral("INTEGER");
    case Kind::DateTime:
        return QStringLiteral("DATETIME");
    }
    return QString();
}

QString TableDef::createStatement() const {
    QStringList parts;
    for (const ColumnDef& c : columns)
        parts << QString::fromUtf16(c.name) + QLatin1Char(' ') + declaredType(c);
    return QStringLiteral("CREATE TABLE ") + tableName() + QStringLiteral(" (") +
           parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

const TableDef& okuyucuTable() {
    return okuyucu;
}
const TableDef& kitapkayitTable() {
    return kitapkayit;
}
const TableDef& hareketTable() {
    return hareket;
}
std::span<const TableDef* const> allTables() {
    return tables;
}

} // namespace data
