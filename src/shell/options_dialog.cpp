#include "shell/options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "settings/settings_store.h"
#include "shell/context_help.h"
#include "shell/print_options_dialog.h"

namespace tarn {

namespace {
constexpr int kMostBackupDays = 36500;  // a hundred years: as good as forever
}

OptionsDialog::OptionsDialog(QWidget* parent)
    : QDialog(parent),
      backupDays_(new QSpinBox(this)),
      backupBeforeWrite_(new QCheckBox("Keep what a radio holds before programming it", this)),
      printing_(new PrintOptionsBox(this)) {
    setWindowTitle("Options");
    setHelpTopic(this, "options");
    const SettingsStore store = settings();
    backupDays_->setObjectName("BackupDays");
    backupDays_->setRange(0, kMostBackupDays);
    backupDays_->setSpecialValueText("Keep them all");
    backupDays_->setSuffix(" days");
    backupDays_->setValue(store.backupDays());
    backupBeforeWrite_->setChecked(store.backupBeforeWrite());
    backupBeforeWrite_->setToolTip(
        "Write first reads the radio and keeps its memory in the backup folder, so that "
        "programming the wrong client never loses a customer's setup.");

    auto* backups = new QGroupBox("Radio backups", this);
    auto* form = new QFormLayout(backups);
    form->addRow("Remove backups older than:", backupDays_);
    form->addRow(backupBeforeWrite_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(backups);
    layout->addWidget(printing_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OptionsDialog::accept() {
    SettingsStore store = settings();
    store.setBackupDays(backupDays_->value());
    store.setBackupBeforeWrite(backupBeforeWrite_->isChecked());
    printing_->store();
    QDialog::accept();
}

void showOptionsDialog(QWidget* parent) {
    OptionsDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
