// The data grid over a real book table: what it shows, how it follows the record set, and how
// its keys, clicks and focus changes move and settle the record set's current row.

#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/widgets/dbgrid.h"
#include "data/widgets/dbgridmodel.h"
#include "platform/dialogs.h"
#include "platform/textrules.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using data::TDBGrid;
using Indicator = data::TDBGrid::Indicator;
using platform::Answer;

namespace {

// A window with the book grid above an edit box (another control of the same window).
struct Fixture {
    testsupport::TempDatabase db;
    data::TADOQuery kitap{QStringLiteral("kitap"), data::kitapkayitTable(),
                          QStringLiteral("select * from  kitapkayit")};
    data::TDataSource kitapD{QStringLiteral("kitapD"), &kitap};
    testsupport::ScriptedDialogs dialogs;
    QWidget window;
    TDBGrid* grid = new TDBGrid;
    QLineEdit* edit = new QLineEdit;
    QMenu* menu = new QMenu(&window);

    explicit Fixture(int books) {
        db.exec(QStringLiteral("BEGIN"));
        for (int i = 1; i <= books; ++i)
            db.insert(QStringLiteral("kitapkayit"),
                      {QStringLiteral("SERINO"), QStringLiteral("KITABINADI"),
                       QStringLiteral("DEGERI"), QStringLiteral("EDINMETARIHI")},
                      {QStringLiteral("S%1").arg(i), QStringLiteral("Kitap %1").arg(i), i * 10,
                       i == 1 ? QVariant(QStringLiteral("2009-05-21 16:15:25.890")) : QVariant()});
        db.exec(QStringLiteral("COMMIT"));
        kitap.setConnectionString(db.connectionString());
        menu->addAction(QStringLiteral("Sil"));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(edit);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        grid->setColumns({{QStringLiteral("IDNO"), QStringLiteral("Kayıt Kodu")},
                          {QStringLiteral("SERINO"), QStringLiteral("Seri No"), 122},
                          {QStringLiteral("KITABINADI"), QStringLiteral("Kitabın Adı"), 207},
                          {QStringLiteral("YAZARI"), QStringLiteral("Yazarı")},
                          {QStringLiteral("DEGERI"), QStringLiteral("Değeri")},
                          {QStringLiteral("EDINMETARIHI"), QStringLiteral("Edinme Tarihi")}});
        grid->setDataSource(&kitapD);
        grid->setPopupMenu(menu);
        window.resize(700, 400);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the test window did not become active");
        // Exactly five whole lines fit.
        const int frame = grid->height() - grid->viewport()->height();
        grid->setFixedHeight(frame + 5 * grid->lineHeight() + grid->lineHeight() / 2);
        QApplication::processEvents();
        grid->setFocus();
    }

    QAbstractItemModel* model() const { return grid->model(); }
    QString cell(int row, int column) const {
        return model()->data(model()->index(row, column)).toString();
    }
    QString storedTitle(int id) {
        return db.rows(QStringLiteral("SELECT KITABINADI FROM kitapkayit WHERE IDNO = %1").arg(id))
            .at(0)
            .at(0);
    }
    void setTitle(const QString& text) { kitap.fieldByName(u"KITABINADI").setText(text); }
    QPoint rowPoint(int row) const { return grid->visualRect(model()->index(row, 2)).center(); }
};

} // namespace

class TestDBGrid : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private slots:
    void init() { f = std::make_unique<Fixture>(5); }
    void cleanup() { f.reset(); }

    void modelFollowsTheRecordSet() {
        QAbstractItemModel* m = f->model();
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(m, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(m, &QAbstractItemModel::dataChanged);

        // Closed: the titles over one empty line.
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(m->columnCount(), 6);
        QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Kitabın Adı"));
        QCOMPARE(m->data(m->index(0, 2)), QVariant());

        f->kitap.open();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(m->rowCount(), 5);
        QCOMPARE(f->cell(0, 0), QStringLiteral("1"));
        QCOMPARE(f->cell(0, 2), QStringLiteral("Kitap 1"));
        QCOMPARE(f->cell(4, 4), QStringLiteral("50"));
        QCOMPARE(f->cell(0, 5), platform::dateTimeDisplayText(
                                    *platform::DateTime::fromIso(u"2009-05-21 16:15:25.890")));
        QCOMPARE(f->cell(1, 5), QString());
        QCOMPARE(m->data(m->index(0, 4), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(m->data(m->index(0, 2), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));

        // The grid follows the current row, and a written field shows at once.
        f->kitap.moveTo(3);
        QCOMPARE(f->grid->currentIndex().row(), 3);
        QVERIFY(f->grid->selectionModel()->isRowSelected(3));
        f->kitap.append();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.last().at(1).toInt(), 5);
        QCOMPARE(m->rowCount(), 6);
        QCOMPARE(f->grid->currentIndex().row(), 5);
        f->setTitle(QStringLiteral("Yeni Kitap"));
        QCOMPARE(changed.last().at(0).toModelIndex(), m->index(5, 2));
        QCOMPARE(f->cell(5, 2), QStringLiteral("Yeni Kitap"));

        f->kitap.cancel();
        QCOMPARE(m->rowCount(), 5);
        QCOMPARE(f->grid->verticalHeader()->count(), 5);
        QCOMPARE(f->grid->currentIndex().row(), 4);
        f->kitap.moveTo(2);
        f->kitap.deleteRecord();
        QCOMPARE(m->rowCount(), 4);
        QCOMPARE(f->grid->verticalHeader()->count(), 4);
        QCOMPARE(f->cell(2, 2), QStringLiteral("Kitap 4"));
        QCOMPARE(f->grid->currentIndex().row(), 2);

        f->kitap.close();
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(m->data(m->index(0, 2)), QVariant());
        QVERIFY(!f->grid->currentIndex().isValid());
    }

    void indicatorShowsTheState() {
        QCOMPARE(f->grid->indicatorAt(0), Indicator::None);
        f->kitap.open();
        QCOMPARE(f->grid->indicatorAt(0), Indicator::Browse);
        f->kitap.moveTo(2);
        QCOMPARE(f->grid->indicatorAt(0), Indicator::None);
        QCOMPARE(f->grid->indicatorAt(2), Indicator::Browse);
        f->kitap.edit();
        QCOMPARE(f->grid->indicatorAt(2), Indicator::Edit);
        f->kitap.append();
        QCOMPARE(f->grid->indicatorAt(2), Indicator::None);
        QCOMPARE(f->grid->indicatorAt(5), Indicator::Insert);
        f->kitap.cancel();
        QCOMPARE(f->grid->indicatorAt(4), Indicator::Browse);
        f->kitap.close();
        QCOMPARE(f->grid->indicatorAt(0), Indicator::None);
    }

    void keyMoves_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("control");
        QTest::addColumn<int>("expected");
        QTest::newRow("Down") << 0 << int(Qt::Key_Down) << false << 1;
        QTest::newRow("Right") << 0 << int(Qt::Key_Right) << false << 1;
        QTest::newRow("Up") << 2 << int(Qt::Key_Up) << false << 1;
        QTest::newRow("Left") << 2 << int(Qt::Key_Left) << false << 1;
        QTest::newRow("Up on the first row") << 0 << int(Qt::Key_Up) << false << 0;
        QTest::newRow("Down on the last row") << 29 << int(Qt::Key_Down) << false << 29;
        QTest::newRow("PgDn") << 0 << int(Qt::Key_PageDown) << false << 5;
        QTest::newRow("PgUp") << 12 << int(Qt::Key_PageUp) << false << 7;
        QTest::newRow("Home") << 12 << int(Qt::Key_Home) << false << 0;
        QTest::newRow("Ctrl+Home") << 12 << int(Qt::Key_Home) << true << 0;
        QTest::newRow("End") << 3 << int(Qt::Key_End) << false << 29;
        QTest::newRow("Ctrl+End") << 3 << int(Qt::Key_End) << true << 29;
        // Moving to row 12 scrolls it to the bottom line: lines 8 to 12 are visible.
        QTest::newRow("Ctrl+Up") << 12 << int(Qt::Key_Up) << true << 8;
        QTest::newRow("Ctrl+PgUp") << 12 << int(Qt::Key_PageUp) << true << 8;
        QTest::newRow("Ctrl+Down") << 1 << int(Qt::Key_Down) << true << 4;
        QTest::newRow("Ctrl+PgDn") << 1 << int(Qt::Key_PageDown) << true << 4;
    }
    void keyMoves() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(bool, control);
        QFETCH(int, expected);
        f.reset(); // one fixture at a time: each installs its scripted dialogs
        f = std::make_unique<Fixture>(30);
        QCOMPARE(f->grid->visibleRowCount(), 5);
        f->kitap.open();
        f->kitap.moveTo(start);
        QTest::keyClick(f->grid, Qt::Key(key), control ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(f->kitap.recNo(), expected);
        QCOMPARE(f->grid->currentIndex().row(), expected);
        QVERIFY(f->dialogs.shown().isEmpty());
    }

    void movesSettleThePendingRow() {
        f->kitap.open();
        // A written edit is posted, an unwritten one dropped.
        f->kitap.edit();
        f->setTitle(QStringLiteral("Değişti"));
        QTest::keyClick(f->grid, Qt::Key_Down);
        QCOMPARE(f->storedTitle(1), QStringLiteral("Değişti"));
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 1);
        f->kitap.edit();
        QTest::keyClick(f->grid, Qt::Key_Right);
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 2);

        // An untouched new row: Up and Left drop it, Down and Right leave it alone.
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left}) {
            f->kitap.append();
            QTest::keyClick(f->grid, key);
            QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
            QCOMPARE(f->kitap.recNo(), 4);
            QCOMPARE(f->model()->rowCount(), 5);
        }
        f->kitap.append();
        QTest::keyClick(f->grid, Qt::Key_Down);
        QTest::keyClick(f->grid, Qt::Key_Right);
        QCOMPARE(f->kitap.state(), data::DataSetState::Insert);
        QCOMPARE(f->kitap.recNo(), 5);
        // Written into, Down posts it and stays on it as the last row.
        f->setTitle(QStringLiteral("Yeni Kitap"));
        QTest::keyClick(f->grid, Qt::Key_Down);
        QCOMPARE(f->db.count(QStringLiteral("kitapkayit")), 6);
        QCOMPARE(f->storedTitle(6), QStringLiteral("Yeni Kitap"));
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 5);
        QCOMPARE(f->grid->indicatorAt(5), Indicator::Browse);
        QVERIFY(f->dialogs.shown().isEmpty());
    }

    void escapeCancels() {
        f->kitap.open();
        f->kitap.moveTo(1);
        f->kitap.edit();
        f->setTitle(QStringLiteral("Değişti"));
        QTest::keyClick(f->grid, Qt::Key_Escape);
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->cell(1, 2), QStringLiteral("Kitap 2"));
        QCOMPARE(f->storedTitle(2), QStringLiteral("Kitap 2"));
        f->kitap.append();
        f->setTitle(QStringLiteral("Yeni Kitap"));
        QTest::keyClick(f->grid, Qt::Key_Escape);
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 4);
        QCOMPARE(f->db.count(QStringLiteral("kitapkayit")), 5);
    }

    void controlDeleteAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<qint64>("booksLeft");
        QTest::addColumn<QString>("currentTitle");
        QTest::newRow("OK") << int(Answer::Ok) << qint64(4) << QStringLiteral("Kitap 3");
        QTest::newRow("Cancel") << int(Answer::Cancel) << qint64(5) << QStringLiteral("Kitap 2");
    }
    void controlDeleteAsksFirst() {
        QFETCH(int, answer);
        QFETCH(qint64, booksLeft);
        QFETCH(QString, currentTitle);
        f->kitap.open();
        f->kitap.moveTo(1);
        QTest::keyClick(f->grid, Qt::Key_Delete); // without Ctrl: nothing
        QVERIFY(f->dialogs.shown().isEmpty());
        f->dialogs.answerNext(Answer(answer));
        QTest::keyClick(f->grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f->dialogs.shown().size(), 1);
        const auto& box = f->dialogs.shown().first();
        QCOMPARE(box.caption, QStringLiteral("Confirm"));
        QCOMPARE(box.text, QStringLiteral("Delete record?"));
        QCOMPARE(box.icon, platform::Icon::Question);
        QCOMPARE(box.buttons, platform::Buttons::OkCancel);
        QCOMPARE(box.defaultAnswer, Answer::Ok);
        QCOMPARE(f->db.count(QStringLiteral("kitapkayit")), booksLeft);
        QCOMPARE(f->kitap.recNo(), 1);
        QCOMPARE(f->cell(1, 2), currentTitle);
    }

    void leavingTheGridDropsAnUntouchedNewRow() {
        f->kitap.open();
        f->kitap.append();
        f->edit->setFocus();
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->model()->rowCount(), 5);

        f->grid->setFocus();
        f->kitap.append();
        f->setTitle(QStringLiteral("Yeni Kitap"));
        f->edit->setFocus();
        QCOMPARE(f->kitap.state(), data::DataSetState::Insert);
        f->kitap.cancel();

        // Another window coming to the front is not leaving the grid.
        f->grid->setFocus();
        f->kitap.append();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(f->kitap.state(), data::DataSetState::Insert);
    }

    void clicksMakeTheRowCurrent() {
        f->kitap.open();
        f->edit->setFocus();
        QTest::mouseClick(f->grid->viewport(), Qt::LeftButton, {}, f->rowPoint(2));
        QVERIFY(f->grid->hasFocus());
        QCOMPARE(f->kitap.recNo(), 2);
        QVERIFY(!f->menu->isVisible());

        QTest::mouseClick(f->grid->viewport(), Qt::RightButton, {}, f->rowPoint(3));
        QCOMPARE(f->kitap.recNo(), 3);
        QVERIFY(f->menu->isVisible());
        f->menu->close();

        // The title row and the space below the last row move nothing; the menu still opens.
        QTest::mouseClick(f->grid->horizontalHeader()->viewport(), Qt::RightButton, {},
                          QPoint(20, 5));
        QCOMPARE(f->kitap.recNo(), 3);
        QVERIFY(f->menu->isVisible());
        f->menu->close();
        QTest::mouseClick(f->grid->viewport(), Qt::LeftButton, {},
                          QPoint(20, f->grid->viewport()->height() - 2));
        QCOMPARE(f->kitap.recNo(), 3);
        // The context-menu key opens the menu too, moving nothing.
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              f->grid->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(f->grid, &key);
        QVERIFY(f->menu->isVisible());
        f->menu->close();
        QCOMPARE(f->kitap.recNo(), 3);

        // A click on the row already current is no move: the new row being filled stays.
        f->kitap.append();
        QTest::mouseClick(f->grid->viewport(), Qt::RightButton, {}, f->rowPoint(5));
        QCOMPARE(f->kitap.state(), data::DataSetState::Insert);
        QCOMPARE(f->kitap.recNo(), 5);
        QVERIFY(f->menu->isVisible());
        f->menu->close();

        // The indicator cell belongs to its row; a click settles an untouched new row first.
        const QHeaderView* indicator = f->grid->verticalHeader();
        QTest::mouseClick(indicator->viewport(), Qt::LeftButton, {},
                          QPoint(4, indicator->sectionViewportPosition(1) + 3));
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 1);
        QCOMPARE(f->model()->rowCount(), 5);
        QVERIFY(f->dialogs.shown().isEmpty());
    }

    void closedAndEmptyGridsShowOneEmptyLine() {
        QCOMPARE(f->model()->rowCount(), 1);
        QTest::keyClick(f->grid, Qt::Key_Down);
        QTest::mouseClick(f->grid->viewport(), Qt::LeftButton, {}, f->rowPoint(0));
        QVERIFY(f->dialogs.shown().isEmpty());

        f->db.exec(QStringLiteral("DELETE FROM kitapkayit"));
        f->kitap.open();
        QCOMPARE(f->model()->rowCount(), 1);
        QCOMPARE(f->cell(0, 2), QString());
        QCOMPARE(f->grid->indicatorAt(0), Indicator::None);
        QTest::keyClick(f->grid, Qt::Key_Up);
        QTest::keyClick(f->grid, Qt::Key_Delete, Qt::ControlModifier);
        QTest::mouseClick(f->grid->viewport(), Qt::LeftButton, {}, f->rowPoint(0));
        QVERIFY(f->dialogs.shown().isEmpty());
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        // A new row in the empty record set takes the one line.
        f->kitap.append();
        QCOMPARE(f->model()->rowCount(), 1);
        QCOMPARE(f->grid->indicatorAt(0), Indicator::Insert);
    }

    void outlivesItsDataSource() {
        f->kitap.open();
        {
            data::TDataSource shortLived(QStringLiteral("gecici"), &f->kitap);
            f->grid->setDataSource(&shortLived);
            QCOMPARE(f->model()->rowCount(), 5);
        }
        QCOMPARE(f->grid->dataSource(), nullptr);
        QCOMPARE(f->model()->rowCount(), 1);
        QCOMPARE(f->grid->indicatorAt(0), Indicator::None);
        f->kitap.moveTo(2); // nothing reaches the grid any more
        QVERIFY(!f->grid->currentIndex().isValid());
    }

    void failedSettleShowsTheErrorAndStays() {
        f->db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON kitapkayit "
                                  "BEGIN SELECT RAISE(ABORT, 'Güncelleme yasak'); END"));
        f->kitap.open();
        f->kitap.edit();
        f->setTitle(QStringLiteral("Değişti"));
        QTest::keyClick(f->grid, Qt::Key_Down);
        QTest::mouseClick(f->grid->viewport(), Qt::LeftButton, {}, f->rowPoint(3));
        QCOMPARE(f->dialogs.shown().size(), 2);
        for (const auto& box : f->dialogs.shown()) {
            QCOMPARE(box.caption, platform::applicationTitle());
            QCOMPARE(box.text, QStringLiteral("Güncelleme yasak."));
            QCOMPARE(box.icon, platform::Icon::Stop);
        }
        QCOMPARE(f->kitap.state(), data::DataSetState::Edit);
        QCOMPARE(f->kitap.recNo(), 0);
        QCOMPARE(f->grid->currentIndex().row(), 0);
        QCOMPARE(f->cell(0, 2), QStringLiteral("Değişti"));
        QCOMPARE(f->storedTitle(1), QStringLiteral("Kitap 1"));
    }

    void defaultWidthRule() {
        TDBGrid* g = f->grid;
        const auto expected = [g](int chars, const QString& title) {
            return std::max(chars * g->fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4,
                            g->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 4);
        };
        QCOMPARE(g->columnWidthOf(0), expected(10, QStringLiteral("Kayıt Kodu")));
        QCOMPARE(g->columnWidthOf(1), 122);
        QCOMPARE(g->columnWidthOf(2), 207);
        QCOMPARE(g->columnWidthOf(3), expected(100, QStringLiteral("Yazarı")));
        QCOMPARE(g->columnWidthOf(4), expected(10, QStringLiteral("Değeri")));
        QCOMPARE(g->columnWidthOf(5), expected(18, QStringLiteral("Edinme Tarihi")));

        // A large bold title font makes the title the wider of the two.
        QFont big = g->font();
        big.setBold(true);
        big.setPointSize(big.pointSize() * 3);
        g->setTitleFont(big);
        const int title = QFontMetrics(big).horizontalAdvance(QStringLiteral("Kayıt Kodu")) + 4;
        QVERIFY(title > 10 * g->fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4);
        QCOMPARE(g->columnWidthOf(0), title);
        QCOMPARE(g->columnWidthOf(1), 122);

        // The grid's font sets the width of "0".
        g->setFont(big);
        QCOMPARE(g->columnWidthOf(3),
                 100 * QFontMetrics(big).horizontalAdvance(QLatin1Char('0')) + 4);
        QCOMPARE(g->columnWidthOf(2), 207);
    }

    void accessibleTable() {
        f->kitap.open();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f->grid);
        QVERIFY(iface);
        QAccessibleTableInterface* table = iface->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->columnDescription(2), QStringLiteral("Kitabın Adı"));
        QAccessibleInterface* cell = table->cellAt(1, 2);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Kitap 2"));
        // The title row as the table's column headers, in column order.
        QStringList headers;
        for (int i = 0; i < iface->childCount(); ++i)
            if (QAccessibleInterface* child = iface->child(i);
                child && child->role() == QAccessible::ColumnHeader)
                headers << child->text(QAccessible::Name);
        QCOMPARE(headers, (QStringList{QStringLiteral("Kayıt Kodu"), QStringLiteral("Seri No"),
                                       QStringLiteral("Kitabın Adı"), QStringLiteral("Yazarı"),
                                       QStringLiteral("Değeri"), QStringLiteral("Edinme Tarihi")}));
    }

    void selectionStaysWithoutFocus() {
        f->kitap.open();
        f->kitap.moveTo(1);
        // Without the focus, even in a window in the background, the row keeps the highlight.
        QPalette palette = f->grid->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::red);
        f->grid->setPalette(palette);
        f->edit->setFocus();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!f->grid->hasFocus());
        const QImage image = f->grid->viewport()->grab().toImage();
        // Right of the short titles the cells show only their background.
        const QRect current = f->grid->visualRect(f->model()->index(1, 2));
        const QRect next = f->grid->visualRect(f->model()->index(2, 2));
        QCOMPARE(image.pixelColor(current.right() - 5, current.center().y()),
                 palette.color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(image.pixelColor(next.right() - 5, next.center().y()),
                 palette.color(QPalette::Active, QPalette::Base));
    }

    void keysThatOnlyMoveTheFocusOrNothing() {
        f->kitap.open();
        f->kitap.moveTo(1);
        for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Insert, Qt::Key_A, Qt::Key_Return})
            QTest::keyClick(f->grid, key);
        QCOMPARE(f->kitap.state(), data::DataSetState::Browse);
        QCOMPARE(f->kitap.recNo(), 1);
        QVERIFY(f->grid->viewport()->findChildren<QWidget*>().isEmpty()); // no editor opened

        QScrollBar* bar = f->grid->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QTest::keyClick(f->grid, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(f->grid, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(f->kitap.recNo(), 1);

        QTest::keyClick(f->grid, Qt::Key_Tab);
        QVERIFY(f->edit->hasFocus());
        QTest::keyClick(f->edit, Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(f->grid->hasFocus());
        QVERIFY(f->dialogs.shown().isEmpty());
    }
};

QTEST_MAIN(TestDBGrid)
#include "tst_dbgrid.moc"
