#pragma once

#include <QDialog>
#include <QGroupBox>

class QCheckBox;

namespace tarn {

// The two additions to printed sheets as two check boxes, read from the settings when made
// and stored by store().
class PrintOptionsBox final : public QGroupBox {
    Q_OBJECT
  public:
    explicit PrintOptionsBox(QWidget* parent);
    void store() const;

  private:
    QCheckBox* newPage_;
    QCheckBox* footer_;
};

// "Print options": the print options alone, stored on OK; Cancel leaves them as they were.
class PrintOptionsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit PrintOptionsDialog(QWidget* parent);
    void accept() override;

  private:
    PrintOptionsBox* options_;
};

void showPrintOptionsDialog(QWidget* parent);

}  // namespace tarn
