#include "anaform_/gridcolumns.h"

const std::vector<data::TDBGrid::Column>& readerGridColumns() {
    static const std::vector<data::TDBGrid::Column> columns{
        {QStringLiteral("IDNO"), QStringLiteral("Kayıt Kodu")},
        {QStringLiteral("ADISOYADI"), QStringLiteral("Adı Soyadı"), 205},
        {QStringLiteral("OGRENIMDURUMU"), QStringLiteral("Öğrenim Durumu"), 102},
        {QStringLiteral("OKULU"), QStringLiteral("Okulu")},
        {QStringLiteral("NUMARASI"), QStringLiteral("Numarsı")},
        {QStringLiteral("UNVANI"), QStringLiteral("Ünvanı")},
        {QStringLiteral("DOGUMYERI"), QStringLiteral("Doğrum  Yeri")},
        {QStringLiteral("DOGUMTARIHI"), QStringLiteral("Doğum Tarihi")},
        {QStringLiteral("TELEFONU"), QStringLiteral("Telefonu ")},
        {QStringLiteral("CEPTELEFONU"), QStringLiteral("Cep Telefonu")},
        {QStringLiteral("ADRESI"), QStringLiteral("Adresi")},
    };
    return columns;
}

const std::vector<data::TDBGrid::Column>& bookGridColumns() {
    static const std::vector<data::TDBGrid::Column> columns{
        {QStringLiteral("IDNO"), QStringLiteral("Kayıt Kodu")},
        {QStringLiteral("SERINO"), QStringLiteral("Seri No"), 122},
        {QStringLiteral("KITABINADI"), QStringLiteral("Kitabın Adı"), 207},
        {QStringLiteral("YAZARI"), QStringLiteral("Yazarı"), 145},
        {QStringLiteral("TURU"), QStringLiteral("Türü"), 152},
        {QStringLiteral("YAYINEVI"), QStringLiteral("Yayın Evi"), 200},
        {QStringLiteral("BARKODU"), QStringLiteral("Barkodu")},
        {QStringLiteral("EDINME"), QStringLiteral("Edinme  Türü")},
        {QStringLiteral("DEGERI"), QStringLiteral("Değeri")},
        {QStringLiteral("EDINMETARIHI"), QStringLiteral("Edinme Tarihi")},
        {QStringLiteral("BASKITARIHI"), QStringLiteral("Baskı Tarihi")},
        {QStringLiteral("BASIMYERI"), QStringLiteral("Basım  Yeri")},
        {QStringLiteral("BASIMYILI"), QStringLiteral("Basım Yılı")},
        {QStringLiteral("BASKINO"), QStringLiteral("Baskı No")},
        {QStringLiteral("ACIKLAMA"), QStringLiteral("Açıkalama")},
    };
    return columns;
}

namespace {

constexpr SearchColumn readerColumns[] = {
    {u"Adı Soyadı", u"okuyucu", u"ADISOYADI"}, {u"Okulu", u"okuyucu", u"OKULU"},
    {u"Numarası", u"okuyucu", u"NUMARASI"},    {u"Unvanı", u"okuyucu", u"UNVANI"},
    {u"Telefonu", u"okuyucu", u"TELEFONU"},    {u"Cep Telefonu", u"okuyucu", u"CEPTELEFONU"},
    {u"Adresi", u"okuyucu", u"ADRESI"},
};

constexpr SearchColumn bookColumns[] = {
    {u"Kitap Adı", u"kitapkayit", u"KITABINADI"}, {u"Seri No", u"kitapkayit", u"SERINO"},
    {u"Yazarı", u"kitapkayit", u"YAZARI"},        {u"Yayın Evi", u"kitapkayit", u"YAYINEVI"},
    {u"Barkodu", u"kitapkayit", u"BARKODU"},      {u"Baskı No", u"kitapkayit", u"BASKINO"},
    {u"Basım Yeri", u"kitapkayit", u"BASIMYERI"},
};

} // namespace

std::span<const SearchColumn> readerSearchColumns() {
    return readerColumns;
}

std::span<const SearchColumn> bookSearchColumns() {
    return bookColumns;
}
