// Copy and paste of whole clients through the "Tarn_RadioData" clipboard format.
//
// Client block, integers little-endian:
//
// | offset          | size  | content                                         |
// |-----------------|-------|-------------------------------------------------|
// | 0               | 4     | count N, signed 32-bit, at least 1              |
// | 4 + 10257 i     | 10257 | serialised client i, in the order of the list   |
#include <algorithm>
#include <new>
#include <vector>

#include "database/client_database.h"
#include "model/byte_order.h"
#include "model/clipboard.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

constexpr std::size_t kCountSize = 4;
constexpr std::size_t kRecordSize = kSerializedClientSize;

}  // namespace

int ClientDatabase::copyClients(WindowHandle window, const int* indexes, int length) {
    ClipboardSession board(ClipboardFormat::Clients, window);
    if (!board) return 0;
    board->empty();
    const MessageOwner owner = MessageOwner::of(window);

    // Unlike a copy of channels, a failed allocation is a failed copy (0).
    std::vector<std::uint8_t> block;
    try {
        block.assign(kCountSize + kRecordSize * static_cast<std::size_t>(std::max(length, 0)), 0);
    } catch (const std::bad_alloc&) {
        showError(owner, msg::kClipboardNoMemory);
        return 0;
    }

    writeLe32(block.data(), static_cast<std::uint32_t>(length));
    int copied = 0;
    for (; indexes && copied < length; ++copied) {
        const ClientRecord* record = client(indexes[copied]);
        if (!record) break;
        record->serialize(block.data() + kCountSize + kRecordSize * copied,
                          static_cast<int>(kRecordSize));
    }
    if (length < 0 || copied != length) {
        showError(owner, msg::kClipboardError);
        return 0;
    }

    if (!board->setData(ClipboardFormat::Clients, std::move(block)))
        showError(owner, msg::kClipboardNotSet);
    return 1;
}

int ClientDatabase::pasteClients(WindowHandle window) {
    ClipboardSession board(ClipboardFormat::Clients, window);
    if (!board) return 0;

    std::optional<std::vector<std::uint8_t>> block;
    if (board->isAvailable(ClipboardFormat::Clients))
        block = board->getData(ClipboardFormat::Clients);
    const int count = block && block->size() >= kCountSize
                          ? static_cast<std::int32_t>(readLe32(block->data()))
                          : 0;
    if (count < 1) return 0;

    // Only records that lie wholly inside the block are read: data of another
    // origin may promise more than it holds.
    for (int i = 0; i < count; ++i) {
        const std::size_t offset = kCountSize + kRecordSize * static_cast<std::size_t>(i);
        if (offset + kRecordSize > block->size()) break;
        const int index = addClient();
        if (index < 0) continue;  // 1000 clients held: the rest is skipped silently
        if (!client(index)->deserialize(block->data() + offset, static_cast<int>(kRecordSize)))
            deleteClient(index);
    }
    setModified(true);
    return 1;
}

}  // namespace tarn
