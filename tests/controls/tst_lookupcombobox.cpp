// The lookup combo box over a real database: the loans record set writes the reader's name,
// the readers record set is the list.
#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/tables.h"
#include "data/widgets/dblookupcombobox.h"
#include "data/widgets/dblookupdropdown.h"
#include "platform/errors.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"
#include "support/typing.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;
using data::DataSetState;
using data::TDBLookupComboBox;

namespace {

const QStringList defaultReaders{u"ALİ KAYA"_s, u"ŞAHİN YILMAZ"_s, u"ZEYNEP DEMİR"_s};
// Loan rows: 0 and 1 the same reader, 3 a reader who does not exist, 4 none.
const QVariantList defaultLoans{u"ZEYNEP DEMİR"_s,   u"ZEYNEP DEMİR"_s, u"ŞAHİN YILMAZ"_s,
                                u"YOK BÖYLE BİRİ"_s, QVariant(),        u"ALİ KAYA"_s};

struct Fixture {
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempDatabase db;
    data::TADOQuery emanet{u"emanet"_s, data::hareketTable(), u"select * from  hareket"_s};
    data::TADOQuery okuyucu{u"okuyucu"_s, data::okuyucuTable(), u"select * from  okuyucu"_s};
    data::TDataSource emanetD{u"emanetD"_s, &emanet};
    data::TDataSource okuyucud{u"okuyucud"_s, &okuyucu};
    QWidget window;
    TDBLookupComboBox* lookup = new TDBLookupComboBox(&window);
    QLineEdit* other = new QLineEdit(&window);
    qint64 now = 0;

    Fixture(const QStringList& readers, const QVariantList& loans) {
        for (const QString& name : readers)
            db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {name});
        for (const QVariant& name : loans)
            db.insert(u"hareket"_s, {u"O_ADI_SOYADI"_s, u"DURUM"_s}, {name, u"Verildi"_s});
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(lookup);
        layout->addWidget(other);
        window.resize(290, 80);
        lookup->setDataSource(&emanetD);
        lookup->setDataField(u"O_ADI_SOYADI"_s);
        lookup->setListSource(&okuyucud);
        lookup->setKeyField(u"ADISOYADI"_s);
        lookup->setListField(u"ADISOYADI"_s);
        lookup->setSearchClock([this] { return now; });
        okuyucu.setConnectionString(db.connectionString());
        emanet.setConnectionString(db.connectionString());
        // The order of start-up: readers first, then the loans.
        okuyucu.open();
        emanet.open();
    }

    void show() {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        lookup->setFocus();
    }
    QString written() { return emanet.fieldByName(u"O_ADI_SOYADI").value().toText(); }
    QString storedReader(int loanRow) {
        return db.rows(u"SELECT O_ADI_SOYADI FROM hareket WHERE IDNO = %1"_s.arg(loanRow + 1))
            .front()
            .front();
    }
    void search(const QString& pattern) {
        okuyucu.clearSql();
        okuyucu.addSql(u"select * from  okuyucu where ADISOYADI like '%1'"_s.arg(pattern));
        okuyucu.execSQL();
        okuyucu.open();
    }
};

QStringList numberedReaders(int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << u"OKUYUCU %1"_s.arg(i, 2, 10, QLatin1Char('0'));
    return names;
}

} // namespace

class TestLookupComboBox : public QObject {
    Q_OBJECT

private slots:
    void listFollowsTheWrittenColumn_data();
    void listFollowsTheWrittenColumn();
    void locateSettlesAPendingListRow_data();
    void locateSettlesAPendingListRow();
    void failedSettleDuringLocateShowsNothing();
    void upDownWithListClosedWritesAtOnce_data();
    void upDownWithListClosedWritesAtOnce();
    void dropDownRowsAndMoves_data();
    void dropDownRowsAndMoves();
    void dropDownChoosing_data();
    void dropDownChoosing();
    void dropDownPlacement_data();
    void dropDownPlacement();
    void typingSearch_data();
    void typingSearch();
    void searchTextIsCappedAt32();
    void nothingWrittenWhenTheRecordSetCannotEdit_data();
    void nothingWrittenWhenTheRecordSetCannotEdit();
    void forgetsADestroyedSource();
    void accessibleComboAndOpenList();
};

void TestLookupComboBox::listFollowsTheWrittenColumn_data() {
    QTest::addColumn<bool>("visible");
    QTest::newRow("window hidden") << false;
    QTest::newRow("window shown") << true;
}

void TestLookupComboBox::listFollowsTheWrittenColumn() {
    QFETCH(bool, visible);
    Fixture f(defaultReaders, defaultLoans);
    if (visible)
        f.show();
    // Opening the loans located the first loan's reader.
    QCOMPARE(f.okuyucu.recNo(), 2);
    QCOMPARE(f.lookup->text(), u"ZEYNEP DEMİR"_s);

    // The same reader again: nothing is searched, so the reader grid may stay elsewhere.
    f.okuyucu.first();
    f.emanet.next();
    QCOMPARE(f.okuyucu.recNo(), 0);
    QCOMPARE(f.lookup->text(), u"ZEYNEP DEMİR"_s);

    f.emanet.next();
    QCOMPARE(f.okuyucu.recNo(), 1);
    QCOMPARE(f.lookup->text(), u"ŞAHİN YILMAZ"_s);

    // Not found, and no reader: empty text, the list stays, the stored name stays.
    f.emanet.next();
    QCOMPARE(f.lookup->text(), QString());
    QCOMPARE(f.okuyucu.recNo(), 1);
    QCOMPARE(f.written(), u"YOK BÖYLE BİRİ"_s);
    f.emanet.next();
    QVERIFY(f.emanet.fieldByName(u"O_ADI_SOYADI").isNull());
    QCOMPARE(f.lookup->text(), QString());
    QCOMPARE(f.okuyucu.recNo(), 1);

    f.emanet.next();
    QCOMPARE(f.okuyucu.recNo(), 0);
    QCOMPARE(f.lookup->text(), u"ALİ KAYA"_s);

    // A search on the readers reopens the list: the reader left out shows nothing, and the
    // search for all finds it again.
    f.emanet.moveTo(2);
    QCOMPARE(f.okuyucu.recNo(), 1);
    f.search(u"Z%"_s);
    QCOMPARE(f.okuyucu.recordCount(), 1);
    QCOMPARE(f.lookup->text(), QString());
    f.search(u"%"_s);
    QCOMPARE(f.okuyucu.recNo(), 1);
    QCOMPARE(f.lookup->text(), u"ŞAHİN YILMAZ"_s);

    f.okuyucu.close();
    QCOMPARE(f.lookup->text(), QString());
    f.okuyucu.open();
    QCOMPARE(f.okuyucu.recNo(), 1);
    QCOMPARE(f.lookup->text(), u"ŞAHİN YILMAZ"_s);

    f.emanet.close();
    QCOMPARE(f.lookup->text(), QString());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestLookupComboBox::locateSettlesAPendingListRow_data() {
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("readers");
    QTest::newRow("written new reader is posted") << true << 4;
    QTest::newRow("empty new reader is dropped") << false << 3;
}

void TestLookupComboBox::locateSettlesAPendingListRow() {
    QFETCH(bool, typed);
    QFETCH(int, readers);
    Fixture f(defaultReaders, defaultLoans);
    f.okuyucu.append();
    if (typed)
        f.okuyucu.fieldByName(u"ADISOYADI").setText(u"YENİ OKUYUCU"_s);
    f.emanet.moveTo(2);
    QCOMPARE(f.okuyucu.state(), DataSetState::Browse);
    QCOMPARE(f.db.count(u"okuyucu"_s), readers);
    QCOMPARE(f.okuyucu.recordCount(), readers);
    QCOMPARE(f.okuyucu.recNo(), 1);
    QCOMPARE(f.lookup->text(), u"ŞAHİN YILMAZ"_s);
}

void TestLookupComboBox::failedSettleDuringLocateShowsNothing() {
    Fixture f(defaultReaders, defaultLoans);
    f.db.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON okuyucu BEGIN "
              "SELECT RAISE(ABORT, 'reddedildi'); END"_s);
    f.okuyucu.append();
    f.okuyucu.fieldByName(u"ADISOYADI").setText(u"YENİ OKUYUCU"_s);
    f.emanet.moveTo(2);
    QCOMPARE(f.emanet.recNo(), 2);
    QCOMPARE(f.lookup->text(), QString());
    QCOMPARE(f.okuyucu.state(), DataSetState::Insert);
    QCOMPARE(f.okuyucu.fieldByName(u"ADISOYADI").value().toText(), u"YENİ OKUYUCU"_s);
    QVERIFY(f.dialogs.shown().isEmpty());
    // The same settle outside the lookup does fail.
    QVERIFY_THROWS_EXCEPTION(platform::Error, f.okuyucu.settle());
}

void TestLookupComboBox::upDownWithListClosedWritesAtOnce_data() {
    QTest::addColumn<int>("loan");
    QTest::addColumn<QString>("keys"); // U and D
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("readerRow");
    QTest::newRow("down") << 2 << u"D"_s << u"ZEYNEP DEMİR"_s << 2;
    QTest::newRow("up") << 2 << u"U"_s << u"ALİ KAYA"_s << 0;
    QTest::newRow("down past the last") << 0 << u"D"_s << u"ZEYNEP DEMİR"_s << 2;
    QTest::newRow("up before the first") << 5 << u"U"_s << u"ALİ KAYA"_s << 0;
    QTest::newRow("down, not found: the first") << 3 << u"D"_s << u"ALİ KAYA"_s << 0;
    QTest::newRow("up, no reader: the first") << 4 << u"U"_s << u"ALİ KAYA"_s << 0;
    QTest::newRow("down, down, up") << 5 << u"DDU"_s << u"ŞAHİN YILMAZ"_s << 1;
}

void TestLookupComboBox::upDownWithListClosedWritesAtOnce() {
    QFETCH(int, loan);
    QFETCH(QString, keys);
    QFETCH(QString, chosen);
    QFETCH(int, readerRow);
    Fixture f(defaultReaders, defaultLoans);
    f.emanet.moveTo(loan);
    // The grid stands elsewhere: the step starts from the loan's reader, not from it.
    f.okuyucu.moveTo(1);
    for (const QChar k : keys)
        QTest::keyClick(f.lookup, k == u'U' ? Qt::Key_Up : Qt::Key_Down);
    QVERIFY(!f.lookup->isListOpen());
    QCOMPARE(f.emanet.state(), DataSetState::Edit);
    QCOMPARE(f.written(), chosen);
    QCOMPARE(f.lookup->text(), chosen);
    QCOMPARE(f.okuyucu.recNo(), readerRow);
    f.emanet.post();
    QCOMPARE(f.storedReader(loan), chosen);
    QCOMPARE(f.db.rows(u"SELECT DURUM FROM hareket WHERE IDNO = %1"_s.arg(loan + 1)).front(),
             QStringList{u"Verildi"_s});
}

void TestLookupComboBox::dropDownRowsAndMoves_data() {
    QTest::addColumn<int>("readers");
    QTest::addColumn<int>("rows");
    QTest::newRow("one reader") << 1 << 1;
    QTest::newRow("three readers") << 3 << 3;
    QTest::newRow("seven readers") << 7 << 7;
    QTest::newRow("nine readers") << 9 << 7;
    QTest::newRow("no reader") << 0 << 7;
}

void TestLookupComboBox::dropDownRowsAndMoves() {
    QFETCH(int, readers);
    QFETCH(int, rows);
    const QStringList names = numberedReaders(readers);
    // The loan holds the last reader, so the list must open there, not at the first.
    Fixture f(names, {names.isEmpty() ? QVariant() : QVariant(names.back())});
    f.show();
    if (readers > 1)
        f.okuyucu.first();
    QTest::keyClick(f.lookup, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(f.lookup->isListOpen());
    data::LookupDropDown* list = f.lookup->dropDownList();
    QCOMPARE(list->rowCount(), rows);
    QCOMPARE(list->height(), rows * list->rowHeight() + 2 * list->frameWidth());
    QCOMPARE(list->width(), f.lookup->width());
    QCOMPARE(list->pos(), f.lookup->mapToGlobal(QPoint(0, f.lookup->height())));
    QCOMPARE(f.okuyucu.recNo(), readers - 1);
    QCOMPARE(list->scrollBar()->isVisible(), readers > 7);
    if (readers > 0)
        QVERIFY(list->rowRect(readers - 1).isValid());

    if (readers == 9) {
        QTest::keyClick(f.lookup, Qt::Key_Home);
        QCOMPARE(f.okuyucu.recNo(), 0);
        QCOMPARE(list->topRow(), 0);
        QTest::keyClick(f.lookup, Qt::Key_PageDown);
        QCOMPARE(f.okuyucu.recNo(), 7);
        QCOMPARE(list->topRow(), 1);
        QTest::keyClick(f.lookup, Qt::Key_Up);
        QCOMPARE(f.okuyucu.recNo(), 6);
        QTest::keyClick(f.lookup, Qt::Key_End);
        QCOMPARE(f.okuyucu.recNo(), 8);
        QTest::keyClick(f.lookup, Qt::Key_PageUp);
        QCOMPARE(f.okuyucu.recNo(), 1);
        QCOMPARE(list->scrollBar()->value(), 1);
        list->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.okuyucu.recNo(), 2);
        list->scrollBar()->setValue(5);
        QCOMPARE(f.okuyucu.recNo(), 5);
    }
    // Moving the highlight writes nothing.
    QCOMPARE(f.emanet.state(), DataSetState::Browse);
    QCOMPARE(f.lookup->text(), readers > 0 ? names.back() : QString());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestLookupComboBox::dropDownChoosing_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("written");
    // Each row opens the list on ZEYNEP DEMİR and moves the highlight up to ŞAHİN YILMAZ.
    QTest::newRow("Enter chooses") << u"enter"_s << u"ŞAHİN YILMAZ"_s;
    QTest::newRow("Alt+Up chooses") << u"alt-up"_s << u"ŞAHİN YILMAZ"_s;
    QTest::newRow("click chooses the row") << u"click"_s << u"ALİ KAYA"_s;
    QTest::newRow("keys at the pop-up") << u"popup"_s << u"ALİ KAYA"_s;
    QTest::newRow("Esc does not choose") << u"escape"_s << QString();
    QTest::newRow("losing the focus does not choose") << u"focus"_s << QString();
    QTest::newRow("click outside does not choose") << u"outside"_s << QString();
}

void TestLookupComboBox::dropDownChoosing() {
    QFETCH(QString, action);
    QFETCH(QString, written);
    Fixture f(defaultReaders, defaultLoans);
    f.show();
    QTest::mouseClick(f.lookup, Qt::LeftButton);
    QVERIFY(f.lookup->isListOpen());
    QCOMPARE(f.okuyucu.recNo(), 2);
    QTest::keyClick(f.lookup, Qt::Key_Up);
    QCOMPARE(f.okuyucu.recNo(), 1);
    data::LookupDropDown* list = f.lookup->dropDownList();

    if (action == u"enter") {
        QTest::keyClick(f.lookup, Qt::Key_Return);
    } else if (action == u"alt-up") {
        QTest::keyClick(f.lookup, Qt::Key_Up, Qt::AltModifier);
    } else if (action == u"click") {
        QTest::mouseClick(list, Qt::LeftButton, {}, list->rowRect(0).center());
    } else if (action == u"popup") {
        QWidget* popup = QApplication::activePopupWidget();
        QCOMPARE(popup, list);
        QTest::keyClick(popup, Qt::Key_Up);
        QTest::keyClick(popup, Qt::Key_Enter);
    } else if (action == u"escape") {
        QTest::keyClick(f.lookup, Qt::Key_Escape);
    } else if (action == u"focus") {
        f.lookup->clearFocus();
    } else if (action == u"outside") {
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(-5, list->height() + 40));
    }
    QVERIFY(!f.lookup->isListOpen());
    if (written.isEmpty()) {
        QCOMPARE(f.emanet.state(), DataSetState::Browse);
        QCOMPARE(f.written(), u"ZEYNEP DEMİR"_s);
        QCOMPARE(f.lookup->text(), u"ZEYNEP DEMİR"_s);
        QCOMPARE(f.okuyucu.recNo(), 1); // the highlight's move stays
    } else {
        QCOMPARE(f.emanet.state(), DataSetState::Edit);
        QCOMPARE(f.written(), written);
        QCOMPARE(f.lookup->text(), written);
        QCOMPARE(f.okuyucu.value(f.okuyucu.recNo(), 1).toText(), written);
    }
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestLookupComboBox::dropDownPlacement_data() {
    QTest::addColumn<bool>("nearBottom");
    QTest::newRow("room below: below") << false;
    QTest::newRow("no room below: above") << true;
}

void TestLookupComboBox::dropDownPlacement() {
    QFETCH(bool, nearBottom);
    Fixture f(numberedReaders(9), {QVariant()});
    const QRect screen = f.window.screen()->geometry();
    f.window.move(screen.left() + 10, nearBottom ? screen.bottom() - 90 : screen.top() + 10);
    f.show();
    f.lookup->dropDown();
    QVERIFY(f.lookup->isListOpen());
    QCOMPARE(f.okuyucu.recNo(), 0); // no reader: the first row
    const QRect list = f.lookup->dropDownList()->geometry();
    const QPoint top = f.lookup->mapToGlobal(QPoint(0, 0));
    if (nearBottom)
        QCOMPARE(list.bottom() + 1, top.y());
    else
        QCOMPARE(list.top(), top.y() + f.lookup->height());
    QCOMPARE(list.left(), top.x());
}

void TestLookupComboBox::typingSearch_data() {
    QTest::addColumn<QList<int>>("times"); // the clock at each key, in ms
    QTest::addColumn<QString>("keys");     // "\b" Backspace, "\x1b" Esc
    QTest::addColumn<QString>("chosen");   // empty: nothing chosen
    QTest::addColumn<QString>("search");

    QTest::newRow("Turkish letter, lower case")
        << QList<int>{0} << u"ş"_s << u"ŞAHİN YILMAZ"_s << u"ş"_s;
    QTest::newRow("dotted i") << QList<int>{0} << u"i"_s << u"İSMAİL ÖZ"_s << u"i"_s;
    QTest::newRow("prefix grows") << QList<int>{0, 100, 200, 300} << u"aliy"_s << u"ALİYE SEZER"_s
                                  << u"aliy"_s;
    QTest::newRow("no match changes nothing")
        << QList<int>{0, 10} << u"ax"_s << u"ALİ KAYA"_s << u"a"_s;
    QTest::newRow("no match at all") << QList<int>{0} << u"x"_s << QString() << QString();
    QTest::newRow("pause of 2000 ms continues")
        << QList<int>{0, 2000, 4000, 6000} << u"aliy"_s << u"ALİYE SEZER"_s << u"aliy"_s;
    QTest::newRow("pause over 2000 ms starts anew")
        << QList<int>{0, 2001} << u"şs"_s << u"SAHRA NUR"_s << u"s"_s;
    QTest::newRow("Backspace empties")
        << QList<int>{0, 10, 20} << u"ş\bi"_s << u"İSMAİL ÖZ"_s << u"i"_s;
    QTest::newRow("Esc empties") << QList<int>{0, 10, 20} << u"ş\x1bi"_s << u"İSMAİL ÖZ"_s
                                 << u"i"_s;
    QTest::newRow("Backspace at the end")
        << QList<int>{0, 10} << u"a\b"_s << u"ALİ KAYA"_s << QString();
}

void TestLookupComboBox::typingSearch() {
    QFETCH(QList<int>, times);
    QFETCH(QString, keys);
    QFETCH(QString, chosen);
    QFETCH(QString, search);
    Fixture f({u"ZEYNEP DEMİR"_s, u"ALİ KAYA"_s, u"ALİYE SEZER"_s, u"ŞAHİN YILMAZ"_s,
               u"SAHRA NUR"_s, u"İSMAİL ÖZ"_s},
              {u"ZEYNEP DEMİR"_s});
    QCOMPARE(keys.size(), times.size());
    for (int i = 0; i < keys.size(); ++i) {
        f.now = times[i];
        if (keys[i] == u'\b')
            QTest::keyClick(f.lookup, Qt::Key_Backspace);
        else if (keys[i] == u'\x1b')
            QTest::keyClick(f.lookup, Qt::Key_Escape);
        else
            testsupport::typeText(f.lookup, QString(keys[i]));
    }
    QCOMPARE(f.lookup->searchText(), search);
    const QString expected = chosen.isEmpty() ? u"ZEYNEP DEMİR"_s : chosen;
    QCOMPARE(f.emanet.state(), chosen.isEmpty() ? DataSetState::Browse : DataSetState::Edit);
    QCOMPARE(f.written(), expected);
    QCOMPARE(f.lookup->text(), expected);
    QCOMPARE(f.okuyucu.value(f.okuyucu.recNo(), 1).toText(), expected);
    QVERIFY(!f.lookup->isListOpen());
}

void TestLookupComboBox::searchTextIsCappedAt32() {
    const QString a32(32, u'A');
    Fixture f({a32 + u"B"_s, a32 + u"A"_s}, {QVariant()});
    testsupport::typeText(f.lookup, QString(33, u'a'));
    // The 33rd key would have found the second reader.
    QCOMPARE(f.lookup->searchText(), QString(32, u'a'));
    QCOMPARE(f.written(), a32 + u"B"_s);
    QCOMPARE(f.okuyucu.recNo(), 0);
    // After a pause the search starts anew.
    f.now = 2001;
    testsupport::typeText(f.lookup, u"a"_s);
    QCOMPARE(f.lookup->searchText(), u"a"_s);
}

void TestLookupComboBox::nothingWrittenWhenTheRecordSetCannotEdit_data() {
    QTest::addColumn<bool>("closed");
    QTest::newRow("loans closed") << true;
    QTest::newRow("loans without auto-edit") << false;
}

void TestLookupComboBox::nothingWrittenWhenTheRecordSetCannotEdit() {
    QFETCH(bool, closed);
    Fixture f(defaultReaders, defaultLoans);
    f.show();
    if (closed)
        f.emanet.close();
    else
        f.emanetD.autoEdit = false;
    const DataSetState state = closed ? DataSetState::Inactive : DataSetState::Browse;
    const QString before = closed ? QString() : u"ZEYNEP DEMİR"_s;

    QTest::keyClick(f.lookup, Qt::Key_Up);
    testsupport::typeText(f.lookup, u"ş"_s);
    QTest::keyClick(f.lookup, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(f.lookup->isListOpen());
    QTest::keyClick(f.lookup, Qt::Key_Home);
    QTest::keyClick(f.lookup, Qt::Key_Return);
    QVERIFY(!f.lookup->isListOpen());

    QCOMPARE(f.emanet.state(), state);
    QCOMPARE(f.lookup->text(), before);
    if (!closed)
        QCOMPARE(f.written(), before);
    QCOMPARE(f.storedReader(0), u"ZEYNEP DEMİR"_s);
    QVERIFY(f.dialogs.shown().isEmpty());

    // A closed list opens nothing.
    f.okuyucu.close();
    QTest::keyClick(f.lookup, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(!f.lookup->isListOpen());
}

void TestLookupComboBox::forgetsADestroyedSource() {
    Fixture f(defaultReaders, defaultLoans);
    auto readers = std::make_unique<data::TDataSource>(u"okuyucud2"_s, &f.okuyucu);
    auto loans = std::make_unique<data::TDataSource>(u"emanetD2"_s, &f.emanet);
    f.lookup->setListSource(readers.get());
    f.lookup->setDataSource(loans.get());
    QCOMPARE(f.lookup->text(), u"ZEYNEP DEMİR"_s);
    readers.reset();
    QCOMPARE(f.lookup->listSource(), nullptr);
    QCOMPARE(f.lookup->text(), QString());
    QTest::keyClick(f.lookup, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(!f.lookup->isListOpen());
    loans.reset();
    QCOMPARE(f.lookup->dataSource(), nullptr);
    f.emanet.next();
    f.okuyucu.close();
    QCOMPARE(f.lookup->text(), QString());
}

void TestLookupComboBox::accessibleComboAndOpenList() {
    Fixture f(defaultReaders, defaultLoans);
    auto* label = new QLabel(u"Okuyucu &Adı Soyadı"_s, &f.window);
    label->setBuddy(f.lookup);
    f.show();
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(f.lookup);
    QVERIFY(combo);
    QCOMPARE(combo->role(), QAccessible::ComboBox);
    QCOMPARE(combo->text(QAccessible::Name), u"Okuyucu Adı Soyadı"_s);
    const auto labels = combo->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.front().first->object(), label);
    QCOMPARE(combo->text(QAccessible::Value), u"ZEYNEP DEMİR"_s);
    f.emanet.moveTo(3); // a reader who does not exist
    QCOMPARE(combo->text(QAccessible::Value), QString());
    f.emanet.moveTo(2);
    QCOMPARE(combo->text(QAccessible::Value), u"ŞAHİN YILMAZ"_s);
    QVERIFY(combo->state().focusable && combo->state().focused);
    // The focus shows on the screen too, whatever moved it there (here the program, no Tab).
    const QImage withFocus = f.lookup->grab().toImage();
    f.lookup->clearFocus();
    QVERIFY(f.lookup->grab().toImage() != withFocus);
    f.lookup->setFocus();
    QCOMPARE(f.lookup->grab().toImage(), withFocus);
    QVERIFY(combo->state().collapsed && !combo->state().expanded && !combo->state().readOnly);
    QCOMPARE(combo->childCount(), 0);

    combo->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QVERIFY(f.lookup->isListOpen());
    QVERIFY(combo->state().expanded && !combo->state().collapsed);
    QCOMPARE(combo->childCount(), 1);
    QAccessibleInterface* list = combo->child(0);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->object(), f.lookup->dropDownList());
    QCOMPARE(list->parent(), combo);
    QCOMPARE(list->childCount(), 3);
    QCOMPARE(list->child(0)->role(), QAccessible::ListItem);
    QCOMPARE(list->child(0)->text(QAccessible::Name), u"ALİ KAYA"_s);
    QVERIFY(!list->child(0)->state().selected);
    QAccessibleInterface* current = list->child(1);
    QCOMPARE(current->text(QAccessible::Name), u"ŞAHİN YILMAZ"_s);
    QVERIFY(current->state().selected && current->state().focused);
    QCOMPARE(list->indexOfChild(current), 1);
    QCOMPARE(current->parent(), list);
    QCOMPARE(combo->focusChild(), current);
    QTest::keyClick(f.lookup, Qt::Key_Down);
    QVERIFY(!current->state().selected && list->child(2)->state().selected);
    QCOMPARE(list->child(1), current); // kept while the rows stay

    // A row going away drops the items made so far; so does closing the list.
    const QAccessible::Id before = QAccessible::uniqueId(current);
    f.okuyucu.deleteRecord();
    QCOMPARE(QAccessible::accessibleInterface(before), nullptr);
    QCOMPARE(list->childCount(), 2);
    const QAccessible::Id after = QAccessible::uniqueId(list->child(0));
    f.lookup->closeUp(false);
    QVERIFY(combo->state().collapsed && !combo->state().expanded);
    QCOMPARE(combo->childCount(), 0);
    QCOMPARE(combo->child(0), nullptr);
    QCOMPARE(QAccessible::accessibleInterface(after), nullptr);

    // A name of its own comes before the label's.
    f.lookup->setAccessibleName(u"Okuyucu"_s);
    QCOMPARE(combo->text(QAccessible::Name), u"Okuyucu"_s);
}

QTEST_MAIN(TestLookupComboBox)
#include "tst_lookupcombobox.moc"
