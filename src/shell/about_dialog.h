#pragma once

#include <QDialog>

class QLabel;

namespace tarn {

// "About": the program's picture, who made it and its version line. It has no buttons:
// Enter, Escape or a click of either mouse button closes it.
class AboutDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* version_;
};

// "Version 3, 0, 1, 0" from the program's own version data; "v 3.0" when it has none.
QString versionLine();

void showAboutDialog(QWidget* parent);

}  // namespace tarn
