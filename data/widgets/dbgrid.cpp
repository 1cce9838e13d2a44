#include "data/widgets/dbgrid.h"

#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/widgets/dbgridmodel.h"
#include "platform/dialogs.h"
#include "platform/guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace data {

namespace {

// Cells as one line of text each, without the focus frame of a single cell: the grid marks the
// whole current row.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
        // A text with line breaks (an address) shows them as blanks.
        for (QChar& c : option->text)
            if (c == QChar::LineSeparator || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
    }
};

int displayWidth(const ColumnDef& def) {
    switch (def.kind) {
    case Kind::WideString:
        return def.size;
    case Kind::DateTime:
        return 18;
    case Kind::AutoInc:
    case Kind::Integer:
        return 10;
    }
    return 0;
}

} // namespace

// The grid's ear on the data source.
class TDBGrid::Link : public DataLink {
public:
    explicit Link(TDBGrid& grid) : grid_(grid) {}
    void activeChanged() override { grid_.followActive(); }
    void dataSetChanged() override { grid_.followRows(); }
    void dataSetScrolled() override { grid_.followCurrent(); }
    void stateChanged() override { grid_.followState(); }
    void recordChanged(TField* field) override {
        if (field)
            grid_.followField(field->index());
    }
    void dataSourceDestroyed(TDataSource* source) override {
        if (source == grid_.source_)
            grid_.forgetDataSource();
    }

private:
    TDBGrid& grid_;
};

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), link_(std::make_unique<Link>(*this)) {
    titles_ = new GridTitleRow(this);
    indicator_ = new GridIndicatorColumn(this);
    indicator_->markOf = [this](int row) { return indicatorAt(row); };
    setHorizontalHeader(titles_);
    setVerticalHeader(indicator_);
    model_ = new DBGridModel(this);
    setModel(model_);
    setItemDelegate(new CellDelegate(this));

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setDragEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    titles_->installEventFilter(this);
    titles_->viewport()->installEventFilter(this);
    indicator_->viewport()->installEventFilter(this);
    if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
        corner->installEventFilter(this);
    updateMetrics();
}

TDBGrid::~TDBGrid() {
    if (source_)
        source_->removeLink(link_.get());
}

TADOQuery* TDBGrid::dataSet() const {
    return source_ ? source_->dataSet() : nullptr;
}

TADOQuery* TDBGrid::openDataSet() const {
    TADOQuery* q = dataSet();
    return q && q->active() ? q : nullptr;
}

void TDBGrid::setDataSource(TDataSource* source) {
    if (source == source_)
        return;
    if (source_)
        source_->removeLink(link_.get());
    source_ = source;
    if (source_)
        source_->addLink(link_.get());
    model_->setDataSource(source_);
    followActive();
}

void TDBGrid::forgetDataSource() {
    // The data source is going away and lets go of its links itself.
    source_ = nullptr;
    model_->setDataSource(nullptr);
    followActive();
}

void TDBGrid::setColumns(const std::vector<Column>& columns) {
    columns_ = columns;
    std::vector<DBGridModel::ColumnSpec> specs;
    specs.reserve(columns.size());
    for (const Column& c : columns)
        specs.push_back({c.fieldName, c.title});
    model_->setColumns(std::move(specs));
    currentColumn_ = 0;
    applyWidths(true);
    followCurrent();
}

int TDBGrid::columnWidthOf(int column) const {
    return titles_->sectionSize(column);
}

int TDBGrid::defaultColumnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return 0;
    const ColumnDef* def = model_->columnDef(column);
    const int chars = def ? displayWidth(*def) : 0;
    const int byContents = chars * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 4;
    const int byTitle = titles_->fontMetrics().horizontalAdvance(columns_[column].title) + 4;
    return std::max(byContents, byTitle);
}

void TDBGrid::applyWidths(bool givenWidthsToo) {
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
        if (columns_[i].width >= 0) {
            if (givenWidthsToo)
                titles_->resizeSection(i, columns_[i].width);
        } else {
            titles_->resizeSection(i, defaultColumnWidth(i));
        }
    }
    const TADOQuery* q = dataSet();
    widthsTable_ = q ? &q->table() : nullptr;
}

void TDBGrid::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
}

void TDBGrid::setTitleFont(const QFont& font) {
    titles_->setFont(font);
}

QFont TDBGrid::titleFont() const {
    return titles_->font();
}

TDBGrid::Indicator TDBGrid::indicatorAt(int row) const {
    const TADOQuery* q = openDataSet();
    if (!q || row < 0 || row != q->recNo() || row >= model_->records())
        return Indicator::None;
    switch (q->state()) {
    case DataSetState::Edit:
        return Indicator::Edit;
    case DataSetState::Insert:
        return Indicator::Insert;
    case DataSetState::Browse:
        return Indicator::Browse;
    case DataSetState::Inactive:
        break;
    }
    return Indicator::None;
}

int TDBGrid::lineHeight() const {
    // The text's height, a little air and the line under the row; never lower than a glyph.
    return std::max(fontMetrics().height() + 4, indicatorGlyphHeight + 3);
}

int TDBGrid::visibleRowCount() const {
    return std::max(1, viewport()->height() / lineHeight());
}

int TDBGrid::topVisibleRow() const {
    return std::max(0, rowAt(0));
}

void TDBGrid::updateMetrics() {
    if (updatingMetrics_)
        return;
    updatingMetrics_ = true;
    const int height = lineHeight();
    if (indicator_->defaultSectionSize() != height) {
        // Every line has this one height. The header would report each of possibly a million
        // lines as resized; the view is laid out once afterwards instead.
        const bool blocked = indicator_->blockSignals(true);
        indicator_->setDefaultSectionSize(height);
        indicator_->blockSignals(blocked);
    }
    titles_->updateGeometry();
    applyWidths(false);
    updateGeometries();
    viewport()->update();
    updatingMetrics_ = false;
}

// --- following the record set ---------------------------------------------------------------

void TDBGrid::followActive() {
    model_->reload();
    const TADOQuery* q = dataSet();
    if ((q ? &q->table() : nullptr) != widthsTable_)
        applyWidths(false);
    followCurrent();
}

void TDBGrid::followRows() {
    model_->rowsChanged();
    followCurrent();
}

void TDBGrid::followCurrent() {
    const TADOQuery* q = openDataSet();
    const int row = q ? q->recNo() : -1;
    QItemSelectionModel* selection = selectionModel();
    if (row < 0 || row >= model_->records() || model_->columnCount() == 0) {
        selection->clear();
    } else {
        if (currentColumn_ < 0 || currentColumn_ >= model_->columnCount())
            currentColumn_ = 0;
        const QModelIndex index = model_->index(row, currentColumn_);
        if (selection->currentIndex() != index || !selection->isRowSelected(row))
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
        ensureRowVisible(row);
    }
    indicator_->viewport()->update();
}

void TDBGrid::followState() {
    indicator_->viewport()->update();
}

void TDBGrid::followField(int fieldIndex) {
    if (const TADOQuery* q = openDataSet())
        model_->fieldChanged(q->recNo(), fieldIndex);
}

void TDBGrid::ensureRowVisible(int row) {
    // The scroll bar counts lines; bring its range up to date with the line count first.
    updateGeometries();
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value();
    const int lines = visibleRowCount();
    if (row < top)
        bar->setValue(row);
    else if (row >= top + lines)
        bar->setValue(row - lines + 1);
}

// --- keys ----------------------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore(); // menus and the window's own keys
        return;
    }
    bool handled = true;
    platform::guard(
        [&] { handled = handleKey(event->key(), modifiers.testFlag(Qt::ControlModifier)); });
    if (handled)
        event->accept();
    else
        event->ignore();
}

bool TDBGrid::handleKey(int key, bool control) {
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false; // the window moves the focus on
    case Qt::Key_Up:
        control ? moveToRow(topVisibleRow()) : stepBack();
        return true;
    case Qt::Key_Down:
        control ? moveToRow(topVisibleRow() + visibleRowCount() - 1) : stepForward();
        return true;
    case Qt::Key_Left:
        if (control)
            horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
        else
            stepBack();
        return true;
    case Qt::Key_Right:
        if (control)
            horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
        else
            stepForward();
        return true;
    case Qt::Key_PageUp:
        control ? moveToRow(topVisibleRow()) : moveBy(-visibleRowCount());
        return true;
    case Qt::Key_PageDown:
        control ? moveToRow(topVisibleRow() + visibleRowCount() - 1) : moveBy(visibleRowCount());
        return true;
    case Qt::Key_Home:
        if (TADOQuery* q = openDataSet())
            q->first();
        return true;
    case Qt::Key_End:
        if (TADOQuery* q = openDataSet())
            q->last();
        return true;
    case Qt::Key_Escape:
        if (TADOQuery* q = dataSet())
            q->cancel();
        return true;
    case Qt::Key_Delete:
        if (control)
            deleteCurrentRow();
        return true;
    default:
        // Insert, F2, Enter and typed characters: the grid edits nothing.
        return true;
    }
}

void TDBGrid::stepBack() {
    TADOQuery* q = openDataSet();
    if (!q)
        return;
    if (q->state() == DataSetState::Insert && !q->modified())
        q->cancel(); // an untouched new row is dropped rather than left
    else
        q->moveBy(-1);
}

void TDBGrid::stepForward() {
    TADOQuery* q = openDataSet();
    if (!q)
        return;
    if (q->state() == DataSetState::Insert && !q->modified())
        return; // nothing lies beyond an untouched new row
    q->moveBy(1);
}

void TDBGrid::moveToRow(int row) {
    if (TADOQuery* q = openDataSet())
        q->moveTo(std::min(row, q->recordCount() - 1));
}

void TDBGrid::moveBy(int distance) {
    if (TADOQuery* q = openDataSet())
        q->moveBy(distance);
}

void TDBGrid::deleteCurrentRow() {
    TADOQuery* q = openDataSet();
    if (!q || q->recordCount() == 0)
        return;
    if (platform::confirmDeleteRecord())
        q->deleteRecord();
}

void TDBGrid::keyboardSearch(const QString&) {}

// --- mouse and focus -------------------------------------------------------------------------

void TDBGrid::takeFocus() {
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void TDBGrid::click(Qt::MouseButton button, int row, int column, const QPoint& globalPos) {
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    platform::guard([&] {
        takeFocus();
        // A control of this window that kept the focus (its text could not be written) keeps
        // the row where it is.
        if (window()->focusWidget() != this)
            return;
        TADOQuery* q = openDataSet();
        if (!q || row < 0 || row >= std::min(model_->records(), q->recordCount()))
            return; // the title row, the empty line, or below the last row
        if (column >= 0)
            currentColumn_ = column;
        if (row != q->recNo())
            q->moveTo(row);
        else
            followCurrent();
    });
    if (button == Qt::RightButton)
        showPopup(globalPos);
}

void TDBGrid::showPopup(const QPoint& globalPos) {
    platform::guard([&] {
        if (popupMenu_)
            popupMenu_->popup(globalPos);
    });
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    click(event->button(), index.isValid() ? index.row() : -1,
          index.isValid() ? index.column() : -1, event->globalPosition().toPoint());
    event->accept();
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

// No selecting by dragging and no clicked() signals: a press has done everything.
void TDBGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}
void TDBGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void TDBGrid::contextMenuEvent(QContextMenuEvent* event) {
    // A right click has opened the menu when it was pressed; the menu key opens it here.
    if (event->reason() == QContextMenuEvent::Keyboard)
        showPopup(event->globalPos());
    event->accept();
}

void TDBGrid::cancelUntouchedNewRow() {
    TADOQuery* q = openDataSet();
    if (q && q->state() == DataSetState::Insert && !q->modified())
        q->cancel();
}

void TDBGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    platform::guard([&] {
        // Another window coming to the front, or the grid's own menu, is not leaving the grid.
        if (event->reason() == Qt::ActiveWindowFocusReason ||
            event->reason() == Qt::PopupFocusReason)
            return;
        const QWidget* next = QApplication::focusWidget();
        if (next && next->window() != window())
            return;
        cancelUntouchedNewRow();
    });
}

void TDBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        platform::guard([&] { updateMetrics(); });
}

bool TDBGrid::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == titles_) {
        if (type == QEvent::FontChange)
            platform::guard([&] { updateMetrics(); });
        return QTableView::eventFilter(watched, event);
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (watched == indicator_->viewport() && press) {
        // The indicator cell belongs to its row: a click there is a click on the row.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        click(mouse->button(), indicator_->logicalIndexAt(mouse->position().toPoint().y()), -1,
              mouse->globalPosition().toPoint());
        return true;
    }
    const bool corner = watched->parent() == this && qobject_cast<QAbstractButton*>(watched);
    if ((watched == titles_->viewport() || corner) && press) {
        // The title row moves no row; its left button still resizes and moves the columns.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        platform::guard([&] { takeFocus(); });
        if (mouse->button() == Qt::RightButton) {
            showPopup(mouse->globalPosition().toPoint());
            return true;
        }
        return corner;
    }
    if (corner && type == QEvent::Paint) {
        auto* button = static_cast<QWidget*>(watched);
        QPainter painter(button);
        paintFixedCell(painter, button->rect(), palette());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void TDBGrid::initViewItemOption(QStyleOptionViewItem* option) const {
    QTableView::initViewItemOption(option);
    // The current row keeps its highlight while the grid does not have the focus.
    option->state |= QStyle::State_Active;
}

} // namespace data
