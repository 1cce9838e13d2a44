#pragma once

#include <QString>
#include <QValidator>
#include <memory>

class QKeyEvent;
class QLineEdit;

namespace data {

class TField;

namespace boundinput {

// A key that types its text (printable, no Ctrl shortcut).
bool typesText(const QKeyEvent* event);
// A key that changes the text of an edit field: typing, Backspace, Delete, paste, cut, undo,
// redo and the word and line deletions.
bool changesText(const QKeyEvent* event);
// Whether every character of a typed text may stand in the field (always without a field).
bool acceptsTyped(const TField* field, const QString& text);
// The same key with its text in capitals by the Turkish rule.
std::unique_ptr<QKeyEvent> upperCased(const QKeyEvent* event);
// The validator of a bound line edit: with upper case on it turns whatever is entered into
// capitals by the Turkish rule (pasted and dropped text included); with a limit the user can
// make the text no longer than the limit, or than it already was (a stored text longer than
// its column still shows whole). What the program shows goes in unchanged but for the capitals.
class LineValidator : public QValidator {
public:
    LineValidator(QLineEdit* edit, bool upperCase);
    void setUpperCase(bool upper) { upper_ = upper; }
    // 0: no limit.
    void setLimit(int limit) { limit_ = limit; }
    int limit() const { return limit_; }
    // Puts a text the program shows into the edit, past the limit if need be.
    void show(const QString& text);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* edit_;
    bool upper_;
    int limit_ = 0;
    int lastLength_ = 0;
    bool showing_ = false;
};

} // namespace boundinput

} // namespace data
