#pragma once

#include "data/widgets/gridheaders.h"

#include <QPointer>
#include <QTableView>
#include <memory>
#include <vector>

class QMenu;

namespace data {

class DBGridModel;
class TADOQuery;
class TDataSource;

// The data grid: lists the rows of the record set behind a data source under a title row, marks
// the current row in an indicator column by the record set's state, and follows and moves the
// current row. Every move it makes is a move of the record set, which settles a pending row
// first. It never edits in place.
//
// The grid reads a row's texts only when it paints that line, and its lines have one fixed
// height, so a record set of any size opens and scrolls at the cost of one screen.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    struct Column {
        QString fieldName;
        QString title;
        int width = -1; // -1: the default width rule
    };
    using Indicator = GridIndicator;

    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // A data source that is destroyed first is forgotten: the grid then shows one empty line.
    void setDataSource(TDataSource* source);
    TDataSource* dataSource() const { return source_; }
    // The record set behind the data source; null when there is none.
    TADOQuery* dataSet() const;

    // The columns in display order; replaces the columns and their widths.
    void setColumns(const std::vector<Column>& columns);
    const std::vector<Column>& columns() const { return columns_; }
    // The width in pixels of data column `column` (as given to setColumns), as it is now.
    int columnWidthOf(int column) const;
    // The default width rule: the column's display width in characters times the width of "0"
    // in the grid's font, plus 4, and at least the title's width in the title font plus 4. The
    // display width is a text column's size, 18 for a date-time, 10 for the key and integers.
    int defaultColumnWidth(int column) const;

    // Shown (never run modally) on a right click and on the context-menu key.
    void setPopupMenu(QMenu* menu);
    QMenu* popupMenu() const;

    // The title row's font (the window makes it bold); the default widths follow it.
    void setTitleFont(const QFont& font);
    QFont titleFont() const;

    // What the indicator column shows beside line `row`.
    Indicator indicatorAt(int row) const;
    // The height of one line and the number of lines fully visible.
    int lineHeight() const;
    int visibleRowCount() const;

    // Typed text searches nothing: the grid does not edit and does not search.
    void keyboardSearch(const QString& search) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;

private:
    class Link;
    friend class Link;

    // Following the record set (called by the data link).
    void followActive();
    void followRows();
    void followCurrent();
    void followState();
    void followField(int fieldIndex);
    void forgetDataSource();

    // Key and mouse actions; each may throw and runs inside a guard.
    bool handleKey(int key, bool control);
    void stepBack();
    void stepForward();
    void moveToRow(int row);
    void moveBy(int distance);
    void deleteCurrentRow();
    void cancelUntouchedNewRow();
    void click(Qt::MouseButton button, int row, int column, const QPoint& globalPos);
    void takeFocus();
    void showPopup(const QPoint& globalPos);

    // The record set when it is open; null otherwise.
    TADOQuery* openDataSet() const;
    int topVisibleRow() const;
    void ensureRowVisible(int row);
    void updateMetrics();
    void applyWidths(bool givenWidthsToo);

    std::unique_ptr<Link> link_;
    TDataSource* source_ = nullptr;
    DBGridModel* model_ = nullptr;
    GridIndicatorColumn* indicator_ = nullptr;
    GridTitleRow* titles_ = nullptr;
    std::vector<Column> columns_;
    QPointer<QMenu> popupMenu_;
    const void* widthsTable_ = nullptr; // the table the default widths were computed for
    int currentColumn_ = 0;
    bool updatingMetrics_ = false;
};

} // namespace data
