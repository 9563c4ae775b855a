#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace tarn {

class PrintOptionsBox;

// "Options": the settings the dealer may change beside the port: how long radio backups
// are kept ("Backup Days"), whether programming first keeps what the radio holds ("Backup
// Before Write") and the print options. Read when it opens, stored on OK.
class OptionsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit OptionsDialog(QWidget* parent);
    void accept() override;

    QSpinBox& backupDays() { return *backupDays_; }
    QCheckBox& backupBeforeWrite() { return *backupBeforeWrite_; }

  private:
    QSpinBox* backupDays_;
    QCheckBox* backupBeforeWrite_;
    PrintOptionsBox* printing_;
};

void showOptionsDialog(QWidget* parent);

}  // namespace tarn
