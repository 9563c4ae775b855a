#include "model/model_dialogs.h"

namespace tarn {
namespace {

EditChannelDialog& installedEditChannelDialog() {
    static EditChannelDialog dialog;
    return dialog;
}

}  // namespace

void setEditChannelDialog(EditChannelDialog dialog) {
    installedEditChannelDialog() = std::move(dialog);
}

const EditChannelDialog& editChannelDialog() {
    return installedEditChannelDialog();
}

}  // namespace tarn
