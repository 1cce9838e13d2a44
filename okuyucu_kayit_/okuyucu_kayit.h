#pragma once

#include <QWidget>

namespace data {
class TDateTimePicker;
}

// The reader entry window. Its bound controls edit the current row of the main window's reader
// record set through `okuyucud`.
class Tokuyucu_kayit : public QWidget {
    Q_OBJECT
public:
    explicit Tokuyucu_kayit(QWidget* parent = nullptr);

    data::TDateTimePicker* DateTimePicker1; // "Doğum Tarihi"

    // Closing the window drops whatever the reader record set still holds unsaved.
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern Tokuyucu_kayit* okuyucu_kayit;
