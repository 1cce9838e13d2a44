#include "platform/widgetstyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace platform {

QFont classicFont(int pixelHeight, bool bold) {
    // The windows were drawn in "MS Sans Serif", which Windows has. Elsewhere a face with
    // Arial's widths keeps every caption within the place it was drawn for (Debian's
    // Liberation Sans); the system's ordinary face where none of them is installed. A Windows
    // without the old face (Wine has none) takes its successor or Arial's widths likewise.
#ifdef Q_OS_WIN
    static const QStringList faces{QStringLiteral("MS Sans Serif"),
                                   QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                   QStringLiteral("Liberation Sans")};
#else
    static const QStringList faces{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                   QStringLiteral("Arial")};
#endif
    static const QString face = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString& f : faces)
            if (installed.contains(f))
                return f;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont font(face);
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

namespace {

void centreFrame(QWidget* window, const QMargins& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize outer = window->size().grownBy(frame);
    window->move(screen->availableGeometry().center() -
                 QPoint(outer.width() / 2, outer.height() / 2));
}

// Where the window system tells a window's frame only once the window is on the screen (X11),
// centres it again, once, when its frame is first known.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A maximised or minimised window is centred once it is shown in its normal size.
        if (watched != window_ || !window_->isVisible() ||
            (window_->windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) ||
            (event->type() != QEvent::Move && event->type() != QEvent::Resize &&
             event->type() != QEvent::UpdateRequest))
            return false;
        const QMargins frame = window_->windowHandle()->frameMargins();
        if (!frame.isNull()) {
            window_->removeEventFilter(this);
            centreFrame(window_, frame);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void centreOnScreen(QWidget* window) {
    window->winId(); // the native window, which knows its frame where the system tells it early
    const QMargins frame = window->windowHandle()->frameMargins();
    centreFrame(window, frame);
    if (frame.isNull())
        new CentreWhenFramed(window);
}

} // namespace platform
