#include "platform/widgetstyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QWidget>

namespace platform {

QFont classicFont(int pixelHeight, bool bold) {
    static const bool haveClassic =
        QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"));
    QFont font = haveClassic ? QFont(QStringLiteral("MS Sans Serif"))
                             : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void fillBackground(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace platform
