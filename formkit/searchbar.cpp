#include "formkit/searchbar.h"

#include "data/adoquery.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"

#include <QGroupBox>

namespace {

constexpr SearchColumn readerColumns[] = {
    {u"Adı Soyadı", u"ADISOYADI", u"select * from okuyucu where  ADISOYADI like "},
    {u"Okulu", u"OKULU", u"select * from okuyucu where  OKULU like "},
    {u"Numarası", u"NUMARASI", u"select * from okuyucu where  NUMARASI like "},
    {u"Unvanı", u"UNVANI", u"select * from okuyucu where  UNVANI like "},
    {u"Telefonu", u"TELEFONU", u"select * from okuyucu where  TELEFONU like "},
    {u"Cep Telefonu", u"CEPTELEFONU", u"select * from okuyucu where  CEPTELEFONU like "},
    {u"Adresi", u"ADRESI", u"select * from okuyucu where  ADRESI like "},
};

constexpr SearchColumn bookColumns[] = {
    {u"Kitap Adı", u"KITABINADI", u"select * from kitapkayit where  KITABINADI like "},
    {u"Seri No", u"SERINO", u"select * from kitapkayit where  SERINO like "},
    {u"Yazarı", u"YAZARI", u"select * from kitapkayit where  YAZARI like "},
    {u"Yayın Evi", u"YAYINEVI", u"select * from kitapkayit where  YAYINEVI like "},
    {u"Barkodu", u"BARKODU", u"select * from kitapkayit where  BARKODU like "},
    {u"Baskı No", u"BASKINO", u"select * from kitapkayit where  BASKINO like "},
    {u"Basım Yeri", u"BASIMYERI", u"select * from kitapkayit where  BASIMYERI like "},
};

constexpr SearchColumn loanColumns[] = {
    {u"Adı Soyadı", u"O_ADI_SOYADI", u"select * from hareket where  O_ADI_SOYADI like "},
    {u"Kitap Adı", u"ADIGIKITAP", u"select * from hareket where  ADIGIKITAP like "},
    {u"Açıkalama", u"ACIKLAMA", u"select * from hareket where  ACIKLAMA like "},
};

} // namespace

std::span<const SearchColumn> readerSearchColumns() {
    return readerColumns;
}
std::span<const SearchColumn> bookSearchColumns() {
    return bookColumns;
}
std::span<const SearchColumn> loanSearchColumns() {
    return loanColumns;
}

QString searchStatement(const SearchColumn& column, const QString& text) {
    QString pattern = text;
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    pattern = QLatin1Char('%') + pattern + QLatin1Char('%');
    pattern.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QString::fromUtf16(column.prefix) + QLatin1Char('\'') + pattern + QLatin1Char('\'');
}

void runSearch(std::span<const SearchColumn> columns, int selectedIndex, const QString& text,
               data::TADOQuery& dataSet) {
    if (selectedIndex < 0 || selectedIndex >= static_cast<int>(columns.size()))
        return;
    dataSet.close();
    dataSet.clearSql();
    dataSet.addSql(searchStatement(columns[selectedIndex], text));
    dataSet.execSQL();
    dataSet.open();
}

SearchBarControls makeSearchBar(QGroupBox* group, const char16_t* comboName,
                                const char16_t* editName, std::span<const SearchColumn> columns,
                                QRect comboBounds, QRect editBounds) {
    auto* combo = new TSearchCombo(group);
    combo->setObjectName(QString::fromUtf16(comboName));
    for (const SearchColumn& c : columns)
        combo->addItem(QString::fromUtf16(c.caption));
    combo->setCurrentIndex(0);
    combo->setGeometry(comboBounds);
    auto* edit = new TSearchEdit(group);
    edit->setObjectName(QString::fromUtf16(editName));
    edit->setText(QStringLiteral("Bu Alana Aranacak Bilgiyi Giriniz "));
    edit->setGeometry(editBounds);
    edit->setCursorPosition(0);
    return {combo, edit};
}
