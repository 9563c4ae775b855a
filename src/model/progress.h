#pragma once

#include <memory>
#include <string_view>

#include "model/window_handle.h"

namespace tarn {

// A small modeless window shown during a long operation ("Progress" for radio
// exchanges, "Printing" while a document is produced). It never closes itself.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;  // destroying it takes it off the screen
    virtual void setCaption(std::string_view caption) = 0;
    // New bar position (0..100; more shows as full) and status text; a null text
    // leaves the status line unchanged.
    virtual void update(int position, const char* text) = 0;
};

// The progress seam: the windows above, plus disabling, enabling and focusing the
// owner window around a long operation. The shell implements it with Qt; tests record.
class ProgressUi {
  public:
    enum class Kind { Progress, Printing };
    virtual ~ProgressUi() = default;
    virtual std::unique_ptr<ProgressWindow> create(Kind kind, WindowHandle owner) = 0;
    virtual void enableWindow(WindowHandle window, bool enabled) = 0;
    virtual void focusWindow(WindowHandle window) = 0;
};

// The installed one (Services::progress); never null (else a silent implementation).
ProgressUi& progressUi();

}  // namespace tarn
