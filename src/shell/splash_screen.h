#pragma once

#include <QDialog>
#include <QPixmap>

namespace tarn {

// The start-up picture: centred on the screen, above every other window, for
// `displayTime` ms or until a click, Enter or Escape. It is modal over the frame, so
// the frame takes no input while it is up; when it goes the frame gets the focus.
class SplashScreen final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kDisplayTime = 3000;

    SplashScreen(QWidget* frame, int displayTime = kDisplayTime);
    // Shows the splash without waiting for it; it deletes itself when it closes.
    static SplashScreen* start(QWidget* frame, int displayTime = kDisplayTime);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

  private:
    QPixmap picture_;
    QWidget* frame_;
};

}  // namespace tarn
