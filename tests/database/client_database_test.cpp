// The client list, the demonstration client, the edit transactions and the modified flag.
#include <gtest/gtest.h>

#include <cstring>

#include "database/client_database.h"
#include "database/database_dialogs.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::RecordingFeedback;

std::string nameOf(const ClientDatabase& db, int index) {
    char buffer[32] = {};
    db.client(index)->getName(buffer, sizeof buffer);
    return buffer;
}

TEST(ClientDatabase, EmptyAndDemonstrationConstruction) {
    ClientDatabase empty(false);
    EXPECT_EQ(empty.clientCount(), 0);
    EXPECT_EQ(empty.isModified(), 0);
    EXPECT_EQ(empty.dealerString(), "");

    RecordingFeedback feedback;
    ClientDatabase db(true);
    ASSERT_EQ(db.clientCount(), 1);
    EXPECT_NE(db.isModified(), 0);
    const ClientRecord& demo = *db.client(0);
    const std::uint8_t slots[7][8] = {
        {0x18, 0x18, 0x92, 0x80, 0x21, 0x09, 0x01, 0x00},
        {0x18, 0x94, 0xC5, 0x40, 0x59, 0x0C, 0x02, 0x00},
        {0x18, 0x4C, 0x6C, 0xC1, 0xC4, 0x16, 0x03, 0x00},
        {0x18, 0xF8, 0x10, 0x81, 0x0F, 0x11, 0x04, 0x00},
        {0x08, 0x96, 0x86, 0x81, 0xA8, 0x18, 0x05, 0x00},
        {0x18, 0xB0, 0xAD, 0x01, 0xDB, 0x1A, 0x06, 0x00},
        {0x08, 0xE6, 0x49, 0x62, 0xA8, 0x24, 0x07, 0x00},
    };
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(0, std::memcmp(demo.image().data() + 8 * n, slots[n - 1], 8)) << n;
    }
    const std::uint32_t rx[7] = {37400, 50580, 93260, 69880, 99990, 110000, 149990};
    const std::uint32_t tx[7] = {37400, 50580, 93260, 69880, 101000, 110000, 150150};
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(demo.getFrequency(n, 0), rx[n - 1]) << n;
        EXPECT_EQ(demo.getFrequency(n, 1), tx[n - 1]) << n;
    }
    for (int n = 8; n <= 255; ++n) ASSERT_TRUE(demo.isChannelFree(n));
    ClientRecord plain;
    EXPECT_EQ(0, std::memcmp(demo.image().data(), plain.image().data(), 8));
    EXPECT_TRUE(feedback.empty());
}

TEST(ClientDatabase, AddAndDeleteShiftIndexes) {
    ClientDatabase db(false);
    for (const char* name : {"zero", "one", "two"}) {
        const int index = db.addClient();
        db.client(index)->setName(name);
    }
    EXPECT_NE(db.isModified(), 0);
    db.setModified(false);
    EXPECT_EQ(db.deleteClient(3), 0);
    EXPECT_EQ(db.deleteClient(-1), 0);
    EXPECT_EQ(db.isModified(), 0) << "a refused delete changes nothing";
    EXPECT_EQ(db.deleteClient(0), 1);
    EXPECT_NE(db.isModified(), 0);
    ASSERT_EQ(db.clientCount(), 2);
    EXPECT_EQ(nameOf(db, 0), "one");
    EXPECT_EQ(nameOf(db, 1), "two");
    EXPECT_EQ(db.client(2), nullptr);
    EXPECT_EQ(db.client(-1), nullptr);
}

TEST(ClientDatabase, HoldsAtMostAThousandClients) {
    ClientDatabase db(false);
    for (int i = 0; i < kMaxClients; ++i) ASSERT_EQ(db.addClient(), i);
    db.setModified(false);
    EXPECT_EQ(db.addClient(), -1);
    EXPECT_EQ(db.clientCount(), kMaxClients);
    EXPECT_EQ(db.isModified(), 0);
}

TEST(ClientDatabase, SummaryTexts) {
    ClientDatabase db(false);
    db.addClient();
    ClientSummary s;
    ASSERT_EQ(db.clientSummary(0, s), 1);
    EXPECT_EQ(s.name, "New Client");
    EXPECT_EQ(s.type, "Advanced");
    EXPECT_EQ(s.serial, "0");
    EXPECT_EQ(s.selcall, "1234");
    EXPECT_EQ(s.program, "Enabled");
    EXPECT_EQ(s.mode, "Toggle");
    EXPECT_EQ(s.tune, "Manual");
    EXPECT_EQ(s.power, "High");

    ClientRecord& c = *db.client(0);
    c.image()[0] = ClientOption::AutoTune | PowerLevel::Mid1;
    c.setName("");
    ASSERT_EQ(db.clientSummary(0, s), 1);
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.type, "Standard");
    EXPECT_EQ(s.program, "Off");
    EXPECT_EQ(s.mode, "Fixed");
    EXPECT_EQ(s.tune, "Auto");
    EXPECT_EQ(s.power, "Mid1");
    c.image()[0] = PowerLevel::Mid2;
    db.clientSummary(0, s);
    EXPECT_EQ(s.power, "Mid2");
    c.image()[0] = PowerLevel::Low;
    db.clientSummary(0, s);
    EXPECT_EQ(s.power, "Low");
    EXPECT_EQ(db.clientSummary(1, s), 0);
}

TEST(ClientDatabase, PerClientOperationsLeaveTheModifiedFlag) {
    RecordingFeedback feedback;
    ClientDatabase db(false);
    db.addClient();
    db.setModified(false);
    EXPECT_EQ(db.setClientAdvanced(0, 0), 1);
    EXPECT_EQ(db.client(0)->getOption(ClientOption::Advanced), 0);
    EXPECT_EQ(db.setClientAdvanced(0, 1), 1);
    EXPECT_EQ(db.client(0)->getOption(ClientOption::Advanced), ClientOption::Advanced);
    EXPECT_EQ(db.setClientAdvanced(1, 1), 0);

    ClientDatabase demo(true);
    std::vector<std::uint8_t> image(kImageSize);
    EXPECT_EQ(demo.copyClientImage(0, image.data(), kImageSize), kImageSize);
    EXPECT_EQ(demo.copyClientImage(1, image.data(), kImageSize), 0);
    EXPECT_EQ(db.clientHasNoChannels(0), 1);
    EXPECT_EQ(db.loadClientImage(0, image.data(), kImageSize), 1);
    EXPECT_EQ(db.clientHasNoChannels(0), 0);
    EXPECT_EQ(db.clientHasNoChannels(5), 0);
    EXPECT_EQ(db.loadClientImage(1, image.data(), kImageSize), 0);
    EXPECT_EQ(db.isModified(), 0);
}

class EditTransactions : public ::testing::Test {
  protected:
    void TearDown() override {
        setEditClientDialog({});
        setEditDealerTextDialog({});
    }
    RecordingFeedback feedback;
};

TEST_F(EditTransactions, CancelledClientEditRestoresEverything) {
    ClientDatabase db(true);
    ClientRecord& c = *db.client(0);
    c.setLabel(3, "three");
    const ClientRecord before = c;
    db.setModified(false);
    int parent = 0;
    WindowHandle seen = nullptr;
    setEditClientDialog([&](ClientRecord& client, WindowHandle p) {
        seen = p;
        client.setName("Changed");
        client.setSerial("999");
        client.setSelcall("0000");
        client.setOption(ClientOption::PowerLevel, PowerLevel::Low);
        client.deleteChannel(2);
        client.setLabel(3, "other");
        client.addChannel();
        return 0;
    });
    EXPECT_EQ(db.editClient(&parent, 0), 0);
    EXPECT_EQ(seen, &parent);
    EXPECT_EQ(c, before);
    EXPECT_EQ(db.isModified(), 0);
    EXPECT_TRUE(feedback.empty());
}

TEST_F(EditTransactions, CancelRunsTheChannelCheckOverAPastedSurplus) {
    ClientDatabase db(true);
    // Nine scan channels already held (a paste can leave them) and a cancelled edit.
    for (int n = 1; n <= 7; ++n) db.client(0)->setChannelFlag(n, ChannelFlag::Scan, 1);
    for (int n = 8; n <= 9; ++n) {
        db.client(0)->addChannel();
        db.client(0)->setChannelFlag(n, ChannelFlag::Scan, 1);
    }
    setEditClientDialog([](ClientRecord&, WindowHandle) { return 0; });
    EXPECT_EQ(db.editClient(nullptr, 0), 0);
    ASSERT_EQ(feedback.texts().size(), 1u);
    EXPECT_EQ(db.client(0)->getChannelFlag(1, ChannelFlag::Scan), 0);
}

TEST_F(EditTransactions, ConfirmedClientEditSetsModified) {
    ClientDatabase db(false);
    db.addClient();
    db.setModified(false);
    setEditClientDialog([](ClientRecord& client, WindowHandle) {
        client.setName("Kept");
        return 1;
    });
    EXPECT_EQ(db.editClient(nullptr, 1), 0);
    EXPECT_EQ(db.editClient(nullptr, -1), 0);
    EXPECT_EQ(db.isModified(), 0);
    EXPECT_EQ(db.editClient(nullptr, 0), 1);
    EXPECT_EQ(nameOf(db, 0), "Kept");
    EXPECT_NE(db.isModified(), 0);
}

TEST_F(EditTransactions, DealerTextDialog) {
    ClientDatabase db(false);
    EXPECT_EQ(db.editDealerText(nullptr), 0) << "no dialog installed";
    int result = 1;
    setEditDealerTextDialog([&](std::array<char, 100>& text, WindowHandle) {
        std::memset(text.data(), 'D', text.size());  // a dialog overfilling the field
        return result;
    });
    EXPECT_EQ(db.editDealerText(nullptr), 1);
    EXPECT_NE(db.isModified(), 0);
    EXPECT_EQ(db.dealerString(), std::string(99, 'D'));

    setEditDealerTextDialog([&](std::array<char, 100>&, WindowHandle) { return 1; });
    db.setModified(false);
    EXPECT_EQ(db.editDealerText(nullptr), 1);
    EXPECT_NE(db.isModified(), 0) << "confirmed without a change still counts";
    setEditDealerTextDialog([&](std::array<char, 100>&, WindowHandle) { return 0; });
    db.setModified(false);
    EXPECT_EQ(db.editDealerText(nullptr), 0);
    EXPECT_EQ(db.isModified(), 0);
}

TEST(ClientDatabase, DealerStringOfAFullFieldEndsAfterItsLastByte) {
    ClientDatabase db(false);
    std::memset(db.dealerText().data(), 'x', kDealerTextSize);
    EXPECT_EQ(db.dealerString(), std::string(100, 'x'));
    std::strcpy(db.dealerText().data(), "A\r\nB");
    EXPECT_EQ(db.dealerString(), "A\r\nB");
}

}  // namespace
}  // namespace tarn
