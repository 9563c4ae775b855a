#include "shell/print_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "printing/print_options.h"
#include "shell/context_help.h"

namespace tarn {

PrintOptionsBox::PrintOptionsBox(QWidget* parent)
    : QGroupBox("Printing", parent),
      newPage_(new QCheckBox("Start each client on a new page", this)),
      footer_(new QCheckBox("Page footer", this)) {
    footer_->setToolTip(
        "\"Page n of m\" and the file name on every page; a continued table "
        "names its client and repeats the headings");
    const PrintOptions options = storedPrintOptions();
    newPage_->setChecked(options.newPagePerClient);
    footer_->setChecked(options.pageFooter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newPage_);
    layout->addWidget(footer_);
}

void PrintOptionsBox::store() const {
    storePrintOptions({newPage_->isChecked(), footer_->isChecked()});
}

PrintOptionsDialog::PrintOptionsDialog(QWidget* parent)
    : QDialog(parent), options_(new PrintOptionsBox(this)) {
    setWindowTitle("Print options");
    setHelpTopic(this, "print-options");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PrintOptionsDialog::accept() {
    options_->store();
    QDialog::accept();
}

void showPrintOptionsDialog(QWidget* parent) {
    PrintOptionsDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
