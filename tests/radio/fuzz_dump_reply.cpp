// libFuzzer target for the radio's dump reply: any bytes parse to one of the three
// results, the image is touched only for a complete dump, and a complete image fills a
// client through the channel check without fault. Built by scripts/fuzz with clang.
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/channel_slot.h"
#include "model/client_record.h"
#include "radio/dump_parser.h"
#include "support/recording_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return -1;
    std::array<std::uint8_t, 2048> image;
    image.fill(0xA5);
    const auto result = tarn::parseDump(data, static_cast<int>(size), image.data(), 2048);
    const bool untouched =
        image[0] == 0xA5 && std::memcmp(image.data(), image.data() + 1, 2047) == 0;
    if (result != tarn::DumpResult::Complete && !untouched) std::abort();
    if ((result == tarn::DumpResult::Complete) !=
        tarn::parseDumpReply(data, static_cast<int>(size), image.data(), 2048))
        std::abort();
    if (result == tarn::DumpResult::Complete) {
        tarn::test::RecordingUi quiet;
        tarn::ClientRecord client, copy;
        client.loadImage(image.data(), 2048);
        client.validateChannels();
        // What the check leaves is a client that stores and loads back unchanged.
        std::vector<std::uint8_t> record(tarn::kSerializedClientSize), again(record.size());
        client.serialize(record.data(), static_cast<int>(record.size()));
        if (!copy.deserialize(record.data(), static_cast<int>(record.size()))) std::abort();
        copy.serialize(again.data(), static_cast<int>(again.size()));
        if (record != again) std::abort();
    }
    return 0;
}
