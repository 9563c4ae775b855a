// Channel slots, labels, the channel check, new channel numbers and the edit transaction.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/client_record.h"
#include "model/model_dialogs.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using Texts = std::vector<std::string>;

// A channel written straight into the image, without validation.
void putChannel(ClientRecord& r, int n, std::uint32_t rx, std::uint32_t tx, int flags = 0) {
    r.setFrequency(n, 0, rx);
    r.setFrequency(n, 1, tx);
    r.image()[8 * n] = static_cast<std::uint8_t>(flags);
}

TEST(ChannelSlot, PackingAndNibbles) {
    ClientRecord r;
    const std::uint8_t slot5[8] = {0x08, 0x96, 0x86, 0x81, 0xA8, 0x18, 0x05, 0x00};
    std::memcpy(r.image().data() + 8, slot5, 8);
    EXPECT_EQ(r.getFrequency(1, 0), 99990u);
    EXPECT_EQ(r.getFrequency(1, 7), 101000u);
    r.setFrequency(1, 1, 0xFFFFF);  // TX leaves the RX nibble of byte 3
    EXPECT_EQ(r.image()[8 + 3], 0xF1);
    r.setFrequency(1, 0, 0x1234567);  // RX keeps its low 20 bits only, TX nibble stays
    EXPECT_EQ(r.image()[8 + 3], 0xF3);
    EXPECT_EQ(r.getFrequency(1, 0), 0x34567u);
    EXPECT_EQ(r.image()[8], 0x08);
}

TEST(ChannelSlot, ValidityFlagsAndChannelZero) {
    ClientRecord r;
    putChannel(r, 1, 299999, 299999);
    putChannel(r, 2, 300000, 1000);
    putChannel(r, 3, 1000, 300000);
    putChannel(r, 4, 0, 1000);
    EXPECT_EQ(std::vector<int>({r.isChannelFree(1), r.isChannelFree(2), r.isChannelFree(3),
                                r.isChannelFree(4), r.isChannelFree(0)}),
              std::vector<int>({0, 1, 1, 1, 1}));
    r.setChannelFlag(9, 0x03, 1);  // not a single bit: nothing
    r.setChannelFlag(9, 0x80, 1);
    r.setChannelFlag(9, 0x108, 2);  // mask and value count by their low 8 bits
    r.setChannelFlag(9, ChannelFlag::Scan, 0x100);
    EXPECT_EQ(r.getChannelFlag(9, 0xFF), 0x88);

    const ClientRecord before = r;  // 256 is channel 0: refused everywhere
    r.setFrequency(256, 0, 1000);
    r.setChannelFlag(256, ChannelFlag::Usb, 1);
    EXPECT_EQ(r.setLabel(256, "x"), 0);
    EXPECT_EQ(r.deleteChannel(0), 0);
    EXPECT_EQ(r.getFrequency(256, 0), 0u);
    EXPECT_EQ(r, before);
    EXPECT_EQ(r.deleteChannel(257), 1) << "257 is channel 1";
    EXPECT_EQ(r.hasNoChannels(), 1);
}

TEST(ChannelLabels, LimitsForeignBytesAndOwnership) {
    ClientRecord r;
    char buffer[40];
    EXPECT_EQ(r.setLabel(5, std::string(32, 'M').c_str()), 0);
    EXPECT_EQ(r.setLabel(5, std::string(31, 'L').c_str()), 1);
    EXPECT_EQ(r.getLabel(5, buffer, 31), -1);
    EXPECT_EQ(r.getLabel(5, buffer, 32), 31);
    EXPECT_EQ(r.getLabel(6, buffer, 1), 0);
    std::memset(r.labelBytes(7), 'Z', 32);  // a label of other origin without NUL
    EXPECT_EQ(r.getLabel(7, buffer, sizeof buffer), 32);
    EXPECT_EQ(std::string(buffer), std::string(32, 'Z'));

    // A label belongs to its number: delete 7, create it again, the old label shows.
    for (int n = 1; n <= 7; ++n) r.addChannel();
    r.setLabel(7, "SEVEN");
    r.deleteChannel(7);
    EXPECT_EQ(r.addChannel(), 7);
    EXPECT_EQ(r.getLabel(7, buffer, sizeof buffer), 5);
}

TEST(ChannelTable, AddChannelTakesTheLowestOfTheHighestFreeRun) {
    struct Case {
        int from, to, extra, expected;  // valid from..to (0: none) and one extra channel
    };
    for (const Case c : {Case{0, 0, 0, 1}, Case{1, 10, 0, 11}, Case{1, 10, 255, 11},
                         Case{1, 254, 0, 255}, Case{5, 255, 0, 1}, Case{1, 255, 0, -1}}) {
        ClientRecord r;
        for (int n = c.from; n && n <= c.to; ++n) putChannel(r, n, 1000, 1000);
        if (c.extra) putChannel(r, c.extra, 1000, 1000);
        const ClientRecord before = r;
        const int got = r.addChannel();
        EXPECT_EQ(got, c.expected) << c.from << ".." << c.to << " + " << c.extra;
        if (got < 0) {
            EXPECT_EQ(r, before);
        } else {
            const std::uint8_t slot[8] = {
                0x18, 0x20, 0x4E, 0x00, 0xE2, 0x04, static_cast<std::uint8_t>(got), 0x00};
            EXPECT_EQ(0, std::memcmp(r.image().data() + 8 * got, slot, 8));
        }
    }
}

TEST(ChannelTable, ValidationRepairsRenumbersAndDropsTooManyScans) {
    test::RecordingFeedback feedback;
    ClientRecord r;
    putChannel(r, 3, 0, 0x55);  // RX 0
    r.image()[8 * 4 + 7] = 1;   // a stray byte in an empty slot
    putChannel(r, 5, 300000, 1000);
    putChannel(r, 6, 1000, 1000);
    r.image()[8 * 6 + 6] = 99;
    r.image()[8 * 6 + 7] = 0x42;
    for (int n = 10; n < 18; ++n) putChannel(r, n, 1000, 1000, ChannelFlag::Scan);
    r.validateChannels();
    for (int n : {3, 4, 5}) EXPECT_TRUE(r.isChannelFree(n) && r.image()[8 * n + 7] == 0) << n;
    EXPECT_EQ(r.image()[8 * 6 + 6], 6);
    EXPECT_EQ(r.image()[8 * 6 + 7], 0x42) << "byte 7 is carried";
    EXPECT_EQ(r.getChannelFlag(17, ChannelFlag::Scan), ChannelFlag::Scan) << "8 scans stay";
    EXPECT_EQ(feedback.texts(), Texts{"3 channels appear to be corrupted and have been deleted"});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::Frame);
    EXPECT_EQ(feedback.messages()[0].icon, MessageIcon::Error);

    feedback.clear();
    putChannel(r, 200, 1000, 1000, ChannelFlag::Scan | ChannelFlag::Usb);
    r.image()[8 * 250] = ChannelFlag::Scan;  // a free slot's scan flag does not count
    r.validateChannels();
    for (int n = 1; n <= 255; ++n) ASSERT_EQ(r.getChannelFlag(n, ChannelFlag::Scan), 0) << n;
    EXPECT_EQ(r.getChannelFlag(200, ChannelFlag::Usb), ChannelFlag::Usb);
    EXPECT_EQ(feedback.texts(), (Texts{"1 channels appear to be corrupted and have been deleted",
                                       "There were 9 scan channels, this is more than the limit "
                                       "of 8.\nAll scan channels have been deselected"}));
}

TEST(ChannelTable, EditChannelTransaction) {
    test::RecordingFeedback feedback;
    ClientRecord r;
    const int n = r.addChannel();
    int answer = 0, shownFor = 0, parent = 0;
    WindowHandle seenParent = nullptr;
    setEditChannelDialog([&](ClientRecord& c, WindowHandle p) {
        shownFor = c.currentChannel();
        seenParent = p;
        c.setLabel(shownFor, "new");
        c.setFrequency(shownFor, 0, 0);  // a corrupt slot: neither outcome validates
        return answer;
    });
    const ClientRecord before = r;
    EXPECT_EQ(r.editChannel(n, &parent), 0);
    EXPECT_EQ(r, before);
    EXPECT_EQ(shownFor, n);
    EXPECT_EQ(seenParent, &parent);
    answer = 1;
    EXPECT_EQ(r.editChannel(n, &parent), 1);
    EXPECT_EQ(r.getFrequency(n, 0), 0u);
    shownFor = 0;
    EXPECT_EQ(r.editChannel(0, nullptr), 0);
    EXPECT_EQ(r.editChannel(256, nullptr), 0);
    EXPECT_EQ(shownFor, 0) << "no dialog for numbers outside 1..255";
    setEditChannelDialog({});
    EXPECT_EQ(r.editChannel(1, nullptr), 0) << "no dialog installed counts as cancelled";
    EXPECT_TRUE(feedback.empty());
}

}  // namespace
}  // namespace tarn
