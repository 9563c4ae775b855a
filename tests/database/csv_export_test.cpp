// The CSV export, byte for byte, and its failures.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::readFile;
using test::RecordingFeedback;
using test::TempDir;
using test::writeFile;

const std::string kClientHeader =
    "serial,selcall,mode toggle,power toggle,autotune,base master,f/p programable,advanced,"
    "power\r\n";
const std::string kChannelHeader = "channel,rx,tx,alarm,selcall,scan,usb,txeqrx,label\r\n";

std::string fileText(const std::string& path) {
    auto bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

class CsvExport : public ::testing::Test {
  protected:
    RecordingFeedback feedback;
    TempDir dir;
    std::string path = dir.file("out.csv");
};

TEST_F(CsvExport, EmptyDatabaseIsOnlyTheDealerLine) {
    ClientDatabase db(false);
    ASSERT_TRUE(exportCsv(db, path));
    EXPECT_EQ(fileText(path), "\r\n");
    std::strcpy(db.dealerText().data(), "A\r\nB\rC\nD");
    ASSERT_TRUE(exportCsv(db, path));
    EXPECT_EQ(fileText(path), "A..B.C.D\r\n");
    EXPECT_TRUE(feedback.empty());
}

TEST_F(CsvExport, DemonstrationDatabase) {
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "Dealer");
    db.client(0)->setLabel(1, "HOME");
    db.client(0)->setLabel(9, "not a channel");
    ASSERT_TRUE(exportCsv(db, path));
    EXPECT_EQ(fileText(path),
              "Dealer\r\n"
              "\r\n"
              "New Client\r\n" +
                  kClientHeader + "0,1234,1,,,,1,1,high\r\n" + kChannelHeader +
                  "1,3740.0,3740.0,,,,1,1,HOME\r\n"
                  "2,5058.0,5058.0,,,,1,1,\r\n"
                  "3,9326.0,9326.0,,,,1,1,\r\n"
                  "4,6988.0,6988.0,,,,1,1,\r\n"
                  "5,9999.0,10100.0,,,,1,,\r\n"
                  "6,11000.0,11000.0,,,,1,1,\r\n"
                  "7,14999.0,15015.0,,,,1,,\r\n");
}

TEST_F(CsvExport, FlagsPowerWordsAndTextsUnescaped) {
    ClientDatabase db(false);
    for (int level : {PowerLevel::Low, PowerLevel::Mid1, PowerLevel::Mid2}) {
        ClientRecord& c = *db.client(db.addClient());
        c.image()[0] = static_cast<std::uint8_t>(level);
    }
    ClientRecord& last = *db.client(db.addClient());
    last.image()[0] = 0xFF & ~ClientOption::ModeToggle;
    last.setName("Smith, John");
    last.setSerial("123");
    last.setSelcall("0042");
    last.setFrequency(255, 0, 1);
    last.setFrequency(255, 1, 299999);
    last.image()[8 * 255] = 0x1F;
    last.setLabel(255, "a,b\"c");
    ASSERT_TRUE(exportCsv(db, path));
    const std::string plain = "\r\nNew Client\r\n" + kClientHeader;
    EXPECT_EQ(fileText(path), "\r\n" + plain + "0,1234,,,,,,,low\r\n" + kChannelHeader + plain +
                                  "0,1234,,,,,,,mid\r\n" + kChannelHeader + plain +
                                  "0,1234,,,,,,,mid\r\n" + kChannelHeader + "\r\nSmith, John\r\n" +
                                  kClientHeader + "123,0042,,1,1,1,1,1,high\r\n" + kChannelHeader +
                                  "255,0.1,29999.9,1,1,1,1,1,a,b\"c\r\n");
}

TEST_F(CsvExport, LargeExportArrivesWhole) {
    ClientDatabase db(false);
    for (int i = 0; i < 200; ++i) {
        ClientRecord& c = *db.client(db.addClient());
        for (int n = 1; n <= 255; ++n) {
            c.addChannel();
            ASSERT_EQ(c.setLabel(n, "label of thirty-one characters."), 1);
        }
    }
    const std::string text = csvText(db);
    EXPECT_GT(text.size(), 2u << 20) << "spans several write pieces";
    ASSERT_TRUE(exportCsv(db, path));
    EXPECT_EQ(fileText(path), text);
    EXPECT_EQ(text.compare(text.size() - 41, 41, ",,,,1,1,label of thirty-one characters.\r\n"), 0)
        << text.substr(text.size() - 60);
}

TEST_F(CsvExport, ReplacesAnExistingFileWhole) {
    writeFile(path, std::vector<std::uint8_t>(100000, 'x'));
    ClientDatabase db(false);
    ASSERT_TRUE(exportCsv(db, path));
    EXPECT_EQ(fileText(path), "\r\n");
}

TEST_F(CsvExport, CannotCreate) {
    ClientDatabase db(true);
    EXPECT_FALSE(exportCsv(db, dir.file("missing/out.csv")));
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Failed to create/open csv file"});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::None);
    EXPECT_EQ(feedback.messages()[0].icon, MessageIcon::Error);
}

TEST_F(CsvExport, FailedWritesAreReportedAndKeepTheOldFile) {
    writeFile(path, {'o', 'l', 'd'});
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        RecordingFeedback inChild;
        ClientDatabase db(true);
        for (int i = 0; i < 100; ++i) db.client(0)->addChannel();  // well over 1000 bytes
        const bool failed = !exportCsv(db, path);
        _exit(failed && inChild.texts() == std::vector<std::string>{"Failed to write csv file"}
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fileText(path), "old");
}

}  // namespace
}  // namespace tarn
