// The settings rules over an in-memory backend: buffer semantics, the number rule, the
// recent-file list, column widths, window placement and the port.
#include <gtest/gtest.h>

#include "settings/memory_settings_backend.h"
#include "settings/settings_store.h"

namespace tarn {
namespace {

class Settings : public ::testing::Test {
  protected:
    Settings() {
        store.setRecentFilesChanged([this] { ++notifications; });
    }

    std::vector<std::string> recentList() const {
        std::vector<std::string> list;
        for (int i = 0; i < 4; ++i) {
            if (auto path = store.recentFile(i, false)) list.push_back(*path);
        }
        return list;
    }
    void add(std::initializer_list<const char*> paths) {
        for (const char* p : paths) store.addRecentFile(p);
    }

    MemorySettingsBackend values;
    SettingsStore store{values};
    int notifications = 0;
};

TEST_F(Settings, ReadTextBufferSemantics) {
    EXPECT_EQ(store.readText("Port", 32, "COM1"), "COM1");
    values.write("Port", "COM3");
    EXPECT_EQ(store.readText("Port", 32, "COM1"), "COM3");
    values.write("Port", std::string(31, 'p'));
    EXPECT_EQ(store.readText("Port", 32, "COM1"), std::string(31, 'p'));
    values.write("Port", std::string(32, 'p'));
    EXPECT_EQ(store.readText("Port", 32, "COM1"), "COM1") << "too long for the buffer";
    values.write("Port", std::string("AB\0CD", 5));
    EXPECT_EQ(store.readText("Port", 32, "COM1"), "AB");
    values.write("Port", "");
    EXPECT_EQ(store.readText("Port", 32, "COM1"), "") << "a stored empty text replaces the default";
    EXPECT_EQ(store.readText("Port", 3, "COM1"), "") << "default cut to the buffer";
    EXPECT_EQ(store.readText("Missing", 3, "COM1"), "CO");
    EXPECT_EQ(store.readText("Port", 0, "COM1"), "");
}

TEST_F(Settings, WriteFailsWhenTheKeyCannotBeWritten) {
    EXPECT_TRUE(store.writeText("Port", "COM2"));
    values.setWritable(false);
    EXPECT_FALSE(store.writeText("Port", "COM9"));
    EXPECT_FALSE(store.writeNumber("MRU count", 2));
    EXPECT_EQ(store.port(), "COM2");
}

TEST_F(Settings, PlainDecimalNumbers) {
    EXPECT_EQ(store.readNumber("N", 17), 17);
    EXPECT_EQ(store.readNumber("N", -5), -5);
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  42abc", 42},
        {"-3", -3},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 4", 0},
        {"\t 12 34", 12},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"99999999999", 2147483647},
    };
    for (auto [text, number] : cases) {
        values.write("N", text);
        EXPECT_EQ(store.readNumber("N", 5), number) << '"' << text << '"';
    }
    values.write("N", std::string(16, '1'));  // does not fit 16 bytes: the default stands
    EXPECT_EQ(store.readNumber("N", 5), 5);
    EXPECT_TRUE(store.writeNumber("N", -12));
    EXPECT_EQ(values.read("N"), "-12");
}

TEST_F(Settings, RecentCountIsClamped) {
    add({"a", "b"});
    values.write("MRU_2", "c");
    values.write("MRU_3", "d");
    for (auto [count, expected] : {std::pair{"7", 4}, {"4", 4}, {"3", 3}, {"-3", 0}, {"x", 0}}) {
        values.write("MRU count", count);
        EXPECT_EQ(recentList().size(), static_cast<std::size_t>(expected)) << count;
    }
    EXPECT_FALSE(store.recentFile(-1, false));
}

TEST_F(Settings, RecentEntriesNamedNoNameOrMissingAreAbsent) {
    values.write("MRU count", "3");
    values.write("MRU_0", "<NoName>");
    values.write("MRU_1", "C:\\data\\shop.tdb");
    EXPECT_FALSE(store.recentFile(0, false));
    EXPECT_EQ(store.recentFile(1, false), "C:\\data\\shop.tdb");
    EXPECT_EQ(store.recentFile(1, true), "shop.tdb");
    EXPECT_FALSE(store.recentFile(2, false)) << "missing value reads as <NoName>";
    values.write("MRU_2", "/home/dealer/radio.tdb");
    EXPECT_EQ(store.recentFile(2, true), "/home/dealer/radio.tdb") << "no backslash: whole";
    values.write("MRU_2", "C:\\dir\\");
    EXPECT_EQ(store.recentFile(2, true), "");
    values.write("MRU_2", std::string(260, 'p'));
    EXPECT_FALSE(store.recentFile(2, false)) << "too long for 260 bytes keeps <NoName>";
}

TEST_F(Settings, AddingGrowsTheListToFourThenDropsTheOldest) {
    add({"one"});
    EXPECT_EQ(values.read("MRU count"), "1");
    EXPECT_EQ(recentList(), (std::vector<std::string>{"one"}));
    add({"two", "three", "four"});
    EXPECT_EQ(recentList(), (std::vector<std::string>{"four", "three", "two", "one"}));
    add({"five"});
    EXPECT_EQ(recentList(), (std::vector<std::string>{"five", "four", "three", "two"}));
    EXPECT_EQ(values.read("MRU count"), "4");
    EXPECT_EQ(notifications, 5);
}

TEST_F(Settings, AddingAListedPathMovesItToTheFront) {
    add({"c", "b", "a"});  // list: a b c
    store.addRecentFile("c");
    EXPECT_EQ(recentList(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(values.read("MRU count"), "3");
    store.addRecentFile("c");
    EXPECT_EQ(recentList(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(notifications, 5) << "re-adding entry 0 still notifies";
    store.addRecentFile("C");
    EXPECT_EQ(recentList(), (std::vector<std::string>{"C", "c", "a", "b"})) << "case counts";
}

TEST_F(Settings, AddingWithoutWriteAccessKeepsTheListButNotifies) {
    add({"kept"});
    values.setWritable(false);
    store.addRecentFile("lost");
    EXPECT_EQ(recentList(), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(notifications, 2);
}

TEST_F(Settings, ColumnWidths) {
    EXPECT_EQ(store.readColumnWidths("Database Columns", 8), std::vector<int>(8, 60));
    values.write("Radio Columns", "19 20 100 -5 0 250");
    EXPECT_EQ(store.readColumnWidths("Radio Columns", 7),
              (std::vector<int>{60, 20, 100, 60, 60, 250, 60}));
    values.write("Radio Columns", "80 x 90");
    EXPECT_EQ(store.readColumnWidths("Radio Columns", 7),
              (std::vector<int>{80, 60, 60, 60, 60, 60, 60}));
    values.write("Radio Columns", "1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(store.readColumnWidths("Radio Columns", 7).size(), 7u);
    store.writeColumnWidths("Database Columns", {61, 62, 63, 64, 65, 66, 67, 68});
    EXPECT_EQ(values.read("Database Columns"), "61 62 63 64 65 66 67 68");
}

TEST_F(Settings, WindowPlacement) {
    auto p = store.readWindowPlacement(1920, 1080);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.width, kDefaultPlacement);
    EXPECT_EQ(p.height, kDefaultPlacement);

    store.writeWindowPlacement({3000, 900, 640, 480});
    EXPECT_EQ(values.read("Window Placement"), "3000 900 640 480");
    p = store.readWindowPlacement(1920, 1080);
    EXPECT_EQ(p.left, 1720);
    EXPECT_EQ(p.top, 880);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 480);

    values.write("Window Placement", "-40 1719 5 6");
    p = store.readWindowPlacement(1920, 1080);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 880);
    values.write("Window Placement", "100 200");
    p = store.readWindowPlacement(1920, 1080);
    EXPECT_EQ(p.left, 100);
    EXPECT_EQ(p.top, 200);
    EXPECT_EQ(p.width, kDefaultPlacement);
}

TEST_F(Settings, Port) {
    EXPECT_EQ(store.port(), "COM1");
    values.write("Port", "/dev/ttyUSB0");
    EXPECT_EQ(store.port(), "/dev/ttyUSB0");
}

TEST(ProcessSettings, FollowTheInstalledBackend) {
    MemorySettingsBackend installed;
    setSettingsBackend(&installed);
    settings().writeText("Port", "COM4");
    EXPECT_EQ(installed.read("Port"), "COM4");
    setSettingsBackend(nullptr);
    EXPECT_EQ(settings().port(), "COM1") << "the default backend is separate";
}

}  // namespace
}  // namespace tarn
