#include "radio/radio_harness.h"

namespace tarn::test {

MessageAnswer RadioUiLog::showMessage(const MessageOwner& owner, std::string_view text,
                                      MessageIcon icon, MessageButtons buttons) {
    static const char* const icons[] = {"error", "warning", "question", "information"};
    log.push_back(
        "message " + std::string(icons[static_cast<int>(icon)]) +
        (owner.kind == MessageOwner::Kind::Window && owner.window == kOwner ? "" : " !owner") +
        (buttons == MessageButtons::OkCancel ? " okcancel: " : ": ") + std::string(text));
    if (buttons != MessageButtons::OkCancel) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::Ok;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> RadioUiLog::entries(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
        if (entry.rfind(prefix, 0) == 0) out.push_back(entry);
    }
    return out;
}

FakeRadio::FakeRadio(RadioFaults faults, FakePortFaults port, bool paced, std::uint32_t startTick)
    : radio(std::make_shared<RadioMonitor>(std::move(faults))),
      clock(std::make_shared<VirtualClock>(startTick)) {
    auto fake = std::make_unique<FakeRadioDevice>(radio, clock, port, paced);
    device = fake.get();
    link = std::make_unique<SerialLink>(std::move(fake), clock);
    radio->memory() = patternMemory();
}

RadioMonitor::Memory patternMemory() {
    RadioMonitor::Memory memory{};
    for (std::size_t n = 0; n < memory.size(); ++n)
        memory[n] = static_cast<std::uint8_t>((n * 7 + 3) & 0xFF);
    return memory;
}

}  // namespace tarn::test
