// Record sets and data sources on a real database file: states, operations, the two write
// paths, messages, and what the data links hear.
#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/field.h"
#include "data/tables.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "support/tempdatabase.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;
using data::DataSetState;
using data::TADOQuery;
using data::Value;
using platform::DateTime;

namespace {

const QString closedError = u"kitap: Cannot perform this operation on a closed dataset"_s;
const QString notEditingError = u"kitap: Dataset not in edit or insert mode"_s;

// The message of the platform::Error that `f` throws; empty when it throws none.
template <typename F> QString failure(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.message();
    }
    return QString();
}

QString stateName(DataSetState s) {
    switch (s) {
    case DataSetState::Inactive:
        return u"closed"_s;
    case DataSetState::Browse:
        return u"browse"_s;
    case DataSetState::Edit:
        return u"edit"_s;
    case DataSetState::Insert:
        return u"insert"_s;
    }
    return QString();
}

// A control as the data source sees it: writes down every event with what it could see of the
// record set at that moment. `onUpdateData` plays a control with changed text.
class RecordingLink : public data::DataLink {
public:
    explicit RecordingLink(const TADOQuery& q) : q_(q) {}
    QStringList events;
    std::function<void()> onUpdateData;

    void activeChanged() override {
        events << u"active:"_s + stateName(q_.state()) + u':' + QString::number(q_.recordCount());
    }
    void dataSetChanged() override { events << u"changed:"_s + QString::number(q_.recNo()); }
    void dataSetScrolled() override { events << u"scrolled:"_s + QString::number(q_.recNo()); }
    void stateChanged() override { events << u"state:"_s + stateName(q_.state()); }
    void recordChanged(data::TField* f) override {
        events << u"record:"_s + f->fieldName() + u'=' + f->displayText();
    }
    void updateData() override {
        events << u"update"_s;
        if (onUpdateData)
            onUpdateData();
    }

private:
    const TADOQuery& q_;
};

// The book record set of the main window on a fresh database holding the given titles.
struct Books {
    testsupport::TempDatabase db;
    TADOQuery kitap{u"kitap"_s, data::kitapkayitTable(), u"select * from  kitapkayit"_s};
    RecordingLink link{kitap}; // outlives the data source, as a control its window's source
    data::TDataSource kitapD{u"kitapD"_s, &kitap};

    explicit Books(const QStringList& titles = {u"A"_s, u"B"_s, u"C"_s}) {
        for (const QString& t : titles)
            db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {t});
        kitap.setConnectionString(db.connectionString());
        kitapD.addLink(&link);
    }
    data::TField& field(const char16_t* name) { return kitap.fieldByName(QStringView(name)); }
    // The current row's title; "<none>" without a current row.
    QString current() const {
        return kitap.recNo() < 0 ? u"<none>"_s : kitap.displayText(kitap.recNo(), 2);
    }
    QString stored(const QString& column = u"KITABINADI"_s) {
        QStringList out;
        for (const QStringList& row :
             db.rows(u"SELECT "_s + column + u" FROM kitapkayit ORDER BY IDNO"_s))
            out << row.join(u'|');
        return out.join(u',');
    }
};

} // namespace

class RecordSetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void stateTable_data();
    void stateTable();
    void everyMoveRefusesAClosedRecordSet();
    void movesStayWithinTheRows();
    void locateSettlesAndFindsTheFirstMatch();
    void connectionStringChangesOnlyWhileClosed();
    void statementIsTheLinesEachFollowedByCrLf();
    void recordSetWithoutRows();
    void deletingTheLastRowMakesTheNewLastRowCurrent();
    void appendAfterAnAutomaticWritePostsTheFirstRow();

    void postSendsOnlyTheAssignedColumns();
    void refusedPostKeepsStateValuesAndModifiedFlag_data();
    void refusedPostKeepsStateValuesAndModifiedFlag();
    void refusedSettleKeepsTheRowWhereItWas();
    void refusedDeleteKeepsTheRow();

    void dateTimeWriteKeepsTheTimeOfDay();
    void nullDateTimeReadsAsZero();
    void textWriteCutsToTheColumnSize();
    void valuesTheKindCannotHoldAreShownAndKept_data();
    void valuesTheKindCannotHoldAreShownAndKept();
    void dateTimesTheFileCannotKeepAreRefused_data();
    void dateTimesTheFileCannotKeepAreRefused();
    void integerWrite_data();
    void integerWrite();
    void writesOutsideEditAndIntoTheKeyAreRefused();
    void integerColumnsTakeOnlySignsAndDigits();

    void eventsReachEveryLinkOfEveryDataSource();
    void updateDataRunsBeforePostAndSettle();
    void exceptionFromUpdateDataStopsTheOperation();
    void dataSourceAutoEdit();
    void dataSourceOutlivesItsRecordSet();
};

void RecordSetTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

// Rows A, B, C; the set-ups: closed; browse on B; edit of B (modified: title "B2"); a new row
// appended while on B (modified: title "N").
void RecordSetTest::stateTable_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("recNo");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("stored");

    const QString abc = u"A,B,C"_s, none = u"<none>"_s;
    const auto row = [](const QString& setup, const QString& op, const QString& state,
                        const QString& message, int recNo, const QString& current, int count,
                        bool modified, const QString& stored) {
        QTest::addRow("%s %s", qPrintable(setup), qPrintable(op))
            << setup << op << state << message << recNo << current << count << modified << stored;
    };

    // closed
    row(u"closed"_s, u"open"_s, u"browse"_s, {}, 0, u"A"_s, 3, false, abc);
    row(u"closed"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"closed"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    for (const QString& op : {u"append"_s, u"edit"_s, u"delete"_s, u"settle"_s, u"move"_s})
        row(u"closed"_s, op, u"closed"_s, closedError, -1, none, 0, false, abc);
    row(u"closed"_s, u"post"_s, u"closed"_s, notEditingError, -1, none, 0, false, abc);
    row(u"closed"_s, u"cancel"_s, u"closed"_s, {}, -1, none, 0, false, abc);

    // browse on B
    row(u"browse"_s, u"open"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"browse"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"browse"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"browse"_s, u"append"_s, u"insert"_s, {}, 3, QString(), 4, false, abc);
    row(u"browse"_s, u"edit"_s, u"edit"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"browse"_s, u"post"_s, u"browse"_s, notEditingError, 1, u"B"_s, 3, false, abc);
    row(u"browse"_s, u"cancel"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"browse"_s, u"delete"_s, u"browse"_s, {}, 1, u"C"_s, 2, false, u"A,C"_s);
    row(u"browse"_s, u"settle"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"browse"_s, u"move"_s, u"browse"_s, {}, 0, u"A"_s, 3, false, abc);

    // edit of B, nothing written
    row(u"edit"_s, u"open"_s, u"edit"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"edit"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"edit"_s, u"append"_s, u"insert"_s, {}, 3, QString(), 4, false, abc);
    row(u"edit"_s, u"edit"_s, u"edit"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit"_s, u"post"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit"_s, u"cancel"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit"_s, u"delete"_s, u"browse"_s, {}, 1, u"C"_s, 2, false, u"A,C"_s);
    row(u"edit"_s, u"settle"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit"_s, u"move"_s, u"browse"_s, {}, 0, u"A"_s, 3, false, abc);

    // edit of B, title written as B2
    const QString posted = u"A,B2,C"_s;
    row(u"edit modified"_s, u"open"_s, u"edit"_s, {}, 1, u"B2"_s, 3, true, abc);
    row(u"edit modified"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"edit modified"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"edit modified"_s, u"append"_s, u"insert"_s, {}, 3, QString(), 4, false, posted);
    row(u"edit modified"_s, u"edit"_s, u"edit"_s, {}, 1, u"B2"_s, 3, true, abc);
    row(u"edit modified"_s, u"post"_s, u"browse"_s, {}, 1, u"B2"_s, 3, false, posted);
    row(u"edit modified"_s, u"cancel"_s, u"browse"_s, {}, 1, u"B"_s, 3, false, abc);
    row(u"edit modified"_s, u"delete"_s, u"browse"_s, {}, 1, u"C"_s, 2, false, u"A,C"_s);
    row(u"edit modified"_s, u"settle"_s, u"browse"_s, {}, 1, u"B2"_s, 3, false, posted);
    row(u"edit modified"_s, u"move"_s, u"browse"_s, {}, 0, u"A"_s, 3, false, posted);

    // a new row after C, nothing written
    row(u"insert"_s, u"open"_s, u"insert"_s, {}, 3, QString(), 4, false, abc);
    row(u"insert"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"insert"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"insert"_s, u"append"_s, u"insert"_s, {}, 3, QString(), 4, false, abc);
    row(u"insert"_s, u"edit"_s, u"insert"_s, {}, 3, QString(), 4, false, abc);
    row(u"insert"_s, u"post"_s, u"browse"_s, {}, 3, QString(), 4, false, u"A,B,C,<null>"_s);
    row(u"insert"_s, u"cancel"_s, u"browse"_s, {}, 2, u"C"_s, 3, false, abc);
    row(u"insert"_s, u"delete"_s, u"browse"_s, {}, 2, u"C"_s, 3, false, abc);
    row(u"insert"_s, u"settle"_s, u"browse"_s, {}, 2, u"C"_s, 3, false, abc);
    row(u"insert"_s, u"move"_s, u"browse"_s, {}, 0, u"A"_s, 3, false, abc);

    // a new row after C, title written as N
    const QString added = u"A,B,C,N"_s;
    row(u"insert modified"_s, u"open"_s, u"insert"_s, {}, 3, u"N"_s, 4, true, abc);
    row(u"insert modified"_s, u"close"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"insert modified"_s, u"replace SQL"_s, u"closed"_s, {}, -1, none, 0, false, abc);
    row(u"insert modified"_s, u"append"_s, u"insert"_s, {}, 4, QString(), 5, false, added);
    row(u"insert modified"_s, u"edit"_s, u"insert"_s, {}, 3, u"N"_s, 4, true, abc);
    row(u"insert modified"_s, u"post"_s, u"browse"_s, {}, 3, u"N"_s, 4, false, added);
    row(u"insert modified"_s, u"cancel"_s, u"browse"_s, {}, 2, u"C"_s, 3, false, abc);
    row(u"insert modified"_s, u"delete"_s, u"browse"_s, {}, 2, u"C"_s, 3, false, abc);
    row(u"insert modified"_s, u"settle"_s, u"browse"_s, {}, 3, u"N"_s, 4, false, added);
    row(u"insert modified"_s, u"move"_s, u"browse"_s, {}, 0, u"A"_s, 4, false, added);
}

void RecordSetTest::stateTable() {
    QFETCH(QString, setup);
    QFETCH(QString, operation);
    QFETCH(QString, state);
    QFETCH(QString, message);
    QFETCH(int, recNo);
    QFETCH(QString, current);
    QFETCH(int, count);
    QFETCH(bool, modified);
    QFETCH(QString, stored);

    Books b;
    TADOQuery& q = b.kitap;
    if (setup != u"closed"_s) {
        q.open();
        q.moveTo(1);
        if (setup.startsWith(u"edit"_s))
            q.edit();
        if (setup.startsWith(u"insert"_s))
            q.append();
        if (setup.endsWith(u"modified"_s))
            b.field(u"KITABINADI").setText(setup.startsWith(u"edit"_s) ? u"B2"_s : u"N"_s);
    }
    const QString before = stateName(q.state());

    const QString newStatement = u"select * from  kitapkayit where IDNO > 0"_s;
    const QString got = failure([&] {
        if (operation == u"open"_s)
            q.open();
        else if (operation == u"close"_s)
            q.close();
        else if (operation == u"replace SQL"_s) {
            q.clearSql();
            q.addSql(newStatement);
        } else if (operation == u"append"_s)
            q.append();
        else if (operation == u"edit"_s)
            q.edit();
        else if (operation == u"post"_s)
            q.post();
        else if (operation == u"cancel"_s)
            q.cancel();
        else if (operation == u"delete"_s)
            q.deleteRecord();
        else if (operation == u"settle"_s)
            q.settle();
        else if (operation == u"move"_s)
            q.first();
        else
            QFAIL("unknown operation");
    });

    QCOMPARE(got, message);
    if (!message.isEmpty())
        QCOMPARE(stateName(q.state()), before);
    QCOMPARE(stateName(q.state()), state);
    QCOMPARE(q.active(), state != u"closed"_s);
    QCOMPARE(q.recNo(), recNo);
    QCOMPARE(b.current(), current);
    QCOMPARE(q.recordCount(), count);
    QCOMPARE(q.modified(), modified);
    QCOMPARE(q.assignedColumns().empty(), !modified);
    QCOMPARE(b.stored(), stored);
    QCOMPARE(b.kitapD.state(), q.state());
    if (operation == u"replace SQL"_s)
        QCOMPARE(q.statement(), newStatement + u"\r\n"_s);

    // Whatever was left pending is gone after a close; what was posted is what a new open reads.
    q.close();
    q.clearSql();
    q.addSql(u"select * from  kitapkayit order by IDNO"_s);
    q.open();
    QStringList titles;
    for (int r = 0; r < q.recordCount(); ++r)
        titles << (q.value(r, 2).isNull() ? u"<null>"_s : q.displayText(r, 2));
    QCOMPARE(titles.join(u','), stored);
}

void RecordSetTest::everyMoveRefusesAClosedRecordSet() {
    Books b;
    TADOQuery& q = b.kitap;
    const std::function<void()> moves[] = {
        [&] { q.first(); },
        [&] { q.last(); },
        [&] { q.next(); },
        [&] { q.prior(); },
        [&] { q.moveBy(2); },
        [&] { q.moveTo(1); },
        [&] { q.locate(b.field(u"KITABINADI"), Value(u"B"_s)); },
    };
    for (const auto& move : moves) {
        QCOMPARE(failure(move), closedError);
        QCOMPARE(q.state(), DataSetState::Inactive);
        QCOMPARE(q.recNo(), -1);
    }
    QVERIFY(b.link.events.isEmpty());
}

void RecordSetTest::movesStayWithinTheRows() {
    Books b({u"A"_s, u"B"_s, u"C"_s, u"D"_s});
    TADOQuery& q = b.kitap;
    q.open();
    const auto at = [&](int row, const QString& title) {
        return q.recNo() == row && b.current() == title && q.state() == DataSetState::Browse;
    };
    q.prior();
    QVERIFY(at(0, u"A"_s));
    q.next();
    QVERIFY(at(1, u"B"_s));
    q.last();
    QVERIFY(at(3, u"D"_s));
    q.next();
    QVERIFY(at(3, u"D"_s));
    q.moveBy(-2);
    QVERIFY(at(1, u"B"_s));
    q.moveBy(100);
    QVERIFY(at(3, u"D"_s));
    q.moveBy(-100);
    QVERIFY(at(0, u"A"_s));
    q.moveTo(2);
    QVERIFY(at(2, u"C"_s));
    q.first();
    QVERIFY(at(0, u"A"_s));

    // A move of a pending edit with nothing written drops it; the move still happens.
    q.edit();
    q.next();
    QVERIFY(at(1, u"B"_s));
    // A next from a pending new row: the row is dropped, the last row becomes current first.
    q.append();
    q.prior();
    QVERIFY(at(2, u"C"_s));
    QCOMPARE(q.recordCount(), 4);
}

void RecordSetTest::locateSettlesAndFindsTheFirstMatch() {
    Books b({u"A"_s, u"B"_s, u"B"_s, u"C"_s});
    b.db.exec(u"UPDATE kitapkayit SET DEGERI = IDNO * 10"_s);
    TADOQuery& q = b.kitap;
    q.open();
    QVERIFY(q.locate(b.field(u"KITABINADI"), Value(u"B"_s)));
    QCOMPARE(q.recNo(), 1);
    QVERIFY(q.locate(b.field(u"DEGERI"), Value(qint32(40))));
    QCOMPARE(q.recNo(), 3);
    QVERIFY(!q.locate(b.field(u"KITABINADI"), Value(u"X"_s)));
    QCOMPARE(q.recNo(), 3);
    // Text is compared as it is stored: "b" is not "B".
    QVERIFY(!q.locate(b.field(u"KITABINADI"), Value(u"b"_s)));

    // A written edit is posted before the search, and the search sees the posted value.
    q.edit();
    b.field(u"KITABINADI").setText(u"Z"_s);
    QVERIFY(q.locate(b.field(u"KITABINADI"), Value(u"Z"_s)));
    QCOMPARE(q.recNo(), 3);
    QCOMPARE(q.state(), DataSetState::Browse);
    QCOMPARE(b.stored(), u"A,B,B,Z"_s);
}

void RecordSetTest::connectionStringChangesOnlyWhileClosed() {
    Books b;
    TADOQuery& q = b.kitap;
    const QString cs = b.db.connectionString();
    q.open();
    q.moveTo(2);
    QCOMPARE(failure([&] { q.setConnectionString(cs); }), QString());
    QCOMPARE(q.state(), DataSetState::Browse);
    QCOMPARE(q.recNo(), 2);

    const QString other = u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\\elsewhere\\DATA.mdb;"
                          u"Persist Security Info=False"_s;
    QCOMPARE(failure([&] { q.setConnectionString(other); }),
             u"kitap: Cannot perform this operation on an open dataset"_s);
    QCOMPARE(q.connectionString(), cs);
    QCOMPARE(q.state(), DataSetState::Browse);
    QCOMPARE(q.recNo(), 2);
    q.edit();
    QCOMPARE(failure([&] { q.setConnectionString(other); }),
             u"kitap: Cannot perform this operation on an open dataset"_s);
    QCOMPARE(q.state(), DataSetState::Edit);

    // Closed, it takes the new string, and the next open goes to the new file.
    q.close();
    testsupport::TempDatabase second(u"İkinci Okul"_s);
    second.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"Öteki"_s});
    q.setConnectionString(second.connectionString());
    QCOMPARE(q.connectionString(), second.connectionString());
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(b.current(), u"Öteki"_s);
}

void RecordSetTest::statementIsTheLinesEachFollowedByCrLf() {
    Books b;
    TADOQuery& q = b.kitap;
    QCOMPARE(q.sqlLines(), QStringList{u"select * from  kitapkayit"_s});
    QCOMPARE(q.statement(), u"select * from  kitapkayit\r\n"_s);
    q.open();
    q.addSql(u"where KITABINADI like 'B%'"_s); // closes first
    QCOMPARE(q.state(), DataSetState::Inactive);
    QCOMPARE(q.statement(), u"select * from  kitapkayit\r\nwhere KITABINADI like 'B%'\r\n"_s);
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(b.current(), u"B"_s);

    q.clearSql();
    QCOMPARE(q.state(), DataSetState::Inactive);
    QCOMPARE(q.statement(), QString());
    QVERIFY(q.sqlLines().isEmpty());
    // A closed record set is closed by a change of its lines without a word to its links.
    b.link.events.clear();
    q.addSql(u"select * from  kitapkayit"_s);
    QVERIFY(b.link.events.isEmpty());
    q.open();
    QCOMPARE(q.recordCount(), 3);
}

void RecordSetTest::recordSetWithoutRows() {
    testsupport::TempDatabase db;
    TADOQuery okuyucu(u"okuyucu"_s, data::okuyucuTable(), u"select * from  okuyucu"_s);
    okuyucu.setConnectionString(db.connectionString());
    QCOMPARE(failure([&] { okuyucu.append(); }),
             u"okuyucu: Cannot perform this operation on a closed dataset"_s);
    okuyucu.open();
    QCOMPARE(okuyucu.state(), DataSetState::Browse);
    QCOMPARE(okuyucu.recordCount(), 0);
    QCOMPARE(okuyucu.recNo(), -1);
    QVERIFY(okuyucu.fieldByName(u"ADISOYADI").isNull());

    QCOMPARE(failure([&] { okuyucu.deleteRecord(); }),
             u"okuyucu: Cannot perform this operation on an empty dataset"_s);
    QCOMPARE(okuyucu.state(), DataSetState::Browse);
    // Moves on no rows do nothing and report nothing.
    okuyucu.first();
    okuyucu.last();
    okuyucu.next();
    QCOMPARE(okuyucu.recNo(), -1);

    // Edit without rows starts a new row; cancel leaves no current row.
    okuyucu.edit();
    QCOMPARE(okuyucu.state(), DataSetState::Insert);
    QCOMPARE(okuyucu.recordCount(), 1);
    QCOMPARE(okuyucu.recNo(), 0);
    okuyucu.fieldByName(u"ADISOYADI").setText(u"Ayşe Yılmaz"_s);
    okuyucu.cancel();
    QCOMPARE(okuyucu.state(), DataSetState::Browse);
    QCOMPARE(okuyucu.recordCount(), 0);
    QCOMPARE(okuyucu.recNo(), -1);
    QVERIFY(okuyucu.fieldByName(u"ADISOYADI").isNull());

    // The save sequence on no rows: edit, write, post inserts the row.
    okuyucu.edit();
    okuyucu.fieldByName(u"ADISOYADI").setText(u"Ayşe Yılmaz"_s);
    okuyucu.edit(); // already inserting: nothing
    QCOMPARE(okuyucu.recordCount(), 1);
    okuyucu.post();
    QCOMPARE(okuyucu.state(), DataSetState::Browse);
    QCOMPARE(okuyucu.recNo(), 0);
    QCOMPARE(okuyucu.fieldByName(u"ADISOYADI").text(), u"Ayşe Yılmaz"_s);
    QCOMPARE(db.rows(u"SELECT ADISOYADI FROM okuyucu"_s),
             std::vector<QStringList>{{u"Ayşe Yılmaz"_s}});

    // Delete in insert only drops the new row, even on a set that has no other rows.
    okuyucu.deleteRecord();
    QCOMPARE(okuyucu.recordCount(), 0);
    okuyucu.append();
    okuyucu.deleteRecord();
    QCOMPARE(okuyucu.state(), DataSetState::Browse);
    QCOMPARE(okuyucu.recNo(), -1);
    QCOMPARE(db.count(u"okuyucu"_s), 0);
}

void RecordSetTest::deletingTheLastRowMakesTheNewLastRowCurrent() {
    Books b;
    TADOQuery& q = b.kitap;
    q.open();
    q.last();
    q.deleteRecord();
    QCOMPARE(q.recNo(), 1);
    QCOMPARE(b.current(), u"B"_s);
    q.first();
    q.deleteRecord(); // the following row becomes current
    QCOMPARE(q.recNo(), 0);
    QCOMPARE(b.current(), u"B"_s);
    q.deleteRecord();
    QCOMPARE(q.recNo(), -1);
    QCOMPARE(q.recordCount(), 0);
    QCOMPARE(b.current(), u"<none>"_s);
    QCOMPARE(failure([&] { q.deleteRecord(); }),
             u"kitap: Cannot perform this operation on an empty dataset"_s);
    QCOMPARE(b.db.count(u"kitapkayit"_s), 0);
}

void RecordSetTest::appendAfterAnAutomaticWritePostsTheFirstRow() {
    testsupport::TempDatabase db;
    TADOQuery emanet(u"emanet"_s, data::hareketTable(), u"select * from  hareket"_s);
    emanet.setConnectionString(db.connectionString());
    emanet.open();
    emanet.append();
    emanet.fieldByName(u"DURUM").setText(u"Verildi"_s);
    emanet.append(); // the first row was written into: posted
    QCOMPARE(emanet.state(), DataSetState::Insert);
    QCOMPARE(emanet.recordCount(), 2);
    QCOMPARE(emanet.recNo(), 1);
    QVERIFY(emanet.fieldByName(u"DURUM").isNull());
    emanet.append(); // nothing written into the second: dropped
    QCOMPARE(emanet.recordCount(), 2);
    emanet.first();
    QCOMPARE(emanet.state(), DataSetState::Browse);
    QCOMPARE(emanet.recordCount(), 1);
    QCOMPARE(db.rows(u"SELECT O_ADI_SOYADI, TELEFONU, ADIGIKITAP, TESLIMTARIHI, "
                     u"GERIGETIRMETARIHI, ACIKLAMA, DURUM FROM hareket"_s),
             (std::vector<QStringList>{{u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s,
                                        u"<null>"_s, u"<null>"_s, u"Verildi"_s}}));
}

void RecordSetTest::postSendsOnlyTheAssignedColumns() {
    Books b{QStringList()};
    TADOQuery& q = b.kitap;
    q.open();
    q.append();
    b.field(u"KITABINADI").setText(u"Çalıkuşu"_s);
    b.field(u"DEGERI").setText(u"+12"_s);
    b.field(u"EDINMETARIHI").setAsDateTime(DateTime(39954.67738298611));
    QCOMPARE(q.assignedColumns(), (std::vector<int>{2, 8, 9}));
    q.post();
    QCOMPARE(b.db.rows(u"SELECT * FROM kitapkayit"_s),
             (std::vector<QStringList>{{u"1"_s, u"<null>"_s, u"Çalıkuşu"_s, u"<null>"_s,
                                        u"<null>"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s, u"12"_s,
                                        u"2009-05-21 16:15:25.890"_s, u"<null>"_s, u"<null>"_s,
                                        u"<null>"_s, u"<null>"_s, u"<null>"_s}}));
    // Stored as an integer, not as the text "12".
    QCOMPARE(b.db.rows(u"SELECT typeof(DEGERI) FROM kitapkayit"_s),
             std::vector<QStringList>{{u"integer"_s}});

    // An update sets only what was written: any other column in the SET list would trip this.
    b.db.exec(u"CREATE TRIGGER only_title BEFORE UPDATE OF SERINO, YAZARI, TURU, YAYINEVI, "
              u"BARKODU, EDINME, DEGERI, EDINMETARIHI, BASKITARIHI, BASIMYERI, BASIMYILI, "
              u"BASKINO, ACIKLAMA ON kitapkayit BEGIN SELECT RAISE(ABORT, 'other column'); END"_s);
    q.edit();
    b.field(u"KITABINADI").setText(u"Çalıkuşu (roman)"_s);
    QCOMPARE(failure([&] { q.post(); }), QString());
    QCOMPARE(b.stored(u"KITABINADI, DEGERI"_s), u"Çalıkuşu (roman)|12"_s);

    // An edit that wrote nothing sends no update at all.
    b.db.exec(u"CREATE TRIGGER no_update BEFORE UPDATE ON kitapkayit "
              u"BEGIN SELECT RAISE(ABORT, 'updated'); END"_s);
    q.edit();
    QCOMPARE(failure([&] { q.post(); }), QString());
    QCOMPARE(q.state(), DataSetState::Browse);
}

void RecordSetTest::refusedPostKeepsStateValuesAndModifiedFlag_data() {
    QTest::addColumn<bool>("inserting");
    QTest::newRow("insert") << true;
    QTest::newRow("edit") << false;
}

void RecordSetTest::refusedPostKeepsStateValuesAndModifiedFlag() {
    QFETCH(bool, inserting);
    Books b;
    TADOQuery& q = b.kitap;
    b.db.exec(u"CREATE TRIGGER refuse BEFORE %1 ON kitapkayit "
              u"BEGIN SELECT RAISE(ABORT, 'Bu kayıt kabul edilmedi'); END"_s.arg(
                  inserting ? u"INSERT"_s : u"UPDATE"_s));
    q.open();
    q.moveTo(1);
    inserting ? q.append() : q.edit();
    b.field(u"KITABINADI").setText(u"Yeni Başlık"_s);
    b.field(u"DEGERI").setText(u"-7"_s);
    const DataSetState state = q.state();
    const int recNo = q.recNo();

    // The provider's message unchanged, without the record set's name.
    QCOMPARE(failure([&] { q.post(); }), u"Bu kayıt kabul edilmedi"_s);
    QCOMPARE(q.state(), state);
    QCOMPARE(q.recNo(), recNo);
    QCOMPARE(q.recordCount(), inserting ? 4 : 3);
    QVERIFY(q.modified());
    QCOMPARE(q.assignedColumns(), (std::vector<int>{2, 8}));
    QCOMPARE(b.field(u"KITABINADI").text(), u"Yeni Başlık"_s);
    QCOMPARE(b.field(u"DEGERI").value(), Value(qint32(-7)));
    QCOMPARE(b.stored(), u"A,B,C"_s);

    // Corrected, the same pending row saves.
    b.db.exec(u"DROP TRIGGER refuse"_s);
    q.post();
    QCOMPARE(q.state(), DataSetState::Browse);
    QCOMPARE(q.recNo(), recNo);
    QCOMPARE(b.stored(u"KITABINADI, DEGERI"_s), inserting
                                                    ? u"A|<null>,B|<null>,C|<null>,Yeni Başlık|-7"_s
                                                    : u"A|<null>,Yeni Başlık|-7,C|<null>"_s);
}

void RecordSetTest::refusedSettleKeepsTheRowWhereItWas() {
    Books b;
    TADOQuery& q = b.kitap;
    b.db.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON kitapkayit "
              u"BEGIN SELECT RAISE(ABORT, 'dolu'); END"_s);
    q.open();
    q.append();
    b.field(u"KITABINADI").setText(u"N"_s);
    QCOMPARE(failure([&] { q.first(); }), u"dolu"_s);
    QCOMPARE(failure([&] { q.append(); }), u"dolu"_s);
    QCOMPARE(failure([&] { q.settle(); }), u"dolu"_s);
    QCOMPARE(q.state(), DataSetState::Insert);
    QCOMPARE(q.recNo(), 3);
    QCOMPARE(q.recordCount(), 4);
    QCOMPARE(b.current(), u"N"_s);
    QVERIFY(q.modified());
    // Leaving without saving still works.
    q.cancel();
    QCOMPARE(q.recNo(), 2);
    QCOMPARE(b.stored(), u"A,B,C"_s);
}

void RecordSetTest::refusedDeleteKeepsTheRow() {
    Books b;
    TADOQuery& q = b.kitap;
    b.db.exec(u"CREATE TRIGGER keep BEFORE DELETE ON kitapkayit "
              u"BEGIN SELECT RAISE(ABORT, 'silinemez'); END"_s);
    q.open();
    q.moveTo(1);
    QCOMPARE(failure([&] { q.deleteRecord(); }), u"silinemez"_s);
    QCOMPARE(q.state(), DataSetState::Browse);
    QCOMPARE(q.recNo(), 1);
    QCOMPARE(q.recordCount(), 3);
    QCOMPARE(b.current(), u"B"_s);

    q.edit();
    b.field(u"KITABINADI").setText(u"B2"_s);
    QCOMPARE(failure([&] { q.deleteRecord(); }), u"silinemez"_s);
    QCOMPARE(q.state(), DataSetState::Edit);
    QCOMPARE(b.current(), u"B2"_s);
    QVERIFY(q.modified());
    QCOMPARE(b.stored(), u"A,B,C"_s);
}

void RecordSetTest::dateTimeWriteKeepsTheTimeOfDay() {
    Books b({u"Sefiller"_s});
    TADOQuery& q = b.kitap;
    q.open();
    q.edit();
    data::TField& edinme = b.field(u"EDINMETARIHI");
    data::TField& baski = b.field(u"BASKITARIHI");
    edinme.setAsDateTime(DateTime(39954.67738298611));
    baski.setAsDateTime(DateTime(39954.0));
    QCOMPARE(edinme.displayText(), u"21.05.2009 16:15:25"_s);
    QCOMPARE(baski.displayText(), u"21.05.2009"_s); // midnight: the date alone
    q.post();
    QCOMPARE(b.stored(u"EDINMETARIHI, BASKITARIHI"_s),
             u"2009-05-21 16:15:25.890|2009-05-21 00:00:00.000"_s);

    q.close();
    q.open();
    QCOMPARE(edinme.asDateTime(), DateTime(39954.67738298611));
    QCOMPARE(edinme.asDateTime().time(), QTime(16, 15, 25, 890));
    QVERIFY(qAbs(edinme.asDateTime().days() - 39954.67738298611) < 1e-8);
    QCOMPARE(edinme.displayText(), u"21.05.2009 16:15:25"_s);
    QCOMPARE(baski.displayText(), u"21.05.2009"_s);

    // A date written by another tool without milliseconds reads the same way.
    b.db.exec(u"UPDATE kitapkayit SET BASKITARIHI = '1999-01-31 08:05:00'"_s);
    q.close();
    q.open();
    QCOMPARE(baski.displayText(), u"31.01.1999 08:05:00"_s);
    QCOMPARE(baski.asDateTime(), DateTime::fromDate(QDate(1999, 1, 31), QTime(8, 5)));
}

void RecordSetTest::nullDateTimeReadsAsZero() {
    Books b({u"Sefiller"_s});
    TADOQuery& q = b.kitap;
    data::TField& baski = b.field(u"BASKITARIHI");
    QCOMPARE(baski.asDateTime().days(), 0.0); // no current row
    q.open();
    QVERIFY(baski.isNull());
    QCOMPARE(baski.asDateTime().days(), 0.0);
    QCOMPARE(baski.asDateTime().date(), QDate(1899, 12, 30));
    QCOMPARE(baski.asDateTime().time(), QTime(0, 0));
    QCOMPARE(baski.displayText(), QString());
    // Set back to null through the edit-text path, the column is null again, not 0.
    q.edit();
    baski.setAsDateTime(DateTime(39954.5));
    baski.setText(QString());
    q.post();
    QCOMPARE(b.stored(u"BASKITARIHI"_s), u"<null>"_s);
}

void RecordSetTest::textWriteCutsToTheColumnSize() {
    Books b({u"Sefiller"_s});
    TADOQuery& q = b.kitap;
    q.open();
    q.edit();
    const QString serial = QString(35, u'ş');
    b.field(u"SERINO").setText(serial);            // 30 characters
    b.field(u"BASKINO").setText(u"1234567890X"_s); // 10 characters
    const QString note = QString(300, u'İ');
    b.field(u"ACIKLAMA").setText(note);               // 255 characters
    b.field(u"YAZARI").setText(u"  Victor Hugo  "_s); // unchanged, blanks included
    QCOMPARE(b.field(u"SERINO").text(), QString(30, u'ş'));
    q.post();
    QCOMPARE(b.stored(u"length(SERINO), BASKINO, length(ACIKLAMA), YAZARI"_s),
             u"30|1234567890|255|  Victor Hugo  "_s);
    QCOMPARE(b.stored(u"SERINO"_s), QString(30, u'ş'));
    // A text that fits is stored whole, the column's size exactly included.
    q.edit();
    b.field(u"BASKINO").setText(u"12345678ğü"_s);
    q.post();
    QCOMPARE(b.stored(u"BASKINO"_s), u"12345678ğü"_s);

    // A character of two code units (an emoji) that the cut would halve goes whole; one that
    // ends exactly at the size stays.
    const QString emoji = u"\U0001F4DA"_s; // books
    QCOMPARE(emoji.size(), 2);
    q.edit();
    b.field(u"BASKINO").setText(u"123456789"_s + emoji);
    b.field(u"BASIMYILI").setText(u"12345678"_s + emoji + u"9"_s);
    q.post();
    QCOMPARE(b.stored(u"BASKINO, BASIMYILI"_s), u"123456789|12345678"_s + emoji);
    QCOMPARE(b.field(u"BASKINO").text(), u"123456789"_s);
}

void RecordSetTest::valuesTheKindCannotHoldAreShownAndKept_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored"); // as SQL, written by another program
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // what the user then writes into the column
    QTest::addColumn<QString>("written");

    QTest::newRow("integer beyond 32 bits")
        << u"DEGERI"_s << u"4294967297"_s << u"4294967297"_s << u"12"_s << u"12"_s;
    QTest::newRow("negative beyond 32 bits")
        << u"DEGERI"_s << u"-2147483649"_s << u"-2147483649"_s << u""_s << u"NULL"_s;
    QTest::newRow("real in the integer column")
        << u"DEGERI"_s << u"2.5"_s << u"2.5"_s << u"-3"_s << u"-3"_s;
    QTest::newRow("text in the integer column")
        << u"DEGERI"_s << u"'on iki'"_s << u"on iki"_s << u"7"_s << u"7"_s;
    QTest::newRow("date text no date") << u"EDINMETARIHI"_s << u"'31/12/2009'"_s << u"31/12/2009"_s
                                       << u"2009-12-31"_s << u"'2009-12-31 00:00:00.000'"_s;
    QTest::newRow("number in the date column")
        << u"EDINMETARIHI"_s << u"40000.5"_s << u"40000.5"_s << u""_s << u"NULL"_s;
    QTest::newRow("real in a date column, all its digits")
        << u"BASKITARIHI"_s << u"3.141592653589793"_s << u"3.141592653589793"_s << u""_s
        << u"NULL"_s;
    QTest::newRow("blob in a text column")
        << u"KITABINADI"_s << u"X'4B697461'"_s << u"Kita"_s << u"Kitap"_s << u"'Kitap'"_s;
}

void RecordSetTest::valuesTheKindCannotHoldAreShownAndKept() {
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    Books b({u"Sefiller"_s});
    b.db.exec(u"UPDATE kitapkayit SET %1 = %2"_s.arg(column, stored));
    const QString asStored = b.stored(u"quote(%1)"_s.arg(column));
    TADOQuery& q = b.kitap;
    q.open();
    data::TField& f = b.field(reinterpret_cast<const char16_t*>(column.utf16()));
    QCOMPARE(f.displayText(), shown);
    QCOMPARE(q.displayText(0, f.index()), shown);

    // Another column saved: this one stays exactly as stored, kind included.
    q.edit();
    QCOMPARE(f.text(), shown);
    b.field(column == u"YAZARI"_s ? u"TURU" : u"YAZARI").setText(u"Victor Hugo"_s);
    q.post();
    QCOMPARE(b.stored(u"quote(%1)"_s.arg(column)), asStored);
    QCOMPARE(f.displayText(), shown);

    // Written by the user, it takes the new value.
    q.edit();
    f.setText(typed);
    q.post();
    QCOMPARE(b.stored(u"quote(%1)"_s.arg(column)), written);
}

void RecordSetTest::dateTimesTheFileCannotKeepAreRefused_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("stored"); // "" when refused
    const double first = DateTime::fromDate(QDate(100, 1, 1)).days();
    const double last = DateTime::fromDate(QDate(9999, 12, 31), QTime(23, 59, 59, 999)).days();
    QTest::newRow("first day of the year 100") << first << u"0100-01-01 00:00:00.000"_s;
    QTest::newRow("last moment of 9999") << last << u"9999-12-31 23:59:59.999"_s;
    QTest::newRow("year 99") << DateTime::fromDate(QDate(99, 12, 31)).days() << QString();
    QTest::newRow("year 10000") << DateTime::fromDate(QDate(10000, 1, 1)).days() << QString();
    QTest::newRow("not a number") << std::nan("") << QString();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QString();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << QString();
    QTest::newRow("huge") << 1e300 << QString();
}

void RecordSetTest::dateTimesTheFileCannotKeepAreRefused() {
    QFETCH(double, days);
    QFETCH(QString, stored);
    Books b({u"Sefiller"_s});
    TADOQuery& q = b.kitap;
    q.open();
    q.edit();
    b.field(u"KITABINADI").setText(u"Sefiller 2"_s);
    const QString message =
        failure([&] { b.field(u"EDINMETARIHI").setAsDateTime(DateTime(days)); });
    if (stored.isEmpty()) {
        QCOMPARE(message, u"The date and time of day count %1 cannot be stored in field "
                          u"'EDINMETARIHI': the file keeps dates from the year 100 to the year "
                          u"9999 only"_s.arg(QString::number(days, 'g', 17)));
        QVERIFY(b.field(u"EDINMETARIHI").isNull());
        QCOMPARE(q.assignedColumns(), std::vector<int>{2});
        q.post();
        QCOMPARE(b.stored(u"KITABINADI, EDINMETARIHI"_s), u"Sefiller 2|<null>"_s);
        return;
    }
    QCOMPARE(message, QString());
    q.post();
    QCOMPARE(b.stored(u"EDINMETARIHI"_s), stored);
    q.close();
    q.open();
    QCOMPARE(b.field(u"EDINMETARIHI").asDateTime(), DateTime(days));
}

void RecordSetTest::integerWrite_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // "" when the write is refused

    QTest::newRow("plus sign") << u"+12"_s << u"12"_s;
    QTest::newRow("minus sign") << u"-7"_s << u"-7"_s;
    QTest::newRow("zero") << u"0"_s << u"0"_s;
    QTest::newRow("leading zeros") << u"007"_s << u"7"_s;
    QTest::newRow("largest") << u"2147483647"_s << u"2147483647"_s;
    QTest::newRow("smallest") << u"-2147483648"_s << u"-2147483648"_s;
    QTest::newRow("empty text is null") << QString() << u"<null>"_s;
    QTest::newRow("sign inside") << u"1-2"_s << QString();
    QTest::newRow("lone plus") << u"+"_s << QString();
    QTest::newRow("lone minus") << u"-"_s << QString();
    QTest::newRow("two signs") << u"+-1"_s << QString();
    QTest::newRow("one too large") << u"2147483648"_s << QString();
    QTest::newRow("one too small") << u"-2147483649"_s << QString();
    QTest::newRow("far too large") << u"99999999999999999999999"_s << QString();
    QTest::newRow("letter") << u"12a"_s << QString();
    QTest::newRow("blank before") << u" 12"_s << QString();
    QTest::newRow("blank after") << u"12 "_s << QString();
    QTest::newRow("decimal") << u"1,5"_s << QString();
    QTest::newRow("Arabic-Indic digit") << u"١٢"_s << QString();
}

void RecordSetTest::integerWrite() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    Books b({u"Sefiller"_s});
    b.db.exec(u"UPDATE kitapkayit SET DEGERI = 55"_s);
    TADOQuery& q = b.kitap;
    q.open();
    q.edit();
    data::TField& degeri = b.field(u"DEGERI");
    const QString message = failure([&] { degeri.setText(text); });
    if (stored.isEmpty()) {
        // This message carries no record-set name.
        QCOMPARE(message, u"'%1' is not a valid integer value for field 'DEGERI'"_s.arg(text));
        QCOMPARE(degeri.value(), Value(qint32(55)));
        QVERIFY(!q.modified());
        QVERIFY(q.assignedColumns().empty());
        QCOMPARE(q.state(), DataSetState::Edit);
        QVERIFY(b.link.events.filter(u"record:"_s).isEmpty());
    } else {
        QCOMPARE(message, QString());
        QVERIFY(q.modified());
        q.post();
        QCOMPARE(b.stored(u"DEGERI"_s), stored);
        QCOMPARE(degeri.text(), stored == u"<null>"_s ? QString() : stored);
    }
}

void RecordSetTest::writesOutsideEditAndIntoTheKeyAreRefused() {
    Books b;
    TADOQuery& q = b.kitap;
    data::TField& title = b.field(u"KITABINADI");
    data::TField& key = b.field(u"IDNO");
    QVERIFY(key.readOnly());
    QVERIFY(!title.readOnly());

    QCOMPARE(failure([&] { title.setText(u"x"_s); }), notEditingError); // closed
    q.open();
    QCOMPARE(failure([&] { title.setText(u"x"_s); }), notEditingError);
    QCOMPARE(failure([&] { b.field(u"EDINMETARIHI").setAsDateTime(DateTime(1.0)); }),
             notEditingError);
    QCOMPARE(b.current(), u"A"_s);

    q.edit();
    QCOMPARE(failure([&] { key.setText(u"5"_s); }), u"Field 'IDNO' cannot be modified"_s);
    QCOMPARE(failure([&] { key.setValue(Value(qint32(5))); }),
             u"Field 'IDNO' cannot be modified"_s);
    QVERIFY(!q.modified());
    QCOMPARE(key.value(), Value(qint32(1)));
    q.append();
    QCOMPARE(failure([&] { key.setText(u"9"_s); }), u"Field 'IDNO' cannot be modified"_s);
    QVERIFY(!q.modified());

    // A field name the table does not have.
    QCOMPARE(failure([&] { q.fieldByName(u"YOK"); }), u"kitap: Field 'YOK' not found"_s);
    QCOMPARE(&q.fieldByName(u"kitabinadi"), &title);
}

void RecordSetTest::integerColumnsTakeOnlySignsAndDigits() {
    Books b;
    const data::TField& degeri = b.field(u"DEGERI");
    QString taken;
    for (const QChar c : u"+-0123456789 a.,e٣xİ"_s)
        if (degeri.isValidChar(c))
            taken += c;
    QCOMPARE(taken, u"+-0123456789"_s);
    for (const char16_t* name : {u"KITABINADI", u"EDINMETARIHI"})
        for (const QChar c : u"+-09 a.,e٣xİş\n"_s)
            QVERIFY(b.field(name).isValidChar(c));
}

void RecordSetTest::eventsReachEveryLinkOfEveryDataSource() {
    Books b;
    TADOQuery& q = b.kitap;
    // The entry window's controls hang on a second data source of the same record set.
    RecordingLink control(q);
    RecordingLink removed(q);
    data::TDataSource entry(u"entry"_s, &q);
    entry.addLink(&control);
    entry.addLink(&removed);
    entry.removeLink(&removed);

    q.open();
    q.next();
    q.edit();
    b.field(u"KITABINADI").setText(u"B2"_s);
    q.edit(); // already editing: nothing at all
    q.post();
    q.append();
    q.edit(); // already inserting: nothing at all
    q.cancel();
    q.close();

    const QStringList expected = {
        u"active:browse:3"_s, u"scrolled:1"_s,   u"state:edit"_s, u"record:KITABINADI=B2"_s,
        u"update"_s,          u"state:browse"_s, u"changed:1"_s,  u"state:insert"_s,
        u"changed:3"_s,       u"state:browse"_s, u"changed:2"_s,  u"active:closed:0"_s,
    };
    QCOMPARE(b.link.events, expected);
    QCOMPARE(control.events, expected);
    QVERIFY(removed.events.isEmpty());

    // A delete tells of the rows, a close of a pending edit just closes.
    b.link.events.clear();
    q.open();
    q.deleteRecord();
    q.edit();
    q.close();
    QCOMPARE(b.link.events, (QStringList{u"active:browse:3"_s, u"changed:0"_s, u"state:edit"_s,
                                         u"active:closed:0"_s}));
}

void RecordSetTest::updateDataRunsBeforePostAndSettle() {
    Books b;
    TADOQuery& q = b.kitap;
    // A control whose text changed writes it when asked, as a bound edit does.
    QString pendingText;
    b.link.onUpdateData = [&] {
        if (!pendingText.isEmpty())
            b.field(u"YAZARI").setText(std::exchange(pendingText, QString()));
    };
    q.open();
    q.edit();
    pendingText = u"Reşat Nuri"_s;
    q.post();
    QCOMPARE(b.stored(u"YAZARI"_s), u"Reşat Nuri,<null>,<null>"_s);

    // Settling on a move: nothing written yet, but the control's text makes the row modified,
    // so it is posted rather than dropped.
    q.next();
    q.edit();
    pendingText = u"Halide Edib"_s;
    q.next();
    QCOMPARE(q.recNo(), 2);
    QCOMPARE(b.stored(u"YAZARI"_s), u"Reşat Nuri,Halide Edib,<null>"_s);

    // The same for a new row settled by append.
    q.append();
    pendingText = u"Sait Faik"_s;
    q.append();
    QCOMPARE(q.recordCount(), 5);
    QCOMPARE(b.stored(u"YAZARI"_s), u"Reşat Nuri,Halide Edib,<null>,Sait Faik"_s);
    q.cancel();
    QCOMPARE(q.recNo(), 3);
}

void RecordSetTest::exceptionFromUpdateDataStopsTheOperation() {
    Books b;
    TADOQuery& q = b.kitap;
    bool refuse = true;
    b.link.onUpdateData = [&] {
        if (refuse)
            b.field(u"DEGERI").setText(u"12a"_s); // the value box's invalid text
    };
    const QString invalid = u"'12a' is not a valid integer value for field 'DEGERI'"_s;
    q.open();
    q.moveTo(1);
    q.edit();
    b.field(u"KITABINADI").setText(u"B2"_s);

    QCOMPARE(failure([&] { q.post(); }), invalid);
    QCOMPARE(q.state(), DataSetState::Edit);
    QCOMPARE(b.current(), u"B2"_s);
    QVERIFY(q.modified());
    QCOMPARE(failure([&] { q.next(); }), invalid);
    QCOMPARE(q.recNo(), 1);
    QCOMPARE(failure([&] { q.append(); }), invalid);
    QCOMPARE(q.recordCount(), 3);
    QCOMPARE(q.state(), DataSetState::Edit);
    QCOMPARE(b.stored(), u"A,B,C"_s);

    refuse = false;
    q.post();
    QCOMPARE(b.stored(), u"A,B2,C"_s);
}

void RecordSetTest::dataSourceAutoEdit() {
    Books b({u"A"_s});
    TADOQuery& q = b.kitap;
    data::TDataSource& d = b.kitapD;
    QVERIFY(d.autoEdit);
    QVERIFY(d.enabled);
    QCOMPARE(d.state(), DataSetState::Inactive);
    QVERIFY(!d.edit()); // closed: the control's change is refused
    QCOMPARE(q.state(), DataSetState::Inactive);

    q.open();
    QCOMPARE(d.state(), DataSetState::Browse);
    QVERIFY(d.edit()); // browse: starts editing
    QCOMPARE(q.state(), DataSetState::Edit);
    QCOMPARE(d.state(), DataSetState::Edit);
    b.field(u"KITABINADI").setText(u"A2"_s);
    QVERIFY(d.edit()); // edit: nothing more
    QCOMPARE(b.current(), u"A2"_s);
    QVERIFY(q.modified());

    q.cancel();
    q.append();
    QVERIFY(d.edit()); // insert: nothing more, no second row
    QCOMPARE(q.state(), DataSetState::Insert);
    QCOMPARE(q.recordCount(), 2);
    q.cancel();

    // Browse on no rows: the edit starts a new row.
    q.deleteRecord();
    QVERIFY(d.edit());
    QCOMPARE(q.state(), DataSetState::Insert);
    q.cancel();

    d.autoEdit = false;
    QVERIFY(!d.edit());
    QCOMPARE(q.state(), DataSetState::Browse);

    data::TDataSource lonely(u"lonely"_s);
    QCOMPARE(lonely.state(), DataSetState::Inactive);
    QVERIFY(!lonely.edit());
}

void RecordSetTest::dataSourceOutlivesItsRecordSet() {
    testsupport::TempDatabase db;
    auto q = std::make_unique<TADOQuery>(u"kitap"_s, data::kitapkayitTable(),
                                         u"select * from  kitapkayit"_s);
    q->setConnectionString(db.connectionString());
    q->open();
    RecordingLink link(*q);
    data::TDataSource source(u"kitapD"_s, q.get());
    source.addLink(&link);
    q.reset();
    QCOMPARE(source.dataSet(), nullptr);
    QCOMPARE(source.state(), DataSetState::Inactive);
    QVERIFY(!source.edit());
    QCOMPARE(link.events.size(), 1); // told that the record set is gone
}

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_recordset.moc"
