#pragma once

#include <memory>
#include <string_view>

#include "model/progress.h"
#include "model/window_handle.h"

namespace tarn {

// The "Progress" window of the radio exchanges, owned by the window that asked. It
// shows bar 0 and no text when created and leaves the screen when destroyed.
class ProgressDialog {
  public:
    explicit ProgressDialog(WindowHandle owner);
    void setCaption(std::string_view caption);
    // New bar position, and a status text or null to keep the current one.
    void update(int position, const char* text);

  private:
    std::unique_ptr<ProgressWindow> window_;
};

}  // namespace tarn
