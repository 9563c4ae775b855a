// The 255 channel slots of a client's image, their labels, the channel check that
// every image entering a client undergoes, and the edit channel transaction.
#include <algorithm>
#include <cstring>

#include "model/channel_slot.h"
#include "model/client_record.h"
#include "model/message_texts.h"
#include "model/services.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

// Channel numbers: only the low 8 bits count; 0 means no channel.
int channelNumber(int n) {
    return n & 0xFF;
}

bool isSingleBit(int mask) {
    return mask != 0 && (mask & (mask - 1)) == 0;
}

// A new channel: Usb and TxEqualsRx, RX and TX 2000.0 kHz.
constexpr std::uint8_t kNewChannelSlot[kSlotSize] = {0x18, 0x20, 0x4E, 0x00, 0xE2, 0x04, 0, 0};

}  // namespace

int ClientRecord::isChannelFree(int n) const {
    n = channelNumber(n);
    if (n == 0) return 1;
    return slotIsValid(slotBytes(image_, n)) ? 0 : 1;
}

int ClientRecord::hasNoChannels() const {
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!isChannelFree(n)) return 0;
    }
    return 1;
}

std::uint32_t ClientRecord::getFrequency(int n, int which) const {
    n = channelNumber(n);
    if (n == 0) return 0;
    const std::uint8_t* s = slotBytes(image_, n);
    return which ? slotTx(s) : slotRx(s);
}

int ClientRecord::setFrequency(int n, int which, std::uint32_t value) {
    n = channelNumber(n);
    if (n == 0) return 0;
    std::uint8_t* s = slotBytes(image_, n);
    if (which) {
        setSlotTx(s, value & kFrequencyMask);
    } else {
        setSlotRx(s, value & kFrequencyMask);
    }
    return 0;
}

int ClientRecord::getChannelFlag(int n, int mask) const {
    n = channelNumber(n);
    if (n == 0) return 0;
    return slotBytes(image_, n)[slot::Flags] & mask & 0xFF;
}

int ClientRecord::setChannelFlag(int n, int mask, int value) {
    n = channelNumber(n);
    const int bit = mask & 0xFF;
    if (n == 0 || !isSingleBit(bit)) return 0;
    std::uint8_t& flags = slotBytes(image_, n)[slot::Flags];
    flags = static_cast<std::uint8_t>((flags & ~bit) | ((value & 0xFF) ? bit : 0));
    return 0;
}

int ClientRecord::getLabel(int n, char* buffer, int capacity) const {
    n = channelNumber(n);
    if (n == 0) return 0;
    // A label of other origin may fill all 32 bytes; it is shown, printed and exported
    // with its first 31, as a typed label has at most, so that an export imports again.
    // The record keeps all 32: files and the clipboard carry them unchanged.
    const std::uint8_t* label = labelBytes(n);
    const void* nul = std::memchr(label, 0, kLabelLength);
    const int length =
        nul ? static_cast<int>(static_cast<const std::uint8_t*>(nul) - label) : kLabelLength;
    if (!buffer || capacity < length + 1) return -1;
    std::memcpy(buffer, label, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

int ClientRecord::setLabel(int n, const char* text) {
    n = channelNumber(n);
    if (n == 0 || !text) return 0;
    const void* nul = std::memchr(text, 0, kLabelSize);
    if (!nul) return 0;
    std::uint8_t* label = labelBytes(n);
    std::memset(label, 0, kLabelSize);
    std::memcpy(label, text, static_cast<std::size_t>(static_cast<const char*>(nul) - text));
    return 1;
}

int ClientRecord::deleteChannel(int n) {
    n = channelNumber(n);
    if (n == 0) return 0;
    std::memset(slotBytes(image_, n), 0, kSlotSize);
    return 1;
}

int ClientRecord::addChannel() {
    // The lowest number of the highest run of free channels.
    bool seenFree = false;
    int chosen = -1;
    for (int n = kChannelCount; n >= 1; --n) {
        if (isChannelFree(n)) {
            seenFree = true;
        } else if (seenFree) {
            chosen = n + 1;
            break;
        }
    }
    if (chosen < 0) {
        if (!seenFree) return -1;  // all 255 in use
        chosen = 1;
    }
    std::uint8_t* s = slotBytes(image_, chosen);
    std::memcpy(s, kNewChannelSlot, kSlotSize);
    s[slot::Number] = static_cast<std::uint8_t>(chosen);
    return chosen;
}

void ClientRecord::validateChannels() {
    loadCheckedImage(image_.data());
}

void ClientRecord::loadCheckedImage(const std::uint8_t* from) {
    std::memmove(image_.data(), from, kSlotSize);  // the header; `from` may be the image
    int corrupted = 0;
    int scan = 0;
    // Every image loaded passes here, so each slot is handled as one word.
    constexpr std::uint64_t kNumberMask = std::uint64_t{0xFF} << (8 * slot::Number);
    for (int n = 1; n <= kChannelCount; ++n) {
        const std::uint64_t word = readLe64(from + kSlotSize * n);
        const bool valid = slotWordIsValid(word);
        const std::uint64_t numbered =
            (word & ~kNumberMask) | (std::uint64_t(n) << (8 * slot::Number));
        writeLe64(slotBytes(image_, n), valid ? numbered : 0);  // a bad slot is deleted
        scan += valid && (word & ChannelFlag::Scan);            // the flags are the low byte
        corrupted += !valid && word != 0;
    }
    if (corrupted > 0) {
        showError(MessageOwner::frame(), formatMessage(msg::kChannelsCorrupted, corrupted));
    }
    if (scan > kScanLimit) {
        // A scan list that is too long is dropped whole rather than cut to 8.
        for (int n = 1; n <= kChannelCount; ++n) {
            slotBytes(image_, n)[slot::Flags] &= static_cast<std::uint8_t>(~ChannelFlag::Scan);
        }
        const std::string pattern = formatMessage(msg::kScanChannelsCleared, scan);
        showError(MessageOwner::frame(), formatMessage(pattern, kScanLimit));
    }
}

int ClientRecord::editChannel(int n, WindowHandle parent) {
    if (n < 1 || n > kChannelCount) return 0;
    const RadioImage savedImage = image_;
    const auto savedLabels = labels_;
    currentChannel_ = static_cast<std::uint8_t>(n);
    const auto dialog = services().editChannel;
    if (dialog && dialog(*this, parent) != 0) return 1;
    // Cancelled: back to the state before, without validation.
    image_ = savedImage;
    labels_ = savedLabels;
    return 0;
}

}  // namespace tarn
