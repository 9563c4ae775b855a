// The rules of editing one channel: typed frequencies, a new channel number, the scan
// limit, and what OK stores. The edit channel dialog only shows and collects.
#include <algorithm>

#include "model/channel_slot.h"
#include "model/client_record.h"
#include "model/khz_text.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

// The typed text as the dialog reads it: at most 63 characters.
std::optional<KhzValue> readKhz(std::string_view typed) {
    return KhzValue::parse(typed.substr(0, 63));
}

}  // namespace

std::string channelRefusalText(ChannelRefusal refusal) {
    switch (refusal) {
        case ChannelRefusal::None:
            return {};
        case ChannelRefusal::Receive:
            return msg::kReceiveInvalid;
        case ChannelRefusal::Transmit:
            return msg::kTransmitInvalid;
        case ChannelRefusal::NumberOutOfRange:
            return msg::kChannelOutOfRange;
        case ChannelRefusal::NumberInUse:
            return msg::kChannelInUse;
        case ChannelRefusal::ScanListFull:
            return formatMessage(msg::kScanListFull, kScanLimit);
    }
    return {};
}

ChannelRefusal ClientRecord::checkFrequency(int which, std::string_view typed) {
    // Below the table's limit, 30000.0 kHz: a channel at the limit would count as free.
    const auto value = readKhz(typed);
    if (value && frequencyAccepted(which, value->tenths())) return ChannelRefusal::None;
    return which ? ChannelRefusal::Transmit : ChannelRefusal::Receive;
}

bool ClientRecord::rxCopiesToTx(std::string_view typed) {
    return checkFrequency(0, typed) == ChannelRefusal::None &&
           checkFrequency(1, typed) == ChannelRefusal::None;
}

ChannelRefusal ClientRecord::checkChannelNumber(unsigned wanted) const {
    if (wanted == currentChannel_) return ChannelRefusal::None;
    if (wanted < 1 || wanted > kChannelCount) return ChannelRefusal::NumberOutOfRange;
    if (!isChannelFree(static_cast<int>(wanted))) return ChannelRefusal::NumberInUse;
    return ChannelRefusal::None;
}

int ClientRecord::moveChannel(unsigned n) {
    if (currentChannel_ == 0 || checkChannelNumber(n) != ChannelRefusal::None) return 0;
    if (n == currentChannel_) return 1;
    std::copy_n(slotBytes(image_, currentChannel_), kSlotSize, slotBytes(image_, n));
    std::fill_n(slotBytes(image_, currentChannel_), kSlotSize, 0);
    slotBytes(image_, n)[slot::Number] = static_cast<std::uint8_t>(n);
    currentChannel_ = static_cast<std::uint8_t>(n);
    return 1;
}

ChannelRefusal ClientRecord::checkScanTick() const {
    int scanning = 0;
    for (int n = 1; n <= kChannelCount; ++n)
        if (getChannelFlag(n, ChannelFlag::Scan)) ++scanning;
    return scanning < kScanLimit ? ChannelRefusal::None : ChannelRefusal::ScanListFull;
}

ChannelRefusal ClientRecord::storeChannel(const ChannelEntry& entry) {
    for (int which : {0, 1}) {
        const ChannelRefusal refusal = checkFrequency(which, which ? entry.tx : entry.rx);
        if (refusal != ChannelRefusal::None) return refusal;
    }
    const int n = currentChannel_;
    const KhzValue rx = *readKhz(entry.rx);
    const KhzValue tx = *readKhz(entry.tx);
    const bool advanced = getOption(ClientOption::Advanced) != 0;
    setFrequency(n, 0, static_cast<std::uint32_t>(rx.tenths()));
    setFrequency(n, 1, static_cast<std::uint32_t>(tx.tenths()));
    setChannelFlag(n, ChannelFlag::TxEqualsRx, rx == tx);
    setChannelFlag(n, ChannelFlag::Scan, advanced && entry.scan);
    setChannelFlag(n, ChannelFlag::Selcall, advanced && entry.selcall);
    setChannelFlag(n, ChannelFlag::Usb, entry.usb);
    setLabel(n, entry.label.substr(0, kLabelLength).c_str());
    return ChannelRefusal::None;
}

}  // namespace tarn
