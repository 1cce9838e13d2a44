// Values another program or a failing disk left in DATA.mdb that the program never writes: a
// text that is not UTF-8, NUL and control characters, a date-time it cannot read. The program
// shows each as it is, in the main window's grid, in the entry window and through a search,
// and goes on working.

#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dbgrid.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "support/programfixture.h"
#include "support/typing.h"

#include <QAbstractItemModel>

using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {

QAction* action(const char* name) {
    auto* a = anaform->findChild<QAction*>(QLatin1String(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

// The grid's column whose title is `title`, or -1.
int columnTitled(data::TDBGrid* grid, const QString& title) {
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->headerData(c, Qt::Horizontal).toString() == title)
            return c;
    return -1;
}

} // namespace

class DamagedValuesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }
    void cleanup() { program.stop(); }

    void aDamagedValueIsShownAsItIs_data() {
        QTest::addColumn<QString>("table");  // "okuyucu" or "kitapkayit"
        QTest::addColumn<QString>("column"); // the damaged one
        QTest::addColumn<QString>("stored"); // as SQL
        QTest::addColumn<QString>("shown");  // in the grid and the entry window
        const QString notUtf8 = u"'S'||CAST(x'C328' AS TEXT)||'LI'"_s;
        const QString controls = u"'A'||char(0)||'B'||char(7)"_s;
        const QString date = u"'2011-:0-03 00:00:00.000'"_s;
        // Bytes that are not UTF-8 show as the replacement character, as Qt decodes them.
        QTest::newRow("reader, text that is not UTF-8")
            << u"okuyucu"_s << u"ADISOYADI"_s << notUtf8 << u"S\uFFFD(LI"_s;
        QTest::newRow("reader, NUL and a control character")
            << u"okuyucu"_s << u"ADISOYADI"_s << controls << QString(u"A\0B\a"_s);
        QTest::newRow("reader, malformed date-time")
            << u"okuyucu"_s << u"DOGUMTARIHI"_s << date << u"2011-:0-03 00:00:00.000"_s;
        QTest::newRow("book, text that is not UTF-8")
            << u"kitapkayit"_s << u"KITABINADI"_s << notUtf8 << u"S\uFFFD(LI"_s;
        QTest::newRow("book, NUL and a control character")
            << u"kitapkayit"_s << u"KITABINADI"_s << controls << QString(u"A\0B\a"_s);
        QTest::newRow("book, malformed date-time")
            << u"kitapkayit"_s << u"EDINMETARIHI"_s << date << u"2011-:0-03 00:00:00.000"_s;
    }
    void aDamagedValueIsShownAsItIs() {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        const bool readers = table == u"okuyucu";
        const QString name = readers ? u"ADISOYADI"_s : u"KITABINADI"_s;
        QVERIFY(program.start([&](TempDatabase& db) {
            db.exec(
                u"INSERT INTO %1 (%2) VALUES ('SALİ'); INSERT INTO %1 (%2) VALUES ('SALI')"_s.arg(
                    table, name));
            db.exec(u"UPDATE %1 SET %2 = %3 WHERE IDNO = 1"_s.arg(table, column, stored));
        }));
        QCOMPARE(program.db->rows(u"SELECT hex(%1) FROM %2 WHERE IDNO = 1"_s.arg(column, table)),
                 program.db->rows(u"SELECT hex(%1)"_s.arg(stored)));

        // The grid shows the value as the file holds it.
        data::TDBGrid* grid = readers ? anaform->DBGrid1 : anaform->DBGrid2;
        const bool isDate = column.endsWith(u"TARIHI");
        const QString title = readers ? (isDate ? u"Doğum Tarihi"_s : u"Adı Soyadı"_s)
                                      : (isDate ? u"Edinme Tarihi"_s : u"Kitabın Adı"_s);
        const int c = columnTitled(grid, title);
        QVERIFY(c >= 0);
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->index(0, c).data().toString(), shown);
        (void)grid->grab(); // painted without a fault

        // The entry window shows it too; an unreadable date shows the picker's day zero, as
        // the program shows any date it cannot read.
        action(readers ? "MenuItem2" : "KitapKaydDzelt1")->trigger();
        QWidget* window = readers ? static_cast<QWidget*>(okuyucu_kayit) : kitapkayit;
        QVERIFY(QTest::qWaitForWindowActive(window));
        if (isDate) {
            auto* picker = readers ? okuyucu_kayit->DateTimePicker1 : kitapkayit->DateTimePicker1;
            QCOMPARE(picker->date().toIso(), u"1899-12-30 16:15:25.890"_s);
        } else {
            auto* edit = readers ? okuyucu_kayit->DBEdit1 : kitapkayit->DBEdit2;
            QCOMPARE(edit->text(), shown);
        }
        window->close();
        QCOMPARE(program.dialogs->texts(), QStringList());

        // A search runs the program's LIKE over the damaged row too, and finds the others.
        QLineEdit* bar = readers ? anaform->Edit1 : anaform->Edit2;
        bar->setFocus();
        bar->selectAll();
        typeText(bar, u"sal"_s);
        QCOMPARE(grid->model()->rowCount(), isDate ? 2 : 1);
        QCOMPARE(grid->model()
                     ->index(0, columnTitled(grid, readers ? u"Adı Soyadı"_s : u"Kitabın Adı"_s))
                     .data()
                     .toString(),
                 isDate ? u"SALİ"_s : u"SALI"_s);
        bar->selectAll();
        typeText(bar, u"%"_s); // every row
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->index(0, c).data().toString(), shown);
        QCOMPARE(program.dialogs->texts(), QStringList());
        // The file keeps the value as it was: showing it wrote nothing.
        QCOMPARE(program.db->rows(u"SELECT hex(%1) FROM %2 WHERE IDNO = 1"_s.arg(column, table)),
                 program.db->rows(u"SELECT hex(%1)"_s.arg(stored)));
    }

private:
    ProgramFixture program;
};

QTEST_MAIN(DamagedValuesTest)
#include "tst_damagedvalues.moc"
