#include "formkit/searchbar.h"

#include "data/adoquery.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"

#include <QGroupBox>

QString searchStatement(const SearchColumn& column, const QString& text) {
    QString pattern = text;
    pattern.replace(QLatin1Char(' '), QLatin1Char('%'));
    pattern = QLatin1Char('%') + pattern + QLatin1Char('%');
    pattern.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("select * from ") + QString::fromUtf16(column.table) +
           QStringLiteral(" where  ") + QString::fromUtf16(column.column) +
           QStringLiteral(" like '") + pattern + QLatin1Char('\'');
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
