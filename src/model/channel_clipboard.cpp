// Copy and paste of channels through the "Tarn_ChanData" clipboard format.
//
// Channel block, integers little-endian:
//
// | offset      | size | content                                               |
// |-------------|------|-------------------------------------------------------|
// | 0           | 2    | count N, signed 16-bit                                |
// | 2 + 40 i    | 8    | the channel's slot as held; byte 6 is its number      |
// | 10 + 40 i   | 32   | the channel's label bytes as held                     |
//
// The block is allocated for every number handed to the copy; the N records of
// valid channels come first.
#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "model/byte_order.h"
#include "model/channel_slot.h"
#include "model/client_record.h"
#include "model/clipboard.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

constexpr std::size_t kCountSize = 2;
constexpr std::size_t kRecordSize = kSlotSize + kLabelSize;

}  // namespace

int ClientRecord::copyChannels(WindowHandle window, const std::uint8_t* numbers,
                               std::uint16_t length) {
    ClipboardSession board(ClipboardFormat::Channels, window);
    if (!board) return 0;
    board->empty();

    // Unlike a copy of clients, a failed allocation still counts as done (1): the
    // clipboard was opened, which is all this result tells.
    std::vector<std::uint8_t> block;
    try {
        block.assign(kCountSize + kRecordSize * length, 0);
    } catch (const std::bad_alloc&) {
        showError(MessageOwner::of(window), msg::kClipboardNoMemory);
        return 1;
    }

    std::uint16_t count = 0;
    for (std::uint16_t i = 0; numbers && i < length; ++i) {
        const int n = numbers[i];
        if (n == 0 || isChannelFree(n)) continue;
        std::uint8_t* record = block.data() + kCountSize + kRecordSize * count;
        std::copy_n(slotBytes(image_, n), kSlotSize, record);
        std::copy_n(labelBytes(n), kLabelSize, record + kSlotSize);
        ++count;
    }
    writeLe16(block.data(), count);

    if (!board->setData(ClipboardFormat::Channels, std::move(block)))
        showError(MessageOwner::of(window), msg::kClipboardNotSet);
    return 1;
}

int ClientRecord::pasteChannels(WindowHandle window) {
    ClipboardSession board(ClipboardFormat::Channels, window);
    if (!board) return 0;

    std::optional<std::vector<std::uint8_t>> block;
    if (board->isAvailable(ClipboardFormat::Channels))
        block = board->getData(ClipboardFormat::Channels);
    const int count = block && block->size() >= kCountSize
                          ? static_cast<std::int16_t>(readLe16(block->data()))
                          : 0;

    // Only records that lie wholly inside the block are read: data of another
    // origin may promise more than it holds.
    auto recordAt = [&](int i) -> const std::uint8_t* {
        const std::size_t offset = kCountSize + kRecordSize * i;
        return offset + kRecordSize > block->size() ? nullptr : block->data() + offset;
    };
    // With several channels in use the question also offers "Yes to All" and "No to All".
    int inUse = 0;
    for (int i = 0; i < count && recordAt(i); ++i) {
        const int n = recordAt(i)[slot::Number];
        if (n != 0 && !isChannelFree(n)) ++inUse;
    }
    std::optional<bool> overwriteAll;
    bool pasted = false;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* record = recordAt(i);
        if (!record) break;
        const int n = record[slot::Number];
        if (n == 0) {
            showError(MessageOwner::frame(), msg::kClipboardChannelsInvalid);
            continue;
        }
        if (!isChannelFree(n)) {
            if (!overwriteAll) {
                const MessageAnswer answer = userFeedback().showMessage(
                    MessageOwner::frame(), formatMessage(msg::kChannelInUseOverwrite, n),
                    MessageIcon::Question,
                    inUse > 1 ? MessageButtons::YesNoAll : MessageButtons::YesNo);
                if (answer == MessageAnswer::YesToAll || answer == MessageAnswer::NoToAll)
                    overwriteAll = answer == MessageAnswer::YesToAll;
                else if (answer != MessageAnswer::Yes)
                    continue;
            }
            if (overwriteAll && !*overwriteAll) continue;
        }
        std::copy_n(record, kSlotSize, slotBytes(image_, n));
        std::copy_n(record + kSlotSize, kLabelSize, labelBytes(n));
        pasted = true;
    }
    // Slots of another origin pass the check every loaded image passes, so a damaged
    // slot or a ninth scan channel never reaches a radio or the file.
    if (pasted) validateChannels();
    return 1;
}

}  // namespace tarn
