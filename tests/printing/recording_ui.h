#pragma once

#include <string>
#include <vector>

#include "model/progress.h"
#include "model/user_feedback.h"

namespace tarn::test {

// Records the "Printing" window and the owner's state, and every message box together
// with that state at the moment it was shown. Installs itself for its lifetime.
class RecordingUi final : public ProgressUi, public UserFeedback {
  public:
    struct Message {
        std::string text;
        MessageIcon icon;
        MessageOwner owner;
        int windowsOpen;     // "Printing" windows on the screen while the box showed
        bool ownerDisabled;  // the owner window still disabled while the box showed
    };

    RecordingUi();
    ~RecordingUi() override;

    std::unique_ptr<ProgressWindow> create(Kind kind, WindowHandle owner) override;
    void enableWindow(WindowHandle window, bool enabled) override;
    void focusWindow(WindowHandle window) override;
    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;

    std::vector<std::string> events;  // "create Printing", "destroy", "disable", "enable", "focus"
    std::vector<Message> messages;
    int windowsOpen = 0;
    int disabledCount = 0;  // disables not yet matched by an enable
    WindowHandle lastOwner = nullptr;
};

}  // namespace tarn::test
