#include "platform/qtdialogs.h"

#include "platform/activewindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace platform {

namespace {

// What a title bar takes beside its caption: the window icon, up to three buttons, the margins.
constexpr int captionAllowance = 128;

// The width of a caption as a title bar draws it (many draw it bold, none much larger).
int captionWidth(const QWidget& box, const QString& caption) {
    QFont font = box.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption);
}

// A Yes/No question has no Cancel: neither Esc nor the close button answers it.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool escapeAnswers = true;
    bool screenCentre = false;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!escapeAnswers && e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier)
            return;
        QMessageBox::keyPressEvent(e);
    }
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e); // the box takes its final size here
        if (!screenCentre)
            return;
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    void closeEvent(QCloseEvent* e) override {
        if (!escapeAnswers && !clickedButton()) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }
};

QMessageBox::StandardButton standard(Answer a) {
    switch (a) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

Answer QtDialogs::show(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                       Answer defaultAnswer, Placement placement) {
    QuestionBox box(boxOwner());
    box.screenCentre = placement == Placement::ScreenCentre;
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.escapeAnswers = false;
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    if (placement == Placement::ScreenCentre) {
        // The program's own boxes: their buttons keep their texts whatever the desktop's language.
        if (QAbstractButton* ok = box.button(QMessageBox::Ok))
            ok->setText(QStringLiteral("OK"));
        if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
            cancel->setText(QStringLiteral("Cancel"));
    }
    box.setDefaultButton(standard(defaultAnswer));
    // Wide enough for the whole caption beside the title bar's icon and close button.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth(box, caption) + captionAllowance, 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::OkCancel && !box.clickedButton() ? Answer::Cancel : Answer::Ok;
    }
}

} // namespace platform
