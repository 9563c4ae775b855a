// The QSettings backend: an INI file in XDG_CONFIG_HOME, read back by any instance.
#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/qt_settings_backend.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

// The program's only test of QSettings: the folder is set before the first object fixes it.
TEST(QtSettings, RoundTripsValueNamesWithBlanks) {
    const test::TempDir folder;
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    QtSettingsBackend backend;
    EXPECT_FALSE(backend.read("Window Placement"));
    EXPECT_TRUE(backend.write("Window Placement", "10 20 640 480"));
    EXPECT_TRUE(backend.write("MRU_0", "C:\\data\\a, \"b\".tdb"));
    EXPECT_TRUE(backend.write("MRU_1", "/data/caf\xe9 \xff\n.tdb"));  // not UTF-8: bytes kept
    QtSettingsBackend other;  // another instance sees it at once
    EXPECT_EQ(other.read("Window Placement"), "10 20 640 480");
    EXPECT_EQ(other.read("MRU_0"), "C:\\data\\a, \"b\".tdb");
    EXPECT_EQ(other.read("MRU_1"), "/data/caf\xe9 \xff\n.tdb");
    const auto ini = test::readFile(folder.file("TARN/Tarn DataBase.ini"));
    EXPECT_NE(std::string(ini.begin(), ini.end()).find("640 480"), std::string::npos);
}

}  // namespace
}  // namespace tarn
