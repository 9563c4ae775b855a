#include "shell/splash_screen.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "shell/artwork.h"

namespace tarn {

SplashScreen::SplashScreen(QWidget* frame, int displayTime)
    : QDialog(frame, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(splashPicture()),
      frame_(frame) {
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(picture_.size());
    const QScreen* screen = frame ? frame->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen->geometry();
    move(desktop.left() + (desktop.width() - width()) / 2,
         desktop.top() + (desktop.height() - height()) / 2);
    QTimer::singleShot(displayTime, this, &QDialog::accept);
}

SplashScreen* SplashScreen::start(QWidget* frame, int displayTime) {
    auto* splash = new SplashScreen(frame, displayTime);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    splash->raise();
    splash->activateWindow();
    return splash;
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void SplashScreen::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void SplashScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return accept();
    QDialog::keyPressEvent(event);  // Escape rejects, which closes it as well
}

void SplashScreen::done(int result) {
    if (!isVisible()) return;  // a second close request finds nothing left to do
    QDialog::done(result);
    if (frame_) {
        frame_->activateWindow();
        // The keys go back to where the frame had them (the list of the database window).
        QWidget* focus = frame_->focusWidget();
        (focus ? focus : frame_)->setFocus();
    }
}

}  // namespace tarn
