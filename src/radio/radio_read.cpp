// Reading a radio: the hexadecimal dump of its memory block.
#include <memory>
#include <vector>

#include "model/progress.h"
#include "model/user_feedback.h"
#include "radio/dump_parser.h"
#include "radio/progress_dialog.h"
#include "radio/radio_texts.h"
#include "radio/serial_link.h"

namespace tarn {
namespace {

constexpr int kReceiveBuffer = 10240;
constexpr int kReplyLimit = 10219;
constexpr int kExpectedReply = 9232;  // what a radio sends; scales the bar
// A whole reply takes about 21 s; a line that keeps trickling bytes (a broken radio,
// noise) would otherwise hold the exchange for as long as it goes on.
constexpr std::uint32_t kExchangeLimitMs = 60'000;

}  // namespace

bool SerialLink::readRadio(WindowHandle owner, std::uint8_t* image, int size, bool verifying) {
    if (verifying) return readDump(owner, image, size, true, {false, nullptr, nullptr});
    return readRadio(owner, image, size, ExchangeOptions{});
}

bool SerialLink::readRadio(WindowHandle owner, std::uint8_t* image, int size,
                           const ExchangeOptions& how) {
    outcome_ = RadioOutcome{};
    if (how.prompt && !askToConnect(owner)) return false;
    beginExchange(how.name ? how.name : "Read");
    return finishExchange(readDump(owner, image, size, false, how));
}

bool SerialLink::readDump(WindowHandle owner, std::uint8_t* image, int size, bool verifying,
                          const ExchangeOptions& how) {
    outcome_.failure = RadioFailure::None;
    outcome_.received = 0;
    if (!connect(owner)) return false;

    auto dialog = std::make_unique<ProgressDialog>(owner);
    dialog->setCaption(how.caption ? how.caption
                       : verifying ? radio_text::kVerifyingCaption
                                   : radio_text::kReadingCaption);
    if (!verifying) progressUi().enableWindow(owner, false);
    // Every way out takes the dialog down and, for a Read, gives the owner back.
    auto release = [&] {
        dialog.reset();
        if (!verifying) {
            progressUi().enableWindow(owner, true);
            progressUi().focusWindow(owner);
        }
    };
    dialog->update(0, radio_text::kRequesting);

    std::vector<std::uint8_t> reply(kReceiveBuffer);
    send("D 1800 0800");
    const std::uint32_t requested = clock_->tickMs();
    int total = 0;
    int idle = 0;
    do {
        clock_->sleepMs(500);
        const int n = receive(reply.data() + total, kReceiveBuffer - total);
        if (n > 0) total += n;
        outcome_.received = total;
        if (total > kReplyLimit || ticksSince(requested, clock_->tickMs()) >= kExchangeLimitMs) {
            reply.clear();
            release();
            closePort();
            outcome_.failure = RadioFailure::InvalidData;
            fail(owner, radio_text::kInvalidData);
            return false;
        }
        if (n > 0) idle = 0;
        dialog->update(total * 100 / kExpectedReply,
                       formatMessage(radio_text::kReceived, total).c_str());
        ++idle;
    } while (idle < 3);

    send("E");
    clock_->sleepMs(10);
    closePort();
    dialog->update(100, radio_text::kProcessing);
    const DumpResult result = parseDump(reply.data(), total, image, size);
    reply.clear();
    release();
    // A reply that lines came in but that does not fill the image is not a radio's
    // memory: refuse it rather than hand zeros to the client.
    if (result == DumpResult::Incomplete) fail(owner, radio_text::kInvalidData);
    if (result == DumpResult::Incomplete) outcome_.failure = RadioFailure::Incomplete;
    if (result == DumpResult::Rejected)
        outcome_.failure = total == 0 ? RadioFailure::NoData : RadioFailure::NotADump;
    return result == DumpResult::Complete;
}

}  // namespace tarn
