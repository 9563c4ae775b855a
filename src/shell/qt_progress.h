#pragma once

#include "model/progress.h"

namespace tarn {

// The "Progress" and "Printing" windows, and disabling, enabling and focusing the owner.
// While one is up the program keeps painting and discards every click and key (a modal
// box shown meanwhile excepted).
class QtProgressUi final : public ProgressUi {
  public:
    std::unique_ptr<ProgressWindow> create(Kind kind, WindowHandle owner) override;
    void enableWindow(WindowHandle window, bool enabled) override;
    void focusWindow(WindowHandle window) override;
};

// True while a "Progress" or "Printing" window is up.
bool longOperationRunning();

}  // namespace tarn
