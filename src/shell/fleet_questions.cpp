#include "shell/fleet_questions.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/selcall_numbers.h"
#include "shell/context_help.h"
#include "shell/file_name_dialog.h"

namespace tarn {
namespace {

// A dialog of a text, the given fields, OK/Cancel and Help.
class QuestionDialog final : public QDialog {
  public:
    QuestionDialog(QWidget* parent, const QString& title, const QString& text, const char* help)
        : QDialog(parent), layout_(new QVBoxLayout(this)) {
        setWindowTitle(title);
        layout_->addWidget(new QLabel(text, this));
        buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        addHelpButton(buttons_, help);
        connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout_->setSizeConstraint(QLayout::SetFixedSize);
    }
    template <typename Field>
    Field* add(Field* field) {
        layout_->addWidget(field);
        return field;
    }
    bool ask() {
        layout_->addWidget(buttons_);
        return exec() == QDialog::Accepted;
    }

  private:
    QVBoxLayout* layout_;
    QDialogButtonBox* buttons_;
};

}  // namespace

bool askPrintSelected(QWidget* parent, int clients, std::optional<std::filesystem::path>& folder) {
    QuestionDialog dialog(
        parent, "Print selected",
        QString("Print the %1 selected %2.").arg(clients).arg(clients == 1 ? "client" : "clients"),
        "printing-selected-clients");
    auto* each = dialog.add(new QCheckBox("Print each client to its own PDF", &dialog));
    each->setObjectName("each");
    if (!dialog.ask()) return false;
    folder.reset();
    if (!each->isChecked()) return true;
    std::filesystem::path chosen;
    if (!askFileName(parent, chosen, FileDialogKind::PdfFolder)) return false;
    folder = chosen;
    return true;
}

std::optional<int> askFirstSelcall(QWidget* parent, const ClientDatabase& db,
                                   const std::vector<int>& clients) {
    QuestionDialog dialog(parent, "Number selcalls",
                          QString("Consecutive free selcalls for the advanced clients among the "
                                  "%1 selected, from:")
                              .arg(clients.size()),
                          "numbering-selcalls");
    auto* start = dialog.add(new QSpinBox(&dialog));
    start->setRange(0, kLastSelcall);
    start->setValue(suggestedFirstSelcall(db, clients));
    if (!dialog.ask()) return std::nullopt;
    return start->value();
}

}  // namespace tarn
