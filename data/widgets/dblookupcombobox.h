#pragma once

#include "data/datasource.h"
#include "data/value.h"
#include "data/widgets/boundcontrol.h"

#include <QString>
#include <QWidget>
#include <functional>

namespace data {

class LookupDropDown;
class TADOQuery;
class TField;

// The bound lookup combo box: writes one column of the record set behind its data source (the
// written side) from a list made of the rows of another record set (the list side). It shows
// the list column of the list row whose key column equals the written column's value, and
// finding that row is a move of the list record set, so a grid on the list record set follows
// the current row of the written one. Choosing a row (drop-down, Up/Down, typing) writes that
// row's key into the written column at once.
class TDBLookupComboBox : public QWidget, public BoundControl {
    Q_OBJECT

public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    // The written side.
    TDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TDataSource* source) override;
    const QString& dataField() const { return dataField_; }
    void setDataField(const QString& name) override;

    // The list side.
    TDataSource* listSource() const { return listSource_; }
    void setListSource(TDataSource* source);
    const QString& keyField() const { return keyField_; }
    void setKeyField(const QString& name);
    const QString& listField() const { return listField_; }
    void setListField(const QString& name);

    // Rows of the drop-down list (fewer when the list record set has fewer, but not none).
    int dropDownRows() const { return dropDownRows_; }
    void setDropDownRows(int rows);

    // What the control shows: the list column of the located row, or the empty text.
    QString text() const { return text_; }
    QString entryText() const override { return text_; }

    // The drop-down list: open it at the located row (the first row when none is found);
    // close it, choosing its highlighted row or not. Opening needs a shown control and an open
    // list record set.
    void dropDown();
    void closeUp(bool choose);
    bool isListOpen() const;
    LookupDropDown* dropDownList() const { return dropDown_; }
    // The list record set, and the index of its list column (-1 when it has none).
    TADOQuery* listDataSet() const;
    int listColumn() const;

    // The incremental search: the text typed so far, and the clock (milliseconds) that decides
    // when a pause of more than two seconds starts a new search.
    QString searchText() const { return searchText_; }
    void setSearchClock(std::function<qint64()> clock);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int searchPause = 2000; // ms
    static constexpr int searchMaxLength = 32;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class LookupDropDown;

    // The written side's events: the shown row follows the written column.
    class WrittenLink : public DataLink {
    public:
        explicit WrittenLink(TDBLookupComboBox& owner) : owner_(owner) {}
        void activeChanged() override { owner_.showKey(false); }
        void dataSetChanged() override { owner_.showKey(false); }
        void dataSetScrolled() override { owner_.showKey(false); }
        void recordChanged(TField*) override { owner_.showKey(false); }
        void dataSourceDestroyed(TDataSource* source) override { owner_.sourceDestroyed(source); }

    private:
        TDBLookupComboBox& owner_;
    };

    // The list side's events: a reopened list is searched anew; the open list follows moves.
    class ListLink : public DataLink {
    public:
        explicit ListLink(TDBLookupComboBox& owner) : owner_(owner) {}
        void activeChanged() override { owner_.listActiveChanged(); }
        void dataSetChanged() override { owner_.listRowsChanged(true); }
        void dataSetScrolled() override { owner_.listRowsChanged(false); }
        void recordChanged(TField*) override { owner_.listRowsChanged(false); }
        void dataSourceDestroyed(TDataSource* source) override { owner_.sourceDestroyed(source); }

    private:
        TDBLookupComboBox& owner_;
    };

    TField* writtenField() const;
    Value writtenValue() const;
    bool listActive() const;
    int keyColumn() const;
    int listRowsShown() const;

    // Shows the list row for the written column's value; searches again only when that value
    // differs from the one shown, unless `force`.
    void showKey(bool force);
    void setShownText(const QString& text);
    // Makes the first list row whose key equals the shown value current; false, silently,
    // when there is none or the move failed.
    bool locateKey();
    // Writes the key of the list record set's current row into the written column.
    void chooseCurrent();
    void listActiveChanged();
    // `replaced`: rows may have come or gone, not only the current row moved.
    void listRowsChanged(bool replaced);
    void sourceDestroyed(TDataSource* source);

    bool handleKey(QKeyEvent* event);
    void searchKey(QChar c);
    bool canModify() const;

    WrittenLink writtenLink_{*this};
    ListLink listLink_{*this};
    TDataSource* dataSource_ = nullptr;
    TDataSource* listSource_ = nullptr;
    QString dataField_;
    QString keyField_;
    QString listField_;
    int dropDownRows_ = 7;

    Value shownKey_;
    QString text_;
    LookupDropDown* dropDown_ = nullptr;

    QString searchText_;
    qint64 lastSearchKey_ = 0;
    bool searchStarted_ = false;
    std::function<qint64()> clock_;
};

} // namespace data
