#include "support/recording_ui.h"

namespace tarn::test {
namespace {

const char* ownerWord(WindowHandle window) {
    return window == RecordingUi::kOwner ? " owner" : " other";
}

std::vector<std::string> filtered(const std::vector<std::string>& log, const std::string& prefix,
                                  bool starting) {
    std::vector<std::string> out;
    for (const auto& entry : log)
        if ((entry.rfind(prefix, 0) == 0) == starting) out.push_back(entry);
    return out;
}

class RecordedWindow final : public ProgressWindow {
  public:
    explicit RecordedWindow(RecordingUi& ui) : ui_(ui) { ui_.windowOpen = true; }
    ~RecordedWindow() override {
        ui_.windowOpen = false;
        ui_.log.push_back("dialog closed");
    }
    void setCaption(std::string_view caption) override {
        ui_.log.push_back("caption " + std::string(caption));
    }
    void update(int position, const char* text) override {
        ui_.updates.push_back({position, text ? text : "(null)"});
    }

  private:
    RecordingUi& ui_;
};

}  // namespace

RecordingUi::RecordingUi() {
    installed_->feedback = this;
    installed_->progress = this;
}

MessageAnswer RecordingUi::showMessage(const MessageOwner& owner, std::string_view text,
                                       MessageIcon icon, MessageButtons buttons) {
    static const char* const icons[] = {"error", "warning", "question", "information"};
    const bool yesNo = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoAll;
    MessageAnswer answer = yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    if (buttons != MessageButtons::Ok && !answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    const bool owned = owner.kind == MessageOwner::Kind::Window && owner.window == kOwner;
    log.push_back("message " + std::string(icons[static_cast<int>(icon)]) +
                  (owned ? "" : " !owner") +
                  (buttons == MessageButtons::OkCancel ? " okcancel: " : ": ") + std::string(text));
    messages_.push_back({owner.kind, owner.window, std::string(text), icon, buttons,
                         owner.defaultNo, windowOpen, ownerDisabled});
    if (whileShown) whileShown();
    return answer;
}

std::unique_ptr<ProgressWindow> RecordingUi::create(Kind kind, WindowHandle owner) {
    log.push_back(std::string("dialog ") + (kind == Kind::Progress ? "Progress" : "Printing") +
                  (owner == kOwner ? " owned" : " unowned"));
    return std::make_unique<RecordedWindow>(*this);
}

void RecordingUi::enableWindow(WindowHandle window, bool enabled) {
    log.push_back(std::string(enabled ? "enable" : "disable") + ownerWord(window));
    ownerDisabled = !enabled;
}

void RecordingUi::focusWindow(WindowHandle window) {
    log.push_back(std::string("focus") + ownerWord(window));
}

std::vector<std::string> RecordingUi::texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages_) out.push_back(m.text);
    return out;
}

std::vector<std::string> RecordingUi::entries(const std::string& prefix) const {
    return filtered(log, prefix, true);
}

std::vector<std::string> RecordingUi::windowLog() const {
    return filtered(log, "message ", false);
}

}  // namespace tarn::test
