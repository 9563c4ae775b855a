// The settings rules over an in-memory backend.
#include <gtest/gtest.h>

#include <climits>

#include "settings/memory_settings_backend.h"
#include "settings/settings_store.h"

namespace tarn {
namespace {

using Paths = std::vector<std::string>;

class Settings : public ::testing::Test {
  protected:
    Settings() {
        store.setRecentFilesChanged([this] { ++notifications; });
    }

    Paths recentList() const {
        Paths list;
        for (int i = 0; i < 4; ++i)
            if (auto path = store.recentFile(i, false)) list.push_back(*path);
        return list;
    }

    MemorySettingsBackend values;
    SettingsStore store{values};
    int notifications = 0;
};

TEST_F(Settings, TextsAndNumbers) {
    // 32 characters do not fit the 32-byte buffer: the default stands.
    const std::pair<std::string, std::string> texts[] = {
        {std::string(31, 'p'), std::string(31, 'p')},
        {std::string(32, 'p'), "COM1"},
        {std::string("AB\0CD", 5), "AB"},
        {"", ""}};
    for (const auto& [stored, read] : texts) {
        values.write("Port", stored);
        EXPECT_EQ(store.port(), read) << stored;
    }
    EXPECT_EQ(store.readText("Missing", 3, "COM1"), "CO");

    EXPECT_EQ(store.readNumber("N", -5), -5);
    // 16 characters do not fit: the default.
    const char* typed[] = {
        "  42abc",         "-3", "+7", "- 4", "", "\t12 34", "-2147483648", "99999999999",
        "1111111111111111"};
    const int numbers[] = {42, -3, 7, 0, 0, 12, INT_MIN, INT_MAX, 5};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        values.write("N", typed[i]);
        EXPECT_EQ(store.readNumber("N", 5), numbers[i]) << '"' << typed[i] << '"';
    }
    EXPECT_EQ(store.backupDays(), 365);
    const std::pair<const char*, int> days[] = {{"0", 0}, {"30", 30}, {"-1", 365}, {"x", 0}};
    for (auto [text, number] : days) {  // -1 keeps every backup
        values.write("Backup Days", text);
        EXPECT_EQ(store.backupDays(), number) << text;
    }
    values.setWritable(false);
    EXPECT_FALSE(store.writeNumber("N", 1));
}

TEST_F(Settings, AddingPaths) {
    for (const char* p : {"one", "two", "three", "four", "five"}) store.addRecentFile(p);
    EXPECT_EQ(recentList(), (Paths{"five", "four", "three", "two"}));
    EXPECT_TRUE(values.read("MRU count") == "4" && !values.read("MRU_4")) << "four at most";
    store.addRecentFile("three");  // entry 2 moves to the front, the rest keep their order
    EXPECT_EQ(recentList(), (Paths{"three", "five", "four", "two"}));
    store.addRecentFile("three");
    EXPECT_EQ(recentList(), (Paths{"three", "five", "four", "two"}));
    EXPECT_EQ(notifications, 7) << "every add notifies, also of entry 0";
    values.write("MRU_2", std::string(260, 'p'));  // longer than 259 bytes: <NoName>
    for (auto [count, size] : {std::pair{"7", 3}, {"-3", 0}, {"x", 0}}) {  // 7 reads as 4
        values.write("MRU count", count);
        EXPECT_EQ(recentList().size(), static_cast<std::size_t>(size)) << count;
    }

    values.clear();
    for (const char* p : {"c", "b", "a", "A"}) store.addRecentFile(p);
    EXPECT_EQ(recentList(), (Paths{"A", "a", "b", "c"})) << "letter case counts";
    values.setWritable(false);
    store.addRecentFile("lost");
    EXPECT_EQ(recentList(), (Paths{"A", "a", "b", "c"}));
}

TEST_F(Settings, ColumnWidthsAndPlacement) {
    values.write("Radio Columns", "19 20 100 -5 x 250");
    EXPECT_EQ(store.readColumnWidths("Radio Columns", 7),
              (std::vector<int>{60, 20, 100, 60, 60, 60, 60}));
    store.writeColumnWidths("Database Columns", {61, 62, 63, 64, 65, 66, 67, 68});
    EXPECT_EQ(values.read("Database Columns"), "61 62 63 64 65 66 67 68");
    values.write("Window Placement", "100 880");  // missing numbers take the default
    const auto p = store.readWindowPlacement(1920, 1080);
    EXPECT_EQ(std::tuple(p.left, p.top, p.width, p.height),
              std::tuple(100, 880, kDefaultPlacement, kDefaultPlacement));
}

}  // namespace
}  // namespace tarn
