#pragma once

#include <QWidget>

// The loan entry window (its controls come with the loans work).
class Temanetkitap : public QWidget {
    Q_OBJECT
public:
    explicit Temanetkitap(QWidget* parent = nullptr);
};

extern Temanetkitap* emanetkitap;
