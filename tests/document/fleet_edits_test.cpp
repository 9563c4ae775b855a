// A channel plan applied to many clients, selcalls numbered without clashes, and the
// findings of a database check.
#include <gtest/gtest.h>

#include "database/client_database.h"
#include "document/apply_channels.h"
#include "document/database_document.h"
#include "document/selcall_numbers.h"
#include "model/index_list.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

using Numbers = std::vector<int>;

void setChannel(ClientRecord& c, int n, std::uint32_t rx, int scan = 0, const char* label = "") {
    c.setFrequency(n, 0, rx);
    c.setFrequency(n, 1, rx);
    c.setChannelFlag(n, ChannelFlag::Scan, scan);
    c.setLabel(n, label);
}

ClientRecord emptyClient() {
    ClientRecord c;
    for (int n = 1; n <= kChannelCount; ++n) c.deleteChannel(n);
    return c;
}

// The plan: 1 as the client has it, 2 on another frequency, 3 with another label, 4-9 new
// and scanned. The client: 1-3, its own 10-12 scanned, 13 with a label of its own.
struct PlanAndClient {
    ClientRecord plan = emptyClient(), client = emptyClient();
    PlanAndClient() {
        for (int n = 1; n <= 3; ++n) setChannel(plan, n, 40000u + n, 0, n == 3 ? "net" : "");
        setChannel(plan, 2, 41000);
        for (int n = 4; n <= 9; ++n) setChannel(plan, n, 50000u + n, 1, "Net");
        for (int n = 1; n <= 3; ++n) setChannel(client, n, 40000u + n);
        for (int n = 10; n <= 12; ++n) setChannel(client, n, 60000u + n, 1);
        setChannel(client, 13, 61000, 0, "own");
        plan.validateChannels();  // as every client's channels are
        client.validateChannels();
    }
};

TEST(ChannelPlan, MergeKeepsOwnChannelsAndTheScanLimitReplaceLeavesThePlan) {
    PlanAndClient merge;
    const ClientRecord before = merge.client;
    const ChannelPlanEffect preview = previewChannelPlan(merge.client, merge.plan, PlanMode::Merge);
    EXPECT_TRUE(merge.client == before) << "a preview changes nothing";
    const ChannelPlanEffect done = applyChannelPlan(merge.client, merge.plan, PlanMode::Merge);
    EXPECT_EQ(done.added, (Numbers{4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(done.changed, (Numbers{2, 3}));
    EXPECT_TRUE(done.removed.empty());
    EXPECT_EQ(done.scanCleared, Numbers{12}) << "the plan's 6 leave room for 2 of its own";
    EXPECT_EQ(preview.scanCleared, done.scanCleared);
    EXPECT_EQ(planEffectText(done), "6 added (4-9), 2 changed (2-3), 1 lose scan (12)");
    EXPECT_EQ(merge.client.getFrequency(2, 0), 41000u);
    EXPECT_TRUE(merge.client.getChannelFlag(11, ChannelFlag::Scan));
    EXPECT_EQ(merge.client.getFrequency(13, 0), 61000u);
    char label[kLabelSize] = {};
    merge.client.getLabel(3, label, sizeof label);
    EXPECT_STREQ(label, "net") << "labels travel with their channels";
    EXPECT_EQ(merge.client.image()[8 * 4 + 6], 4) << "slot byte 6 holds its number";

    PlanAndClient replace;
    const ChannelPlanEffect replaced =
        applyChannelPlan(replace.client, replace.plan, PlanMode::Replace);
    EXPECT_EQ(replaced.removed, (Numbers{10, 11, 12, 13}));
    EXPECT_TRUE(replaced.scanCleared.empty());
    EXPECT_TRUE(replace.client.isChannelFree(13));
    replace.client.getLabel(13, label, sizeof label);
    EXPECT_STREQ(label, "own") << "a removed channel's label stays with its number";
    EXPECT_TRUE(applyChannelPlan(replace.client, replace.plan, PlanMode::Replace).empty());
    EXPECT_EQ(planEffectText({}), "no change");
}

TEST(ChannelPlan, AppliedToADocumentAsOneStepThatUndoes) {
    test::RecordingUi quiet;
    DatabaseDocument document;
    ClientDatabase& db = document.database();
    PlanAndClient setup;
    for (int i = 0; i < 3; ++i) *db.client(i == 0 ? 0 : db.addClient()) = setup.client;
    const std::vector<ClientPlanEffect> rows = previewPlan(db, {0, 2}, setup.plan, PlanMode::Merge);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(previewLine(db, rows[1]).substr(0, 16), "2 'New Client': ");
    EXPECT_EQ(applyPlan(document, {0, 2}, setup.plan, PlanMode::Merge), 2);
    EXPECT_EQ(document.history().undoName(), "Apply channels to 2 clients");
    EXPECT_TRUE(*db.client(1) == setup.client);
    EXPECT_FALSE(*db.client(2) == setup.client);
    document.undo();
    EXPECT_TRUE(*db.client(0) == setup.client && *db.client(2) == setup.client);
    EXPECT_FALSE(document.history().canUndo());
}

TEST(IndexList, NumbersAndRisingRangesOnly) {
    EXPECT_EQ(parseIndexList("9,5-7, 3 ,5"), (Numbers{9, 5, 6, 7, 3}));
    EXPECT_EQ(parseIndexList("0-999")->size(), 1000u);
    for (const char* bad : {"", "3,", ",3", "7-5", "-1", "a", "1-2-3", "+3", "1 2", "0-1000"})
        EXPECT_FALSE(parseIndexList(bad)) << bad;
}

struct Selcalls : ::testing::Test {
    test::RecordingUi quiet;
    DatabaseDocument document;
    ClientDatabase& db = document.database();
    // Selcalls of clients 0..n-1; "S" makes a standard client.
    void make(const std::vector<std::string>& clients) {
        while (db.clientCount() < static_cast<int>(clients.size()))
            db.client(db.addClient())->addChannel();
        for (std::size_t i = 0; i < clients.size(); ++i) {
            ClientRecord& c = *db.client(static_cast<int>(i));
            c.setName(("C" + std::to_string(i)).c_str());
            c.setSelcall(clients[i].substr(0, 4).c_str());
            c.setOption(ClientOption::Advanced, clients[i].size() == 4);
        }
    }
    std::string selcall(int i) const {
        char text[5] = {};
        db.client(i)->getSelcall(text, sizeof text);
        return text;
    }
};

TEST_F(Selcalls, SelcallsRunFromTheStartPastThoseInUse) {
    // 1 and 3 are numbered (3 gives up 4243); 2 is standard; 0 and 4 keep 4242 and 4244.
    make({"4242", "1000", "4250S", "4243", "4244"});
    const SelcallNumbering numbering = numberSelcalls(db, {1, 2, 3}, 4242);
    EXPECT_EQ(numbering.clients, (Numbers{1, 3}));
    EXPECT_EQ(numbering.selcalls, (Numbers{4243, 4245}));
    EXPECT_EQ(numbering.standard, 1);
    applySelcalls(document, numbering);
    EXPECT_EQ(selcall(1) + selcall(3) + selcall(2), "424342454250");
    EXPECT_EQ(document.history().undoName(), "Number selcalls");
    EXPECT_TRUE(selcallClashes(db).empty());

    make({"9999", "0001", "0002", "0003"});  // 9998 for one; none is left for the other
    const SelcallNumbering end = numberSelcalls(db, {1, 2}, 9998);
    EXPECT_EQ(end.selcalls, Numbers{9998});
    EXPECT_EQ(end.leftOver, 1);
    EXPECT_EQ(selcallText(7), "0007");
}

TEST_F(Selcalls, ClashesAndFindingsNameTheClients) {
    make({"4242", "4242S", "4242", "1111", "4242", "1111"});
    db.client(3)->setSerial("SN-7");
    db.client(5)->setSerial("SN-7");
    for (int n = 1; n <= kChannelCount; ++n) db.client(4)->deleteChannel(n);
    const std::vector<SelcallClash> clashes = selcallClashes(db);
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(selcallClashText(db, clashes),
              "Selcall 1111 is used by 2 clients: 'C3', 'C5'\n"
              "Selcall 4242 is used by 3 clients: 'C0', 'C2', 'C4'");
    EXPECT_EQ(selcallClashesFrom(db, 5).size(), 1u) << "only the clash client 5 is part of";
    EXPECT_EQ(databaseFindings(db),
              (std::vector<std::string>{"Selcall 1111 is used by 2 clients: 'C3', 'C5'",
                                        "Selcall 4242 is used by 3 clients: 'C0', 'C2', 'C4'",
                                        "Serial SN-7 is used by 2 clients: 'C3', 'C5'",
                                        "Client 4 'C4' has no channels."}));
    make(std::vector<std::string>(12, "4242"));
    EXPECT_EQ(selcallClashText(db, selcallClashes(db)).substr(36),
              "'C0', 'C1', 'C2', 'C3', 'C4', 'C5', 'C6', 'C7', 'C8', 'C9' and 2 more");
}

}  // namespace
}  // namespace tarn
