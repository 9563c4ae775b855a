// The client list, the demonstration client, summaries and the edit transactions.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "database/client_database.h"
#include "database/client_match.h"
#include "database/database_state.h"
#include "load_invariants.h"
#include "model/services.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

std::string nameOf(const ClientDatabase& db, int index) {
    char buffer[32] = {};
    db.client(index)->getName(buffer, sizeof buffer);
    return buffer;
}

TEST(ClientDatabase, AddDeleteAndTheLimit) {
    EXPECT_EQ(ClientDatabase(true).clientCount(), 1);  // its contents: see the CSV export
    EXPECT_NE(ClientDatabase(true).isModified(), 0);
    ClientDatabase db(false);
    EXPECT_EQ(db.clientCount() + db.isModified(), 0);
    for (const char* name : {"zero", "one", "two"}) db.client(db.addClient())->setName(name);
    db.setModified(false);
    EXPECT_EQ(db.deleteClient(3) + db.deleteClient(-1) + db.isModified(), 0);
    EXPECT_EQ(db.deleteClient(0), 1);
    EXPECT_NE(db.isModified(), 0);
    ASSERT_EQ(db.clientCount(), 2);
    EXPECT_EQ(nameOf(db, 0) + nameOf(db, 1), "onetwo");
    EXPECT_EQ(db.client(2), nullptr);
    // Several at once, in any order: no index still to be deleted moves.
    for (const char* name : {"three", "four"}) db.client(db.addClient())->setName(name);
    EXPECT_EQ(db.deleteClients({1, 3, 1, 7}), 2);
    ASSERT_EQ(db.clientCount(), 2);
    EXPECT_EQ(nameOf(db, 0) + nameOf(db, 1), "onethree");

    while (db.clientCount() < kMaxClients) ASSERT_GE(db.addClient(), 0);
    db.setModified(false);
    EXPECT_EQ(db.addClient(), -1);
    EXPECT_EQ(db.clientCount(), kMaxClients);
    EXPECT_EQ(db.isModified(), 0);
}

TEST(ClientDatabase, SummariesAndPerClientOperations) {
    test::RecordingUi feedback;
    ClientDatabase db(true);
    db.addClient();
    db.setModified(false);
    ClientSummary s;
    ASSERT_EQ(db.clientSummary(1, s), 1);
    EXPECT_EQ((std::vector<std::string>{s.name, s.type, s.serial, s.selcall, s.program, s.mode,
                                        s.tune, s.power}),
              (std::vector<std::string>{"New Client", "Advanced", "0", "1234", "Enabled", "Toggle",
                                        "Manual", "High"}));
    db.client(1)->image()[0] = ClientOption::AutoTune | PowerLevel::Mid2;
    db.clientSummary(1, s);
    EXPECT_EQ(s.type + s.program + s.mode + s.tune + s.power, "StandardOffFixedAutoMid2");

    std::vector<std::uint8_t> image(kImageSize);
    EXPECT_EQ(db.copyClientImage(0, image.data(), kImageSize), kImageSize);
    EXPECT_EQ(db.loadClientImage(1, image.data(), kImageSize), 1);
    EXPECT_EQ(*db.client(1), *db.client(0));
    EXPECT_EQ(db.loadClientImage(2, image.data(), kImageSize) +
                  db.copyClientImage(-1, image.data(), kImageSize) + db.clientHasNoChannels(2) +
                  db.clientSummary(2, s) + db.setClientAdvanced(2, 1),
              0);
}

// A change of a client marks the database, so closing offers to save it; a look or a
// refused operation does not.
TEST(ClientDatabase, ChangesMarkModifiedLooksDoNot) {
    test::RecordingUi feedback;
    std::vector<std::uint8_t> image(kImageSize);
    ClientSummary summary;
    using Run = std::function<int(ClientDatabase&)>;
    const std::tuple<const char*, Run, int> cases[] = {
        {"standard", [](ClientDatabase& db) { return db.setClientAdvanced(0, 0); }, 1},
        {"advanced", [](ClientDatabase& db) { return db.setClientAdvanced(0, 1); }, 1},
        {"read", [&](ClientDatabase& db) { return db.loadClientImage(0, image.data(), 2048); }, 1},
        {"delete", [](ClientDatabase& db) { return db.deleteClients({0}); }, 1},
        {"bad index", [](ClientDatabase& db) { return !db.setClientAdvanced(1, 1); }, 0},
        {"bad read", [&](ClientDatabase& db) { return !db.loadClientImage(0, image.data(), 2049); },
         0},
        {"write", [&](ClientDatabase& db) { return db.copyClientImage(0, image.data(), 2048); }, 0},
        {"summary", [&](ClientDatabase& db) { return db.clientSummary(0, summary); }, 0},
    };
    for (const auto& [name, run, marks] : cases) {
        ClientDatabase db(true);
        db.setModified(false);
        EXPECT_NE(run(db), 0) << name;
        EXPECT_EQ(db.isModified(), marks) << name;
    }
}

class EditTransactions : public ::testing::Test {
  protected:
    test::RecordingUi feedback;
    ScopedServices services;
};

TEST_F(EditTransactions, ClientEditCancelRestoresAndConfirmMarks) {
    ClientDatabase db(true);
    ClientRecord& c = *db.client(0);
    c.setLabel(3, "three");
    const ClientRecord before = c;
    db.setModified(false);
    int answer = 0, parent = 0;
    WindowHandle seen = nullptr;
    services->editClient = [&](ClientRecord& client, WindowHandle p) {
        seen = p;
        client.setName("Changed");
        client.setSelcall("0000");
        client.deleteChannel(2);
        client.setLabel(3, "other");
        client.addChannel();
        return answer;
    };
    EXPECT_EQ(db.editClient(&parent, 0), 0);
    EXPECT_EQ(seen, &parent);
    EXPECT_EQ(c, before);
    EXPECT_EQ(db.isModified(), 0);
    EXPECT_EQ(db.editClient(nullptr, 1), 0);
    answer = 1;
    EXPECT_EQ(db.editClient(nullptr, 0), 1);
    EXPECT_EQ(nameOf(db, 0), "Changed");
    EXPECT_NE(db.isModified(), 0);
    EXPECT_TRUE(feedback.empty());

    // Cancel runs the channel check too, over scans the dialog's paste brought in.
    for (int n = 1; n <= 9; ++n) c.setChannelFlag(c.addChannel(), ChannelFlag::Scan, 1);
    answer = 0;
    services->editClient = [&](ClientRecord&, WindowHandle) { return answer; };
    EXPECT_EQ(db.editClient(nullptr, 0), 0);
    EXPECT_EQ(feedback.texts().size(), 1u);
    EXPECT_EQ(c.getChannelFlag(1, ChannelFlag::Scan), 0);
}

TEST_F(EditTransactions, DealerText) {
    ClientDatabase db(false);
    EXPECT_EQ(db.editDealerText(nullptr), 0) << "no dialog installed";
    int answer = 1;
    services->editDealerText = [&](std::array<char, 100>& text, WindowHandle) {
        std::memset(text.data(), 'D', text.size());  // a dialog overfilling the field
        return answer;
    };
    EXPECT_EQ(db.editDealerText(nullptr), 1);
    EXPECT_NE(db.isModified(), 0);
    EXPECT_EQ(db.dealerString(), std::string(99, 'D'));
    answer = 0;
    db.setModified(false);
    EXPECT_EQ(db.editDealerText(nullptr) + db.isModified(), 0);
    std::memset(db.dealerText().data(), 'x', kDealerTextSize);
    EXPECT_EQ(db.dealerString(), std::string(100, 'x')) << "a field of other origin";
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
        const auto oldBytes = test::DatabaseSnapshot::of(db).bytes;
        edit(db);
        const auto newBytes = test::DatabaseSnapshot::of(db).bytes;
        const DatabaseChange change = diffStates(old, db.state());
        EXPECT_EQ(change.first, first) << what;
        EXPECT_EQ(change.before.size(), before) << what;
        EXPECT_EQ(change.after.size(), after) << what;
        EXPECT_EQ(change.empty(), std::string(what) == "nothing") << what;
        db.applyChange(change, false);
        EXPECT_EQ(test::DatabaseSnapshot::of(db).bytes, oldBytes) << what;
        db.applyChange(change, true);
        EXPECT_EQ(test::DatabaseSnapshot::of(db).bytes, newBytes) << what;
    }
}

TEST(ClientMatches, NameSerialOrSelcallIgnoringAsciiCase) {
    ClientDatabase db(false);
    ClientRecord& c = *db.client(db.addClient());
    c.setName("M\xDCller Marine");
    c.setSerial("SN-77a");
    c.setSelcall("0042");
    db.addClient();  // New Client, serial 0, selcall 1234
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {0, 1}},    {"marine", {0}}, {"MARINE", {0}},
        {"sn-77A", {0}}, {"0042", {0}},   {"42", {0}},
        {"0", {0, 1}},   {"\xDC", {0}},   {"\xFC", {}} /* 8-bit letters keep their case */,
        {"new c", {1}},  {"marine ", {}},
    };
    for (const auto& [text, indexes] : cases) EXPECT_EQ(findClients(db, text), indexes) << text;
}

}  // namespace
}  // namespace tarn
