#include "database/database_dialogs.h"

namespace tarn {
namespace {

EditClientDialog& installedEditClient() {
    static EditClientDialog dialog;
    return dialog;
}

EditDealerTextDialog& installedEditDealerText() {
    static EditDealerTextDialog dialog;
    return dialog;
}

}  // namespace

void setEditClientDialog(EditClientDialog dialog) {
    installedEditClient() = std::move(dialog);
}
const EditClientDialog& editClientDialog() {
    return installedEditClient();
}

void setEditDealerTextDialog(EditDealerTextDialog dialog) {
    installedEditDealerText() = std::move(dialog);
}
const EditDealerTextDialog& editDealerTextDialog() {
    return installedEditDealerText();
}

}  // namespace tarn
