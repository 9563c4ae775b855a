#pragma once

#include <QDialog>

class QCheckBox;

namespace tarn {

// "Print options": the two additions to printed sheets, read from the settings when the
// dialog opens and stored on OK; Cancel leaves them as they were.
class PrintOptionsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit PrintOptionsDialog(QWidget* parent);
    void accept() override;

  private:
    QCheckBox* newPage_;
    QCheckBox* footer_;
};

void showPrintOptionsDialog(QWidget* parent);

}  // namespace tarn
