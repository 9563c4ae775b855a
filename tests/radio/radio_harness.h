#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/progress.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"
#include "sim/fake_radio_device.h"

namespace tarn::test {

// The connect prompt as RadioUiLog records it.
inline constexpr const char* kConnectPromptEntry =
    "message information okcancel: Connect the serial cable.\nPress both channel up and down "
    "keys for 2 seconds until RS-232 is displayed.\nThen press OK.";

// Records, in one ordered log, the progress window's life, the owner window's enabling
// and focus, and every message box (answering Ok/Cancel prompts from a script).
class RadioUiLog final : public ProgressUi, public UserFeedback {
  public:
    struct Update {
        int position;
        std::string text;  // "(null)" when the text was left unchanged
    };

    RadioUiLog() {
        setProgressUi(this);
        setUserFeedback(this);
    }
    ~RadioUiLog() override {
        setProgressUi(nullptr);
        setUserFeedback(nullptr);
    }

    std::unique_ptr<ProgressWindow> create(Kind kind, WindowHandle owner) override {
        log.push_back(std::string("dialog ") + (kind == Kind::Progress ? "Progress" : "Printing") +
                      (owner == kOwner ? " owned" : " unowned"));
        return std::make_unique<Window>(*this);
    }
    void enableWindow(WindowHandle window, bool enabled) override {
        log.push_back(std::string(enabled ? "enable" : "disable") +
                      (window == kOwner ? " owner" : " other"));
    }
    void focusWindow(WindowHandle window) override {
        log.push_back(std::string("focus") + (window == kOwner ? " owner" : " other"));
    }
    MessageAnswer showMessage(const MessageOwner& owner, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        static const char* const icons[] = {"error", "warning", "question", "information"};
        log.push_back(
            "message " + std::string(icons[static_cast<int>(icon)]) +
            (owner.kind == MessageOwner::Kind::Window && owner.window == kOwner ? "" : " !owner") +
            (buttons == MessageButtons::OkCancel ? " okcancel: " : ": ") + std::string(text));
        if (buttons != MessageButtons::OkCancel || answers.empty()) return MessageAnswer::Ok;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The log entries that start with `prefix`.
    std::vector<std::string> entries(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& entry : log)
            if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
        return out;
    }
    std::vector<std::string> messages() const { return entries("message "); }

    static inline WindowHandle const kOwner = reinterpret_cast<WindowHandle>(0x5150);
    std::vector<std::string> log;
    std::vector<Update> updates;
    std::deque<MessageAnswer> answers;  // for Ok/Cancel boxes; Ok when empty

  private:
    class Window final : public ProgressWindow {
      public:
        explicit Window(RadioUiLog& ui) : ui_(ui) {}
        ~Window() override { ui_.log.push_back("dialog closed"); }
        void setCaption(std::string_view caption) override {
            ui_.log.push_back("caption " + std::string(caption));
        }
        void update(int position, const char* text) override {
            ui_.updates.push_back({position, text ? text : "(null)"});
        }

      private:
        RadioUiLog& ui_;
    };
};

using Image = RadioMonitor::Memory;

// A recognisable memory: byte n holds (n * 7 + 3) & 0xFF.
inline Image patternMemory() {
    Image memory{};
    for (std::size_t n = 0; n < memory.size(); ++n)
        memory[n] = static_cast<std::uint8_t>((n * 7 + 3) & 0xFF);
    return memory;
}

// A radio on the in-process fake line, and a link to it on the virtual clock.
struct FakeRadio {
    explicit FakeRadio(RadioFaults faults = {}, FakePortFaults port = {}, bool paced = true,
                       std::uint32_t startTick = 0)
        : radio(std::make_shared<RadioMonitor>(std::move(faults))),
          clock(std::make_shared<VirtualClock>(startTick)) {
        auto fake = std::make_unique<FakeRadioDevice>(radio, clock, port, paced);
        device = fake.get();
        link = std::make_unique<SerialLink>(std::move(fake), clock);
        radio->memory() = patternMemory();
    }
    std::shared_ptr<RadioMonitor> radio;
    std::shared_ptr<VirtualClock> clock;
    FakeRadioDevice* device;  // owned by link
    std::unique_ptr<SerialLink> link;
};

// One read or write of `image` (0x5A throughout at first) through the fake radio.
struct RadioRun {
    explicit RadioRun(RadioFaults faults = {}, FakePortFaults port = {},
                      std::uint32_t startTick = 0)
        : fake(std::move(faults), port, true, startTick) {
        image.fill(0x5A);
    }
    bool read(bool verifying = false) {
        return fake.link->readRadio(RadioUiLog::kOwner, image.data(), 2048, verifying);
    }
    bool write(bool verify, int length = 2048) {
        return fake.link->writeRadio(RadioUiLog::kOwner, image.data(), length, verify);
    }
    std::vector<std::string> writes() const {  // the bytes of every write, in order
        std::vector<std::string> out;
        for (const auto& e : fake.device->writes()) out.push_back(e.bytes);
        return out;
    }
    RadioUiLog ui;
    FakeRadio fake;
    Image image;
};

}  // namespace tarn::test
