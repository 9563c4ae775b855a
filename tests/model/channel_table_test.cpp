// Channel slots, labels, the channel check, the choice of a new channel number and the
// edit channel transaction.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/client_record.h"
#include "model/model_dialogs.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::RecordingFeedback;

void putSlot(ClientRecord& r, int n, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), r.image().begin() + 8 * n);
}

// A valid channel n on `rx`/`tx` with the given flags, written without validation.
void putChannel(ClientRecord& r, int n, std::uint32_t rx, std::uint32_t tx, int flags = 0) {
    r.setFrequency(n, 0, rx);
    r.setFrequency(n, 1, tx);
    r.image()[8 * n] = static_cast<std::uint8_t>(flags);
    r.image()[8 * n + 6] = static_cast<std::uint8_t>(n);
}

std::string label(const ClientRecord& r, int n) {
    char buffer[40] = {};
    r.getLabel(n, buffer, sizeof buffer);
    return buffer;
}

TEST(ChannelSlot, FrequencyPackingMatchesTheRadio) {
    ClientRecord r;
    putSlot(r, 1, {0x08, 0x96, 0x86, 0x81, 0xA8, 0x18, 0x05, 0x00});
    EXPECT_EQ(r.getFrequency(1, 0), 99990u);   // 9999.0 kHz
    EXPECT_EQ(r.getFrequency(1, 1), 101000u);  // 10100.0 kHz
    EXPECT_EQ(r.getFrequency(1, 7), 101000u) << "any non-zero selects TX";

    ClientRecord w;
    w.setFrequency(1, 0, 99990);
    w.setFrequency(1, 1, 101000);
    EXPECT_EQ(0, std::memcmp(w.image().data() + 9, r.image().data() + 9, 5));
}

TEST(ChannelSlot, SettingOneFrequencyLeavesTheOtherNibble) {
    ClientRecord r;
    r.setFrequency(4, 0, 0xFFFFF);
    r.setFrequency(4, 1, 0);
    EXPECT_EQ(r.image()[8 * 4 + 3], 0x0F);
    r.setFrequency(4, 1, 0xFFFFF);
    r.setFrequency(4, 0, 0);
    EXPECT_EQ(r.image()[8 * 4 + 3], 0xF0);
    EXPECT_EQ(r.getFrequency(4, 1), 0xFFFFFu);
    r.setFrequency(4, 0, 0x1234567);  // only the low 20 bits are kept
    EXPECT_EQ(r.getFrequency(4, 0), 0x34567u);
    EXPECT_EQ(r.getFrequency(4, 1), 0xFFFFFu);
    EXPECT_EQ(r.image()[8 * 4], 0) << "flags untouched";
}

TEST(ChannelSlot, ChannelZeroAndItsAliasesAreRefused) {
    ClientRecord r;
    const ClientRecord before = r;
    r.setFrequency(0, 0, 1000);
    r.setFrequency(256, 1, 1000);  // 256 is channel 0 after its low 8 bits
    r.setChannelFlag(256, ChannelFlag::Usb, 1);
    EXPECT_EQ(r.setLabel(256, "x"), 0);
    EXPECT_EQ(r.deleteChannel(0), 0);
    EXPECT_EQ(r, before);
    EXPECT_EQ(r.getFrequency(256, 0), 0u);
    EXPECT_EQ(r.isChannelFree(0), 1);
    EXPECT_EQ(r.getLabel(0, nullptr, 0), 0);

    r.setFrequency(257, 0, 1234);  // 257 is channel 1
    EXPECT_EQ(r.getFrequency(1, 0), 1234u);
}

TEST(ChannelSlot, ValidityLimits) {
    ClientRecord r;
    putChannel(r, 1, 299999, 299999);
    putChannel(r, 2, 300000, 1000);
    putChannel(r, 3, 1000, 300000);
    putChannel(r, 4, 0, 1000);
    EXPECT_EQ(r.isChannelFree(1), 0);
    EXPECT_EQ(r.isChannelFree(2), 1);
    EXPECT_EQ(r.isChannelFree(3), 1);
    EXPECT_EQ(r.isChannelFree(4), 1);
    EXPECT_EQ(r.hasNoChannels(), 0);
    r.deleteChannel(1);
    EXPECT_EQ(r.hasNoChannels(), 1);
}

TEST(ChannelSlot, FlagsOnlyBySingleBitMasks) {
    ClientRecord r;
    r.setChannelFlag(9, 0x03, 1);
    EXPECT_EQ(r.getChannelFlag(9, 0xFF), 0);
    r.setChannelFlag(9, 0x80, 1);
    r.setChannelFlag(9, ChannelFlag::Scan, 0x100);  // value's low 8 bits are zero: clears
    r.setChannelFlag(9, ChannelFlag::Usb, 2);
    r.setChannelFlag(9, 0x110, 1);  // mask 0x110 is TxEqualsRx
    EXPECT_EQ(r.getChannelFlag(9, 0xFF), 0x80 | ChannelFlag::Usb | ChannelFlag::TxEqualsRx);
    EXPECT_EQ(r.getChannelFlag(9, ChannelFlag::Usb), ChannelFlag::Usb);
    r.setChannelFlag(9, ChannelFlag::Usb, 0);
    EXPECT_EQ(r.getChannelFlag(9, ChannelFlag::Usb), 0);
}

TEST(ChannelLabels, LengthRulesAndBuffers) {
    ClientRecord r;
    const std::string l31(31, 'L'), l32(32, 'M');
    EXPECT_EQ(r.setLabel(5, l31.c_str()), 1);
    EXPECT_EQ(r.setLabel(5, l32.c_str()), 0);
    EXPECT_EQ(label(r, 5), l31);
    char buffer[32];
    EXPECT_EQ(r.getLabel(5, buffer, 31), -1);
    EXPECT_EQ(r.getLabel(5, buffer, 32), 31);
    EXPECT_EQ(r.getLabel(6, buffer, 1), 0) << "an empty label fits one byte";
    EXPECT_EQ(r.getLabel(6, buffer, 0), -1);
}

TEST(ChannelLabels, ForeignLabelWithoutNulEndsAfter32Bytes) {
    ClientRecord r;
    std::memset(r.labelBytes(7), 'Z', 32);
    std::memset(r.labelBytes(8), 'Y', 32);
    char buffer[40];
    EXPECT_EQ(r.getLabel(7, buffer, sizeof buffer), 32);
    EXPECT_EQ(std::string(buffer), std::string(32, 'Z'));
    EXPECT_EQ(r.getLabel(7, buffer, 32), -1);
}

TEST(ChannelLabels, LabelBelongsToTheNumberNotTheSlot) {
    ClientRecord r;
    for (int n = 1; n <= 10; ++n) ASSERT_EQ(r.addChannel(), n);
    r.setLabel(7, "SEVEN");
    for (int n = 8; n <= 10; ++n) r.deleteChannel(n);
    EXPECT_EQ(r.deleteChannel(7), 1);
    EXPECT_EQ(label(r, 7), "SEVEN");
    EXPECT_EQ(r.addChannel(), 7);
    EXPECT_EQ(label(r, 7), "SEVEN");
}

TEST(AddChannel, LowestNumberOfTheHighestFreeRun) {
    struct Case {
        int from, to;  // valid channels from..to (inclusive), 0 for none
        int extra;     // one more valid channel, 0 for none
        int expected;
    };
    for (const Case c :
         {Case{0, 0, 0, 1}, Case{1, 10, 0, 11}, Case{1, 10, 255, 11}, Case{1, 254, 0, 255},
          Case{5, 255, 0, 1}, Case{1, 255, 0, -1}, Case{100, 100, 0, 101}}) {
        ClientRecord r;
        for (int n = c.from; n && n <= c.to; ++n) putChannel(r, n, 1000, 1000);
        if (c.extra) putChannel(r, c.extra, 1000, 1000);
        const ClientRecord before = r;
        const int got = r.addChannel();
        EXPECT_EQ(got, c.expected) << c.from << ".." << c.to << " + " << c.extra;
        if (got < 0) {
            EXPECT_EQ(r, before);
            continue;
        }
        const std::uint8_t slot[8] = {
            0x18, 0x20, 0x4E, 0x00, 0xE2, 0x04, static_cast<std::uint8_t>(got), 0x00};
        EXPECT_EQ(0, std::memcmp(r.image().data() + 8 * got, slot, 8));
        EXPECT_EQ(r.getFrequency(got, 0), 20000u);
        EXPECT_EQ(r.getFrequency(got, 1), 20000u);
    }
}

TEST(ValidateChannels, RepairsCorruptedSlotsAndRenumbers) {
    RecordingFeedback feedback;
    ClientRecord r;
    putSlot(r, 3, {0x18, 0x00, 0x00, 0x00, 0x55, 0x00, 0x03, 0x00});  // RX 0
    putSlot(r, 4, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01});  // one stray byte
    putChannel(r, 5, 300000, 1000);                                   // RX too high
    putChannel(r, 6, 1000, 1000);
    r.image()[8 * 6 + 6] = 99;  // wrong number in byte 6
    r.image()[8 * 6 + 7] = 0x42;
    r.validateChannels();
    for (int n : {3, 4, 5}) {
        for (int i = 0; i < 8; ++i) EXPECT_EQ(r.image()[8 * n + i], 0) << n;
    }
    EXPECT_EQ(r.image()[8 * 6 + 6], 6);
    EXPECT_EQ(r.image()[8 * 6 + 7], 0x42) << "byte 7 is carried";
    ASSERT_EQ(feedback.messages().size(), 1u);
    const auto& m = feedback.messages()[0];
    EXPECT_EQ(m.text, "3 channels appear to be corrupted and have been deleted");
    EXPECT_EQ(m.owner, MessageOwner::Kind::Frame);
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);

    feedback.clear();
    r.validateChannels();
    EXPECT_TRUE(feedback.empty()) << "empty slots are not counted";
}

TEST(ValidateChannels, ScanLimitOfEight) {
    RecordingFeedback feedback;
    ClientRecord r;
    for (int n = 1; n <= 8; ++n) putChannel(r, n * 20, 1000, 1000, ChannelFlag::Scan);
    r.validateChannels();
    EXPECT_TRUE(feedback.empty());
    EXPECT_EQ(r.getChannelFlag(160, ChannelFlag::Scan), ChannelFlag::Scan);

    putChannel(r, 200, 1000, 1000, ChannelFlag::Scan | ChannelFlag::Usb);
    r.image()[8 * 250] = ChannelFlag::Scan | 0x80;  // a free slot's flags count as corruption
    r.validateChannels();
    for (int n = 1; n <= 255; ++n) ASSERT_EQ(r.getChannelFlag(n, ChannelFlag::Scan), 0) << n;
    EXPECT_EQ(r.getChannelFlag(200, ChannelFlag::Usb), ChannelFlag::Usb);
    EXPECT_EQ(feedback.texts(),
              (std::vector<std::string>{"1 channels appear to be corrupted and have been deleted",
                                        "There were 9 scan channels, this is more than the limit "
                                        "of 8.\nAll scan channels have been deselected"}));
    EXPECT_EQ(feedback.messages()[1].owner, MessageOwner::Kind::Frame);
}

class EditChannel : public ::testing::Test {
  protected:
    void TearDown() override { setEditChannelDialog({}); }
    RecordingFeedback feedback;
};

TEST_F(EditChannel, ConfirmKeepsChangesAndCancelRestoresEverything) {
    ClientRecord r;
    const int n = r.addChannel();
    r.setLabel(n, "old");
    int shownFor = 0;
    WindowHandle seenParent = nullptr;
    int answer = 1;
    setEditChannelDialog([&](ClientRecord& c, WindowHandle parent) {
        shownFor = c.currentChannel();
        seenParent = parent;
        c.setLabel(c.currentChannel(), "new");
        c.setFrequency(c.currentChannel(), 0, 0);  // leaves a corrupt slot: no validation
        c.image()[0] = 0x00;
        return answer;
    });
    int parent = 0;
    const ClientRecord before = r;
    answer = 0;
    EXPECT_EQ(r.editChannel(n, &parent), 0);
    EXPECT_EQ(shownFor, n);
    EXPECT_EQ(seenParent, &parent);
    EXPECT_EQ(r, before);
    answer = 1;
    EXPECT_EQ(r.editChannel(n, &parent), 1);
    EXPECT_EQ(label(r, n), "new");
    EXPECT_EQ(r.image()[0], 0x00);
    EXPECT_TRUE(feedback.empty()) << "neither outcome validates";
}

TEST_F(EditChannel, OutOfRangeNumbersShowNoDialog) {
    ClientRecord r;
    int shown = 0;
    setEditChannelDialog([&](ClientRecord&, WindowHandle) { return ++shown; });
    EXPECT_EQ(r.editChannel(0, nullptr), 0);
    EXPECT_EQ(r.editChannel(256, nullptr), 0);
    EXPECT_EQ(r.editChannel(-1, nullptr), 0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(r.editChannel(255, nullptr), 1);
    EXPECT_EQ(r.currentChannel(), 255);
    setEditChannelDialog({});
    EXPECT_EQ(r.editChannel(1, nullptr), 0) << "no dialog installed counts as cancelled";
}

}  // namespace
}  // namespace tarn
