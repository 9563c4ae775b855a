#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/progress.h"
#include "model/services.h"
#include "model/user_feedback.h"

namespace tarn::test {

// The user interface as the core sees it, recorded in one ordered log: message boxes
// (questions answered from a script, else Ok / Yes like the stderr default), the progress
// window's life and updates, and the owner window's enabling and focus. Installs itself.
class RecordingUi final : public ProgressUi, public UserFeedback {
  public:
    // The owner window tests hand to the core; the log tells it from any other.
    static inline WindowHandle const kOwner = reinterpret_cast<WindowHandle>(0x5150);

    struct Message {
        MessageOwner::Kind owner;
        WindowHandle window;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
        bool defaultNo;
        bool windowOpen, ownerDisabled;  // the progress window and owner as the box came up
    };
    struct Update {
        int position;
        std::string text;  // "(null)" when the text was left unchanged
    };

    RecordingUi();
    RecordingUi(const RecordingUi&) = delete;
    RecordingUi& operator=(const RecordingUi&) = delete;

    // Answers for the next questions (Yes/No or Ok/Cancel boxes), in order.
    void script(std::initializer_list<MessageAnswer> more) { answers.insert(answers.end(), more); }
    std::deque<MessageAnswer> answers;
    std::function<void()> whileShown;  // runs while each box is up, after it is recorded

    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::unique_ptr<ProgressWindow> create(Kind kind, WindowHandle owner) override;
    void enableWindow(WindowHandle window, bool enabled) override;
    void focusWindow(WindowHandle window) override;

    const std::vector<Message>& messages() const { return messages_; }
    std::vector<std::string> texts() const;
    bool empty() const { return messages_.empty(); }
    void clear() { messages_.clear(); }

    // "dialog Progress owned", "caption ...", "dialog closed", "disable owner", "enable other",
    // "focus owner", "message error: ...", "message information okcancel: ..." (" !owner"
    // after the icon when kOwner does not own the box).
    std::vector<std::string> log;
    std::vector<std::string> entries(const std::string& prefix) const;  // log entries so starting
    std::vector<std::string> windowLog() const;                         // the log without messages
    std::vector<Update> updates;
    bool windowOpen = false, ownerDisabled = false;

  private:
    std::vector<Message> messages_;
    ScopedServices installed_;
};

}  // namespace tarn::test
