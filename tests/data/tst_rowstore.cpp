// The row store keeps every row in one piece inside large blocks: rows that do not fit where a
// block ends move on whole, cells larger than a block get a block of their own, and copies and
// moves leave no row pointing into another store's memory.

#include "data/rowstore.h"

#include <QTest>
#include <string>

using data::RowStore;
using Storage = RowStore::Storage;

namespace {

// Row r: an integer r, a text of r % 300 letters, and every 7th row a null.
std::string textOf(int r) {
    return std::string(static_cast<size_t>(r % 300), char('a' + r % 26));
}

void addRow(RowStore& store, int r) {
    store.beginRow();
    store.addInteger(r);
    const std::string text = textOf(r);
    store.addText(text.data(), text.size());
    if (r % 7 == 0)
        store.addNull();
    else
        store.addFloat(r + 0.5);
}

// Checks row `row` of `store` holds what addRow(r) put there.
bool holds(const RowStore& store, int row, int r) {
    const std::string text = textOf(r);
    return store.value(row, 0, data::Kind::Integer).toInteger() == r &&
           store.cell(row, 1).storage == Storage::Text && store.cell(row, 1).bytes == text &&
           store.cell(row, 2).storage == (r % 7 == 0 ? Storage::Null : Storage::Float);
}

} // namespace

class TestRowStore : public QObject {
    Q_OBJECT
private slots:
    void manyRowsAndAHugeCellReadBackExactly() {
        RowStore store(3);
        for (int r = 0; r < 20000; ++r)
            addRow(store, r);
        // A cell larger than any block, in the middle of a row.
        const std::string huge(size_t(20) << 20, 'x');
        store.beginRow();
        store.addInteger(-1);
        store.addBlob(huge.data(), huge.size());
        store.addText("son", 3);
        addRow(store, 20000);

        QCOMPARE(store.rowCount(), 20002);
        for (int r = 0; r < 20000; ++r)
            QVERIFY2(holds(store, r, r), qPrintable(QString::number(r)));
        QCOMPARE(store.cell(20000, 1).bytes.size(), huge.size());
        QVERIFY(store.cell(20000, 1).bytes == huge);
        QCOMPARE(store.value(20000, 2, data::Kind::WideString).toText(), QStringLiteral("son"));
        QVERIFY(holds(store, 20001, 20000));
    }

    void copiesAndMovesOwnTheirRows() {
        RowStore original(3);
        for (int r = 0; r < 500; ++r)
            addRow(original, r);

        RowStore copy(original);
        copy.replaceRow(3, original, 499);
        copy.removeRow(0);
        QCOMPARE(copy.rowCount(), 499);
        QVERIFY(holds(copy, 2, 499));
        QVERIFY(holds(copy, 0, 1));
        QCOMPARE(original.rowCount(), 500);
        QVERIFY(holds(original, 3, 3));

        RowStore assigned(3);
        addRow(assigned, 42);
        assigned = original;
        QCOMPARE(assigned.rowCount(), 500);
        QVERIFY(holds(assigned, 250, 250));

        RowStore moved(std::move(copy));
        QCOMPARE(moved.rowCount(), 499);
        QVERIFY(holds(moved, 498, 499));
        QCOMPARE(copy.rowCount(), 0); // NOLINT(bugprone-use-after-move): left empty and usable
        addRow(copy, 7);
        QVERIFY(holds(copy, 0, 7));

        moved = std::move(original);
        QCOMPARE(moved.rowCount(), 500);
        QVERIFY(holds(moved, 499, 499));

        moved.appendRow(copy, 0);
        QVERIFY(holds(moved, 500, 7));
        moved.clear();
        QCOMPARE(moved.rowCount(), 0);
        addRow(moved, 9);
        QVERIFY(holds(moved, 0, 9));
    }
};

QTEST_GUILESS_MAIN(TestRowStore)
#include "tst_rowstore.moc"
