#include "emanetkitap_/emanetkitap.h"

#include "platform/widgetstyle.h"

Temanetkitap* emanetkitap = nullptr;

Temanetkitap::Temanetkitap(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("emanetkitap"));
    setWindowTitle(QStringLiteral("Emanet Verilen Kitap Kaydı"));
    setGeometry(261 + 4, 139 + 23, 458, 386); // outer bounds 261, 139, 466 × 413
    setFont(platform::classicFont(11));
    platform::fillBackground(this, QColor(255, 255, 128));
}
