// Programming a radio: Intel HEX records into its monitor, then an optional read-back.
#include <algorithm>
#include <array>
#include <memory>

#include "model/client_record.h"
#include "model/progress.h"
#include "model/user_feedback.h"
#include "radio/dump_parser.h"
#include "radio/hex_record.h"
#include "radio/progress_dialog.h"
#include "radio/radio_texts.h"
#include "radio/serial_link.h"

namespace tarn {
namespace {

constexpr std::uint32_t kRecordGap = 40;  // ms from one record's write to the next

}  // namespace

bool SerialLink::writeRadio(WindowHandle owner, const std::uint8_t* image, int length,
                            bool verify) {
    return writeRadio(owner, image, length, verify, ExchangeOptions{});
}

bool SerialLink::writeRadio(WindowHandle owner, const std::uint8_t* image, int length, bool verify,
                            const ExchangeOptions& how) {
    if (!image || length < 0) length = 0;
    outcome_ = RadioOutcome{};
    readBack_.clear();
    if (how.prompt && !askToConnect(owner)) return false;
    beginExchange(how.name ? how.name : "Write");
    if (!connect(owner)) return finishExchange(false);

    auto dialog = std::make_unique<ProgressDialog>(owner);
    dialog->setCaption(how.caption ? how.caption : radio_text::kProgrammingCaption);
    progressUi().enableWindow(owner, false);

    send("L 0000");
    clock_->sleepMs(500);
    unsigned sent = 0;
    std::uint32_t lastWrite = 0;
    bool anyRecord = false;
    for (int k = 0; 16 * k + 16 <= length; ++k) {
        const auto address = static_cast<std::uint16_t>(kImageBaseAddress + 16u * unsigned(k));
        const std::string record = hexDataRecord(address, image + 16 * k);
        if (anyRecord) waitUntilElapsed(*clock_, lastWrite, kRecordGap);
        const int written = send(record);
        lastWrite = clock_->tickMs();
        anyRecord = true;
        if (written > 0) sent += static_cast<unsigned>(written);
        outcome_.sent = static_cast<int>(sent);
        dialog->update(static_cast<int>(1600LL * k / length),
                       formatMessage(radio_text::kSent, sent).c_str());
    }
    if (anyRecord) waitUntilElapsed(*clock_, lastWrite, kRecordGap);
    send(kHexEndOfFile);
    clock_->sleepMs(500);

    if (verify) {
        closePort();
        dialog.reset();
        std::array<std::uint8_t, kImageSize> readBack{};
        if (!readRadio(owner, readBack.data(), kImageSize, true)) {
            // Nothing came back to compare: the radio is not verified.
            outcome_.verified = Verification::ReadFailed;
        } else {
            readBack_.assign(readBack.begin(), readBack.end());
            const int compared = std::min(length, kImageSize);
            for (int i = 0; i < compared; ++i)
                if (image[i] != readBack[static_cast<std::size_t>(i)])
                    outcome_.differing.push_back(i);
            outcome_.verified =
                outcome_.differing.empty() ? Verification::Passed : Verification::Differs;
        }
        if (outcome_.verified != Verification::Passed) fail(owner, radio_text::kVerifyFailed, true);
    } else {
        send("E");
        clock_->sleepMs(10);
        closePort();
        dialog.reset();
    }
    progressUi().enableWindow(owner, true);
    progressUi().focusWindow(owner);
    return finishExchange(true);
}

}  // namespace tarn
