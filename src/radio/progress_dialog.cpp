#include "radio/progress_dialog.h"

namespace tarn {

ProgressDialog::ProgressDialog(WindowHandle owner)
    : window_(progressUi().create(ProgressUi::Kind::Progress, owner)) {}

void ProgressDialog::setCaption(std::string_view caption) {
    if (window_) window_->setCaption(caption);
}

void ProgressDialog::update(int position, const char* text) {
    if (window_) window_->update(position, text);
}

}  // namespace tarn
