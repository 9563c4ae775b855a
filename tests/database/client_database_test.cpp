// The client list, the demonstration client, summaries, the edit transactions, undo,
// search, and copy and paste of whole clients.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "database/client_database.h"
#include "database/client_match.h"
#include "database/database_state.h"
#include "load_invariants.h"
#include "model/byte_order.h"
#include "model/services.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

std::string nameOf(const ClientDatabase& db, int index) {
    char buffer[32] = {};
    db.client(index)->getName(buffer, sizeof buffer);
    return buffer;
}

// Adding at the limit: the clipboard's paste and the import.
TEST(ClientDatabase, AddAndDelete) {
    // The demonstration client (its contents: see the CSV export) makes a new file modified.
    EXPECT_EQ(ClientDatabase(true).clientCount() + ClientDatabase(true).isModified(), 2);
    ClientDatabase db(false);
    EXPECT_EQ(db.clientCount() + db.isModified(), 0);
    for (const char* name : {"zero", "one", "two"}) db.client(db.addClient())->setName(name);
    db.setModified(false);
    EXPECT_EQ(db.deleteClient(3) + db.deleteClient(-1) + db.isModified(), 0);
    EXPECT_EQ(db.deleteClient(0) + db.isModified(), 2);
    EXPECT_EQ(db.client(2), nullptr);
    // Several at once, in any order: no index still to be deleted moves.
    for (const char* name : {"three", "four"}) db.client(db.addClient())->setName(name);
    EXPECT_EQ(db.deleteClients({1, 3, 1, 7}), 2);
    ASSERT_EQ(db.clientCount(), 2);
    EXPECT_EQ(nameOf(db, 0) + nameOf(db, 1), "onethree");
}

// A change of a client marks the database, so closing offers to save it; a look or a
// refused operation does not.
TEST(ClientDatabase, ChangesMarkModifiedLooksDoNot) {
    test::RecordingUi feedback;
    std::vector<std::uint8_t> image(kImageSize);
    ClientSummary s;
    using Run = std::function<int(ClientDatabase&)>;
    const std::tuple<const char*, Run, int> cases[] = {
        {"advanced", [](ClientDatabase& db) { return db.setClientAdvanced(0, 1); }, 1},
        {"read", [&](ClientDatabase& db) { return db.loadClientImage(0, image.data(), 2048); }, 1},
        {"delete", [](ClientDatabase& db) { return db.deleteClients({0}); }, 1},
        {"write", [&](ClientDatabase& db) { return db.copyClientImage(0, image.data(), 2048); }, 0},
        {"summary", [&](ClientDatabase& db) { return db.clientSummary(0, s); }, 0},
    };
    for (const auto& [name, run, marks] : cases) {
        ClientDatabase db(true);
        db.setModified(false);
        EXPECT_NE(run(db), 0) << name;
        EXPECT_EQ(db.isModified(), marks) << name;
        EXPECT_EQ(db.setClientAdvanced(1, 1) + db.loadClientImage(1, image.data(), 2048) +
                      db.copyClientImage(-1, image.data(), 2048) + db.clientHasNoChannels(1) +
                      db.clientSummary(1, s) + db.isModified(),
                  marks)
            << "bad index after " << name;
    }
}

TEST(EditTransactions, ClientEditCancelRestoresAndConfirmMarks) {
    test::RecordingUi feedback;
    ScopedServices services;
    ClientDatabase db(true);
    ClientRecord& c = *db.client(0);
    c.setLabel(3, "three");
    const ClientRecord before = c;
    db.setModified(false);
    int answer = 0;
    services->editClient = [&](ClientRecord& client, WindowHandle) {
        client.setName("Changed");
        client.deleteChannel(2);
        client.setLabel(3, "other");
        return answer;
    };
    EXPECT_EQ(db.editClient(nullptr, 0) + db.editClient(nullptr, 1) + db.isModified(), 0);
    EXPECT_EQ(c, before);
    answer = 1;
    EXPECT_EQ(db.editClient(nullptr, 0) + db.isModified(), 2);
    EXPECT_EQ(nameOf(db, 0), "Changed");
    EXPECT_TRUE(feedback.empty());
    answer = 0;

    // The dealer text: a dialog overfilling the field leaves 99 characters.
    services->editDealerText = [&](std::array<char, 100>& text, WindowHandle) {
        std::memset(text.data(), 'D', text.size());
        return answer;
    };
    db.setModified(false);
    EXPECT_EQ(db.editDealerText(nullptr) + db.isModified(), 0);
    answer = 1;
    EXPECT_EQ(db.editDealerText(nullptr) + db.isModified(), 2);
    EXPECT_EQ(db.dealerString(), std::string(99, 'D'));
}

// Undo and redo: a change holds only the clients that differ, and applying it backwards
// or forwards gives back exactly the state on that side.
TEST(DatabaseChange, KeepsWhatDiffersAndRestoresEitherSide) {
    using Edit = std::function<void(ClientDatabase&)>;
    const std::tuple<const char*, Edit, int, std::size_t, std::size_t> cases[] = {
        {"nothing", [](ClientDatabase&) {}, 3, 0, 0},
        {"one client", [](ClientDatabase& db) { db.client(1)->setName("Edited"); }, 1, 1, 1},
        {"delete", [](ClientDatabase& db) { db.deleteClient(0), db.deleteClient(0); }, 0, 2, 0},
        {"paste", [](ClientDatabase& db) { db.addClient(), db.addClient(); }, 3, 0, 2},
        {"dealer", [](ClientDatabase& db) { db.dealerText()[0] = 'D'; }, 3, 0, 0},
    };
    for (const auto& [what, edit, first, before, after] : cases) {
        ClientDatabase db(false);
        for (const char* name : {"a", "b", "c"}) db.client(db.addClient())->setName(name);
        const DatabaseState old = db.state();
        const auto oldBytes = test::DatabaseSnapshot::of(db);
        edit(db);
        const auto newBytes = test::DatabaseSnapshot::of(db);
        const DatabaseChange change = diffStates(old, db.state());
        EXPECT_EQ(change.first, first) << what;
        EXPECT_EQ(change.before.size(), before) << what;
        EXPECT_EQ(change.after.size(), after) << what;
        EXPECT_EQ(change.empty(), std::string(what) == "nothing") << what;
        db.applyChange(change, false);
        EXPECT_EQ(test::DatabaseSnapshot::of(db), oldBytes) << what;
        db.applyChange(change, true);
        EXPECT_EQ(test::DatabaseSnapshot::of(db), newBytes) << what;
    }
}

// Find as both programs run it on typed (UTF-8) text: every letter pair of the code page.
TEST(ClientMatches, NameSerialOrSelcallInEveryCaseTheCodePageHolds) {
    ClientDatabase db(false);
    ClientRecord& c = *db.client(db.addClient());
    c.setName("\xC5ngstr\xF6m Survey \x8A\x8C\x8E\x9F \xF7");  // Ångström Survey ŠŒŽŸ ÷
    c.setSerial("SN-77a");
    c.setSelcall("0042");
    db.addClient();  // New Client, serial 0, selcall 1234
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {0, 1}},  {"ångström", {0}}, {"ÅNGSTRÖM SURVEY", {0}},
        {"šœžÿ", {0}}, {"sn-77A", {0}},   {"42", {0}},
        {"0", {0, 1}}, {"new c", {1}},    {"survey ", {0}},
        {"×", {}},     {"Łódź", {}},      {"marine", {}}};
    for (const auto& [text, indexes] : cases)
        EXPECT_EQ(findClients(db, findTextOf(text)), indexes) << text;
}

// Copy and paste of whole clients between databases through the "Tarn_RadioData" block.
using Bytes = std::vector<std::uint8_t>;
WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x4321);

class ClientClipboard : public ::testing::Test {
  protected:
    // Three clients unlike the defaults in every stored field, the reserved byte included.
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            Bytes bytes(kSerializedClientSize);
            ClientRecord().serialize(bytes.data(), kSerializedClientSize);
            bytes[0] = std::uint8_t('A' + i);            // name
            bytes[32] = std::uint8_t('0' + i);           // serial
            bytes[48] = std::uint8_t(0xA0 + i);          // reserved byte
            bytes[49 + 32 * 6] = std::uint8_t('a' + i);  // label of channel 7
            ClientRecord& client = *source.client(source.addClient());
            ASSERT_EQ(client.deserialize(bytes.data(), kSerializedClientSize), 1);
            client.setFrequency(client.addChannel(), 0, 10000u + std::uint32_t(i));
        }
    }
    int copy(std::vector<int> indexes) {
        return source.copyClients(kWindow, indexes.data(), int(indexes.size()));
    }

    test::FakeClipboard board;
    test::RecordingUi feedback;
    ClientDatabase source{false}, target{false};
};

// In block order after the existing clients; at a thousand clients the paste stops
// silently, and a record cut short is left out.
TEST_F(ClientClipboard, ClientsArriveEqualAfterTheExistingUpToTheLimitOrNotAtAll) {
    ASSERT_EQ(target.addClient(), 0);
    target.setModified(false);
    ASSERT_EQ(copy({2, 0, 1}), 1);
    const auto& block = board.blocks.at(ClipboardFormat::Clients);
    ASSERT_EQ(block.size(), 4u + 3u * kSerializedClientSize);
    EXPECT_EQ(readLe32(block.data()), 3u);
    ASSERT_EQ(target.pasteClients(kWindow), 1);
    ASSERT_EQ(target.clientCount(), 4);
    for (int i : {0, 1, 2}) EXPECT_EQ(*target.client(1 + i), *source.client((i + 2) % 3));
    EXPECT_EQ(target.client(2)->reservedByte(), 0xA0);
    EXPECT_EQ(target.isModified() + board.opens + board.closes, 5);

    while (target.clientCount() < 999) target.addClient();
    EXPECT_EQ(target.pasteClients(kWindow) + target.clientCount(), 1 + kMaxClients);
    EXPECT_EQ(*target.client(999), *source.client(2));
    board.blocks.at(ClipboardFormat::Clients).pop_back();
    ClientDatabase other(false);
    EXPECT_EQ(other.pasteClients(kWindow), 1);
    ASSERT_EQ(other.clientCount(), 2);
    EXPECT_EQ(*other.client(1), *source.client(0));
    EXPECT_TRUE(feedback.empty());

    // Failures and empty blocks change nothing.
    ClientDatabase empty(false);
    board.blocks = {{ClipboardFormat::Channels, {1, 0}}};
    EXPECT_EQ(copy({0, 3}) + copy({-1}), 0);  // 3 equals the count
    EXPECT_TRUE(board.blocks.empty());
    board.refusesData = true;
    EXPECT_EQ(copy({0}), 1);
    board.refusesData = false;
    EXPECT_EQ(feedback.texts(),
              (std::vector<std::string>{"Error in clipboard data.", "Error in clipboard data.",
                                        "Failed to set clipboard data."}));
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    for (bool* broken : {&board.registered, &board.openFails}) {
        *broken = !*broken;
        EXPECT_EQ(copy({0}) + empty.pasteClients(kWindow), 0);
        *broken = !*broken;
    }
    EXPECT_EQ(feedback.messages().size(), 3u);
    // No block, a count below 1 or no count at all: nothing to paste.
    EXPECT_EQ(empty.pasteClients(kWindow), 0);
    for (const Bytes& bytes : {Bytes{0, 0, 0, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}, Bytes{1, 0}}) {
        board.blocks[ClipboardFormat::Clients] = bytes;
        EXPECT_EQ(empty.pasteClients(kWindow), 0);
    }
    EXPECT_EQ(empty.clientCount() + empty.isModified(), 0);
    EXPECT_EQ(board.opens, board.closes);
}

}  // namespace
}  // namespace tarn
