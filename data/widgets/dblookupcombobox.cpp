#include "data/widgets/dblookupcombobox.h"

#include "data/adoquery.h"
#include "data/field.h"
#include "data/widgets/dblookupaccessible.h"
#include "data/widgets/dblookupdropdown.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace data {

namespace {

qint64 steadyMilliseconds() {
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

// A key that stands for nothing: no row is looked for.
bool isEmptyKey(const Value& key) {
    return key.isNull() || (key.isText() && key.toText().isEmpty());
}

// Writes a list row's key into the written column: as the value itself where the kinds agree,
// through the edit-text path otherwise (a text is cut to the column's size).
void writeKey(TField& field, const Value& key) {
    if (key.isNull())
        field.setValue(Value());
    else if (field.kind() == Kind::WideString || key.isText())
        field.setText(key.displayText());
    else
        field.setValue(key);
}

} // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QWidget(parent), clock_(steadyMilliseconds) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    dropDown_ = new LookupDropDown(this);
    lookupaccessible::install();
}

TDBLookupComboBox::~TDBLookupComboBox() {
    if (dataSource_)
        dataSource_->removeLink(&writtenLink_);
    if (listSource_)
        listSource_->removeLink(&listLink_);
    dataSource_ = nullptr;
    listSource_ = nullptr;
    delete dropDown_;
    dropDown_ = nullptr;
}

void TDBLookupComboBox::setDataSource(TDataSource* source) {
    if (source == dataSource_)
        return;
    if (dataSource_)
        dataSource_->removeLink(&writtenLink_);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->addLink(&writtenLink_);
    showKey(true);
}

void TDBLookupComboBox::setDataField(const QString& name) {
    dataField_ = name;
    showKey(true);
}

void TDBLookupComboBox::setListSource(TDataSource* source) {
    if (source == listSource_)
        return;
    closeUp(false);
    if (listSource_)
        listSource_->removeLink(&listLink_);
    listSource_ = source;
    if (listSource_)
        listSource_->addLink(&listLink_);
    showKey(true);
}

void TDBLookupComboBox::setKeyField(const QString& name) {
    keyField_ = name;
    showKey(true);
}

void TDBLookupComboBox::setListField(const QString& name) {
    listField_ = name;
    showKey(true);
}

void TDBLookupComboBox::setDropDownRows(int rows) {
    dropDownRows_ = std::max(1, rows);
}

void TDBLookupComboBox::setSearchClock(std::function<qint64()> clock) {
    clock_ = clock ? std::move(clock) : std::function<qint64()>(steadyMilliseconds);
    searchStarted_ = false;
}

bool TDBLookupComboBox::isListOpen() const {
    return dropDown_ && dropDown_->isVisible();
}

// --- the two sides -------------------------------------------------------------------------

TField* TDBLookupComboBox::writtenField() const {
    if (!dataSource_ || !dataSource_->dataSet() || dataField_.isEmpty())
        return nullptr;
    return dataSource_->dataSet()->findField(dataField_);
}

Value TDBLookupComboBox::writtenValue() const {
    const TField* field = writtenField();
    return field ? field->value() : Value();
}

TADOQuery* TDBLookupComboBox::listDataSet() const {
    return listSource_ ? listSource_->dataSet() : nullptr;
}

bool TDBLookupComboBox::listActive() const {
    const TADOQuery* list = listDataSet();
    return list && list->active() && keyColumn() >= 0 && listColumn() >= 0;
}

int TDBLookupComboBox::keyColumn() const {
    TADOQuery* list = listDataSet();
    const TField* field = list && !keyField_.isEmpty() ? list->findField(keyField_) : nullptr;
    return field ? field->index() : -1;
}

int TDBLookupComboBox::listColumn() const {
    TADOQuery* list = listDataSet();
    const TField* field = list && !listField_.isEmpty() ? list->findField(listField_) : nullptr;
    return field ? field->index() : -1;
}

int TDBLookupComboBox::listRowsShown() const {
    const TADOQuery* list = listDataSet();
    const int count = list ? list->recordCount() : 0;
    return count > 0 && count < dropDownRows_ ? count : dropDownRows_;
}

bool TDBLookupComboBox::canModify() const {
    const TField* field = writtenField();
    return listActive() && field && !field->readOnly() && field->dataSet().active();
}

// --- showing -------------------------------------------------------------------------------

bool TDBLookupComboBox::locateKey() {
    TADOQuery* list = listDataSet();
    const int column = keyColumn();
    if (!list || column < 0 || !list->active() || isEmptyKey(shownKey_))
        return false;
    // The one place that swallows a record set's error: a pending list row that cannot be
    // posted leaves the control empty, without a box.
    try {
        return list->locate(list->field(column), shownKey_);
    } catch (const platform::Error&) {
        return false;
    }
}

void TDBLookupComboBox::showKey(bool force) {
    const Value key = writtenValue();
    if (!force && key == shownKey_)
        return;
    shownKey_ = key;
    QString shown;
    if (locateKey()) {
        const TADOQuery* list = listDataSet();
        shown = list->displayText(list->recNo(), listColumn());
    }
    setShownText(shown);
}

void TDBLookupComboBox::setShownText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
    lookupaccessible::shownTextChanged(this);
}

void TDBLookupComboBox::listActiveChanged() {
    if (!listActive())
        closeUp(false);
    lookupaccessible::listRowsReplaced(this);
    showKey(true);
}

void TDBLookupComboBox::listRowsChanged(bool replaced) {
    if (replaced)
        lookupaccessible::listRowsReplaced(this);
    if (isListOpen()) {
        dropDown_->sync();
        lookupaccessible::listCurrentMoved(this);
    }
}

void TDBLookupComboBox::sourceDestroyed(TDataSource* source) {
    // The source forgets its links itself; only the pointer goes.
    if (source == listSource_) {
        closeUp(false);
        listSource_ = nullptr;
    }
    if (source == dataSource_)
        dataSource_ = nullptr;
    showKey(true);
}

// --- choosing ------------------------------------------------------------------------------

void TDBLookupComboBox::chooseCurrent() {
    TADOQuery* list = listDataSet();
    if (!listActive() || list->recNo() < 0)
        return;
    const int row = list->recNo();
    const Value key = list->value(row, keyColumn());
    const QString shown = list->displayText(row, listColumn());
    TField* field = writtenField();
    if (!field || !dataSource_->edit())
        return;
    // The row is shown before the write, so that hearing of the write finds nothing to
    // search for: the chosen row stays current even where several rows share the key.
    const Value previousKey = shownKey_;
    const QString previousText = text_;
    shownKey_ = key;
    setShownText(shown);
    try {
        writeKey(*field, key);
    } catch (...) {
        shownKey_ = previousKey;
        setShownText(previousText);
        throw;
    }
}

void TDBLookupComboBox::dropDown() {
    if (isListOpen() || !listActive() || !isVisible())
        return;
    TADOQuery* list = listDataSet();
    if (!locateKey())
        list->first();
    const int rows = listRowsShown();
    dropDown_->setFont(font());
    dropDown_->setRowCount(rows);
    const int height = rows * dropDown_->rowHeight() + 2 * dropDown_->frameWidth();
    const QPoint below = mapToGlobal(QPoint(0, this->height()));
    int y = below.y();
    if (const QScreen* s = screen(); s && y + height > s->geometry().bottom() + 1)
        y = mapToGlobal(QPoint(0, 0)).y() - height;
    dropDown_->setGeometry(below.x(), y, width(), height);
    dropDown_->sync(true);
    dropDown_->setAttribute(Qt::WA_NoMouseReplay, false);
    dropDown_->show();
    update();
    lookupaccessible::listOpened(this);
}

void TDBLookupComboBox::closeUp(bool choose) {
    if (!isListOpen())
        return;
    dropDown_->hide();
    update();
    if (choose)
        chooseCurrent();
}

// --- keys ----------------------------------------------------------------------------------

void TDBLookupComboBox::searchKey(QChar c) {
    if (!canModify())
        return;
    const qint64 now = clock_();
    if (searchStarted_ && now - lastSearchKey_ > searchPause)
        searchText_.clear();
    searchStarted_ = true;
    lastSearchKey_ = now;
    if (searchText_.size() >= searchMaxLength)
        return;
    const QString wanted = searchText_ + c;
    TADOQuery* list = listDataSet();
    list->settle();
    const QString prefix = platform::turkishUpper(wanted);
    const int column = listColumn();
    for (int row = 0; row < list->recordCount(); ++row) {
        if (platform::turkishUpper(list->displayText(row, column)).startsWith(prefix)) {
            list->moveTo(row);
            chooseCurrent();
            searchText_ = wanted;
            return;
        }
    }
}

bool TDBLookupComboBox::handleKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool upDown = key == Qt::Key_Up || key == Qt::Key_Down;

    if (upDown && (mods & Qt::AltModifier)) {
        if (isListOpen())
            closeUp(true);
        else
            dropDown();
        return true;
    }
    if (isListOpen()) {
        TADOQuery* list = listDataSet();
        switch (key) {
        case Qt::Key_Up:
            list->prior();
            return true;
        case Qt::Key_Down:
            list->next();
            return true;
        case Qt::Key_PageUp:
            list->moveBy(-dropDown_->rowCount());
            return true;
        case Qt::Key_PageDown:
            list->moveBy(dropDown_->rowCount());
            return true;
        case Qt::Key_Home:
            list->first();
            return true;
        case Qt::Key_End:
            list->last();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            closeUp(true);
            return true;
        case Qt::Key_Escape:
            searchText_.clear();
            closeUp(false);
            return true;
        default:
            break;
        }
    } else if (upDown && !(mods & (Qt::ControlModifier | Qt::MetaModifier))) {
        if (!listActive())
            return true;
        TADOQuery* list = listDataSet();
        if (!locateKey())
            list->first();
        else
            list->moveBy(key == Qt::Key_Up ? -1 : 1);
        chooseCurrent();
        return true;
    }
    if (key == Qt::Key_Backspace) {
        searchText_.clear();
        return true;
    }
    if (key == Qt::Key_Escape) {
        searchText_.clear();
        return false; // the window may still want its Esc
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    bool typed = false;
    for (const QChar c : event->text()) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            continue;
        typed = true;
        searchKey(c);
    }
    return typed;
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* event) {
    bool handled = true;
    platform::guard([&] { handled = handleKey(event); });
    if (handled)
        event->accept();
    else
        event->ignore();
}

// --- mouse, focus, painting ----------------------------------------------------------------

void TDBLookupComboBox::mousePressEvent(QMouseEvent* event) {
    platform::guard([&] {
        if (event->button() != Qt::LeftButton)
            return;
        if (isListOpen())
            closeUp(false);
        else
            dropDown();
    });
    event->accept();
}

void TDBLookupComboBox::focusInEvent(QFocusEvent* event) {
    platform::guard([&] { update(); });
    QWidget::focusInEvent(event);
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* event) {
    // Opening the list hands the keys to the pop-up; that is no loss of the focus.
    platform::guard([&] {
        if (event->reason() != Qt::PopupFocusReason)
            closeUp(false);
        update();
    });
    QWidget::focusOutEvent(event);
}

void TDBLookupComboBox::hideEvent(QHideEvent* event) {
    platform::guard([&] { closeUp(false); });
    QWidget::hideEvent(event);
}

QSize TDBLookupComboBox::sizeHint() const {
    QStyleOptionComboBox option;
    option.initFrom(this);
    const QFontMetrics metrics = fontMetrics();
    const QSize contents(metrics.horizontalAdvance(QLatin1Char('x')) * 16, metrics.height());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
}

QSize TDBLookupComboBox::minimumSizeHint() const {
    return sizeHint();
}

void TDBLookupComboBox::paintEvent(QPaintEvent*) {
    platform::guard([&] {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = false;
        option.frame = true;
        option.currentText = text_;
        if (isListOpen())
            option.state |= QStyle::State_On;
        // The focus shows whatever moved it here (a combo box of the style shows it at least
        // after a Tab): the style's focus frame, and the selection colour where the style
        // fills a focused list's field with it.
        if (hasFocus() && !isListOpen())
            option.state |=
                QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    });
}

} // namespace data
