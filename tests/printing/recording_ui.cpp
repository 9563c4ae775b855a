#include "printing/recording_ui.h"

namespace tarn::test {
namespace {

class RecordedWindow final : public ProgressWindow {
  public:
    explicit RecordedWindow(RecordingUi& ui) : ui_(ui) { ++ui_.windowsOpen; }
    ~RecordedWindow() override {
        --ui_.windowsOpen;
        ui_.events.push_back("destroy");
    }
    void setCaption(std::string_view) override {}
    void update(int, const char*) override {}

  private:
    RecordingUi& ui_;
};

}  // namespace

RecordingUi::RecordingUi() {
    setProgressUi(this);
    setUserFeedback(this);
}

RecordingUi::~RecordingUi() {
    setProgressUi(nullptr);
    setUserFeedback(nullptr);
}

std::unique_ptr<ProgressWindow> RecordingUi::create(Kind kind, WindowHandle owner) {
    events.push_back(kind == Kind::Printing ? "create Printing" : "create Progress");
    lastOwner = owner;
    return std::make_unique<RecordedWindow>(*this);
}

void RecordingUi::enableWindow(WindowHandle window, bool enabled) {
    lastOwner = window;
    events.push_back(enabled ? "enable" : "disable");
    disabledCount += enabled ? -1 : 1;
}

void RecordingUi::focusWindow(WindowHandle window) {
    lastOwner = window;
    events.push_back("focus");
}

MessageAnswer RecordingUi::showMessage(const MessageOwner& owner, std::string_view text,
                                       MessageIcon icon, MessageButtons) {
    messages.push_back({std::string(text), icon, owner, windowsOpen, disabledCount > 0});
    return MessageAnswer::Ok;
}

}  // namespace tarn::test
