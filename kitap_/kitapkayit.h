#pragma once

#include <QWidget>

namespace data {
class TDateTimePicker;
}

// The book entry window. Its bound controls edit the current row of the main window's book
// record set through `kitapD`.
class Tkitapkayit : public QWidget {
    Q_OBJECT
public:
    explicit Tkitapkayit(QWidget* parent = nullptr);

    data::TDateTimePicker* DateTimePicker1; // "Edinme Tarihi"
    data::TDateTimePicker* DateTimePicker2; // "Baskı Tarihi"

    // Closing the window drops whatever the book record set still holds unsaved.
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern Tkitapkayit* kitapkayit;
