// The CSV export, byte for byte, and its failures.
#include <gtest/gtest.h>

#include <cstring>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "support/file_size_limit.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

const std::string kClientHeader =
    "serial,selcall,mode toggle,power toggle,autotune,base master,f/p programable,advanced,"
    "power\r\n";
const std::string kChannelHeader = "channel,rx,tx,alarm,selcall,scan,usb,txeqrx,label\r\n";

class CsvExport : public ::testing::Test {
  protected:
    std::string exported(const ClientDatabase& db) {
        EXPECT_TRUE(exportCsv(db, path));
        auto bytes = test::readFile(path);
        return {bytes.begin(), bytes.end()};
    }
    test::RecordingUi feedback;
    test::TempDir dir;
    std::string path = dir.file("out.csv");
};

TEST_F(CsvExport, DemonstrationClientFlagsPowerWordsAndUnescapedTexts) {
    test::writeFile(path, std::vector<std::uint8_t>(100000, 'x'));  // replaced whole
    EXPECT_EQ(exported(ClientDatabase(false)), "\r\n");
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "A\r\nB\rC\nD");
    db.client(0)->setLabel(1, "H");
    db.client(0)->setLabel(9, "not a channel");
    for (int level : {PowerLevel::Low, PowerLevel::Mid1, PowerLevel::Mid2}) {
        db.client(db.addClient())->image()[0] = static_cast<std::uint8_t>(level);
    }
    ClientRecord& last = *db.client(db.addClient());
    last.image()[0] = 0xFE;
    last.setName("Smith, John");
    last.setSerial("123");
    last.setSelcall("0042");
    last.setFrequency(255, 0, 1);
    last.setFrequency(255, 1, 299999);
    last.image()[8 * 255] = 0x1F;
    last.setLabel(255, "a,b\"c");
    const std::string plain = "\r\nNew Client\r\n" + kClientHeader;
    EXPECT_EQ(exported(db), "A..B.C.D\r\n" + plain + "0,1234,1,,,,1,1,high\r\n" + kChannelHeader +
                                "1,3740.0,3740.0,,,,1,1,H\r\n"
                                "2,5058.0,5058.0,,,,1,1,\r\n"
                                "3,9326.0,9326.0,,,,1,1,\r\n"
                                "4,6988.0,6988.0,,,,1,1,\r\n"
                                "5,9999.0,10100.0,,,,1,,\r\n"
                                "6,11000.0,11000.0,,,,1,1,\r\n"
                                "7,14999.0,15015.0,,,,1,,\r\n" +
                                plain + "0,1234,,,,,,,low\r\n" + kChannelHeader + plain +
                                "0,1234,,,,,,,mid\r\n" + kChannelHeader + plain +
                                "0,1234,,,,,,,mid\r\n" + kChannelHeader + "\r\nSmith, John\r\n" +
                                kClientHeader + "123,0042,,1,1,1,1,1,high\r\n" + kChannelHeader +
                                "255,0.1,29999.9,1,1,1,1,1,a,b\"c\r\n");
    EXPECT_TRUE(feedback.empty());
}

TEST_F(CsvExport, LargeExportArrivesWhole) {
    ClientDatabase db(false);
    for (int i = 0; i < 100; ++i) {
        ClientRecord& c = *db.client(db.addClient());
        for (int n = 1; n <= 255; ++n)
            c.setLabel(c.addChannel(), "label of thirty-one characters.");
    }
    const std::string text = csvText(db);
    EXPECT_GT(text.size(), 1u << 20) << "spans several write pieces";
    EXPECT_EQ(exported(db), text);
}

TEST_F(CsvExport, FailuresAreToldAndKeepTheOldFile) {
    ClientDatabase db(true);
    EXPECT_FALSE(exportCsv(db, dir.file("missing/out.csv")));
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Failed to create/open csv file"});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::None);
    test::writeFile(path, {'o', 'l', 'd'});
    for (int i = 0; i < 100; ++i) db.client(0)->addChannel();
    EXPECT_TRUE(test::withFileSizeLimit(1000, [&] {
        test::RecordingUi inChild;
        return !exportCsv(db, path) &&
               inChild.texts() == std::vector<std::string>{"Failed to write csv file"};
    }));
    EXPECT_EQ(test::readFile(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

}  // namespace
}  // namespace tarn
