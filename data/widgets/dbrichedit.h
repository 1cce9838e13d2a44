#pragma once

#include "data/widgets/fielddatalink.h"

#include <QPlainTextEdit>

namespace data {

class TDataSource;
class TField;

// The bound rich-text edit: several lines of plain text showing one text column of the current
// row; Enter starts a new line and Tab moves on to the next control. It writes its plain text
// with its line breaks as CR LF. It has no typing limit: a longer text is cut to the column's
// size when it is written.
class TDBRichEdit : public QPlainTextEdit, private FieldDataLink::Control, public BoundField {
    Q_OBJECT
public:
    explicit TDBRichEdit(QWidget* parent = nullptr);
    ~TDBRichEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString controlText() const override;
    void showText(const QString& text) override;
    void setChangeable(bool changeable) override;

    bool showing_ = false;
};

} // namespace data
