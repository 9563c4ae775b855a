// libFuzzer target for clipboard blocks of another origin: any block pasted as clients
// or as channels leaves a database of at most 1000 clients, each of which stores and
// loads back unchanged, and never reads outside the block. Built by scripts/fuzz.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "database/client_database.h"
#include "model/channel_slot.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace {

void checkClient(const tarn::ClientRecord& client) {
    std::vector<std::uint8_t> record(tarn::kSerializedClientSize), again(record.size());
    client.serialize(record.data(), static_cast<int>(record.size()));
    tarn::ClientRecord copy;
    if (!copy.deserialize(record.data(), static_cast<int>(record.size()))) std::abort();
    copy.serialize(again.data(), static_cast<int>(again.size()));
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record[i] != again[i]) {
            std::fprintf(stderr, "byte %zu: %02x then %02x\n", i, record[i], again[i]);
            std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return -1;
    tarn::test::RecordingUi quiet;
    tarn::test::FakeClipboard board;
    // The first byte chooses the format, the rest is the block.
    const bool channels = data[0] & 1;
    board.blocks[channels ? tarn::ClipboardFormat::Channels : tarn::ClipboardFormat::Clients] =
        std::vector<std::uint8_t>(data + 1, data + size);
    tarn::ClientDatabase db(true);
    if (channels) {
        db.client(0)->pasteChannels(nullptr);
    } else {
        db.pasteClients(nullptr);
    }
    if (db.clientCount() < 1 || db.clientCount() > 1000) std::abort();
    for (int i = 0; i < db.clientCount(); ++i) checkClient(*db.client(i));
    if (board.opens != board.closes) std::abort();
    return 0;
}
