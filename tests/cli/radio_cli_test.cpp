// tarn-cli read and write against tarn-radio-sim on a pseudo-terminal, end to end:
// exit codes, the exact texts on stderr, the database file and the radio's memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli_run.h"
#include "database/client_database.h"
#include "radio/radio_texts.h"
#include "radio/sim_process.h"
#include "settings/qt_settings_backend.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::CliRun;
using test::readFile;
using test::SimProcess;
namespace fs = std::filesystem;

const std::string kPrompt = std::string(radio_text::kConnectPrompt) + "\n";
const std::string kAsk = kPrompt + "Press Enter to continue, or type anything else to cancel: ";

class RadioCli : public ::testing::Test {
  protected:
    // A database of two clients: 0 the demonstration client, 1 one without channels.
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);  // the backups
        test::RecordingUi quiet;
        ClientDatabase db(true);
        db.addClient();
        ASSERT_EQ(db.save(file), 1);
        bytes = readFile(file);
    }

    CliRun run(const std::string& arguments, const std::string& input = "") const {
        return test::runCli(dir, arguments, "printf '" + input + "'");
    }

    static RadioImage imageOf(const std::string& path, int index) {
        test::RecordingUi quiet;
        ClientDatabase db(false);
        RadioImage image{};
        EXPECT_EQ(db.load(path), 1);
        EXPECT_EQ(db.copyClientImage(index, image.data(), kImageSize), kImageSize);
        return image;
    }

    test::TempDir dir;
    const std::string file = dir.file("shop.tdb");
    std::vector<std::uint8_t> bytes;  // the file as saved
};

// Refusals and failures, a radio that stores a byte wrongly (exit code 3) included, leave
// the file alone; a probe of ports names the one whose radio answered; a client without
// backups is named.
TEST_F(RadioCli, RefusalsFailuresAndProbes) {
    SimProcess corrupt({"--no-pacing", "--corrupt", "1A00"}),
        silent({"--no-pacing", "--no-prompt"});
    ASSERT_FALSE(corrupt.port().empty() || silent.port().empty());
    const std::string quoted = "'" + file + "'", radio = corrupt.port(), mute = silent.port();
    const std::string noPort =
        kPrompt + "Failed to open the serial port.\nThere is no such device.\n";
    const std::string usage = " [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX\n";
    const std::string writeUsage =
        " [--port NAME] [--yes] [--json] [--no-backup] [--log FILE [--force]] FILE LIST\n";
    const std::string none = "\", \"description\": \"\", \"probe\": \"";
    const struct {
        std::string arguments, input;
        int code;
        std::string err, out = "";
    } cases[] = {
        {"history " + quoted + " 1", "", 0, "", "No backups of 'New Client' were found.\n"},
        {"read --yes --port /dev/no-such-port " + quoted + " 0", "", 1,
         noPort + "Read failed: the serial port could not be opened\n"},
        {"write --yes --port /dev/null " + quoted + " 1", "", 1,
         "There are no channels defined.\n"},
        {"read --yes " + quoted + " 2", "", 1, "There is no client 2; the database holds 2.\n"},
        {"read --port /dev/null " + quoted + " 0", "no\\n", 1, kAsk + "Read cancelled\n"},
        {"read " + quoted + " 0", "", 1, kAsk + "Read cancelled\n"},  // end of input cancels
        {"read --yes " + quoted, "", 2, "usage: tarn-cli read" + usage},
        {"write --port " + quoted + " 0", "", 2, "usage: tarn-cli write" + writeUsage},
        {"write --yes --port " + radio + " " + quoted + " 0", "", 3,
         kPrompt + "Verify failed!\nThe data was not successfully written to the client.\n"
                   "Verify failed: 1 byte differs (channel 64); what it held before is kept\n"},
        {"ports --probe --json " + mute + " /dev/no-such-port " + radio + " " + mute, "\\n", 0,
         kAsk,  // the last port is not tried: the radio answered before it
         "{\"ports\": [{\"name\": \"" + mute + none +
             "no-answer\", \"message\": \"No radio answered.\"}, {\"name\": \"/dev/no-such-port" +
             none + "cannot-open\", \"message\": \"There is no such device.\"}, {\"name\": \"" +
             radio + none + "answered\", \"message\": \"The radio answered.\"}, {\"name\": \"" +
             mute + "\", \"description\": \"\"}], \"radio\": \"" + radio + "\"}\n"},
        {"ports --probe --yes " + mute, "", 1, kPrompt,
         mute + "    No radio answered.\nNo radio answered.\n"},
        {"ports --probe " + radio, "no\\n", 1, kAsk},  // cancelled at the prompt
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.arguments, c.input);
        EXPECT_EQ(std::tuple(r.code, r.err, r.out), std::tuple(c.code, c.err, c.out))
            << c.arguments;
    }
    EXPECT_EQ(run("ports --port x").code, 2);
    EXPECT_EQ(readFile(file), bytes);
}

// compare, read and write on one radio: the file changes only by a read, every radio
// command keeps its backups, a read may write a transcript, and a read that cannot save
// keeps what it read.
TEST_F(RadioCli, CompareReadWriteKeepBackupsAndALog) {
    test::writeFile(dir.file("shop-copy.tdb"), bytes);
    const auto backups = [&](const std::string& kind) {
        std::vector<std::string> found;
        for (const auto& entry :
             fs::directory_iterator(dir.file("data/TARN/Tarn DataBase/backups")))
            if (entry.path().string().ends_with("_" + kind + ".tdb")) found.push_back(entry.path());
        return found;
    };
    // The radio holds client 1 (no channels); the demonstration client 0 is written to it.
    SimProcess sim({"--no-pacing", "--database", file, "--client", "1"});
    ASSERT_FALSE(sim.port().empty());
    const std::string port = "--yes --port " + sim.port() + " ";
    CliRun r = run("compare " + port + "'" + file + "' 1");
    EXPECT_EQ(std::pair(r.code, r.out),
              std::pair(0, std::string("The radio holds exactly this client.\n")));
    r = run("compare --json " + port + "'" + file + "' 0");
    EXPECT_TRUE(r.code == 4 &&
                r.out.starts_with("{\"identical\": false, \"header\": [], \"channels\": "
                                  "[{\"channel\": 1, \"change\": \"removed\""))
        << r.code << r.out;
    EXPECT_EQ(backups("radio").size(), 2u);
    r = run("write --port " + sim.port() + " '" + file + "' 0", "\\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.starts_with(kAsk + "Programmed and verified 'New Client' at ") &&
                r.err.ends_with("; what it held before is kept\n"))
        << r.err;
    ASSERT_EQ(backups("before-write").size(), 1u);
    EXPECT_EQ(imageOf(backups("before-write")[0], 0), imageOf(file, 1)) << "what it held";
    EXPECT_EQ(readFile(file), bytes) << "compare and write never change the file";

    // read: the client it replaces and what came; write: what the verification read back.
    const std::string log = dir.file("radio.log");
    const std::string read = "read " + port + "--log '" + log + "' '" + file + "' 1";
    r = run(read);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.starts_with(kPrompt + std::string("Read the radio into 'New Client' (2048 "
                                                        "bytes) at ")))
        << r.err;
    EXPECT_EQ(imageOf(file, 1), imageOf(file, 0)) << "the radio's client came in";
    EXPECT_EQ(imageOf(file, 0), imageOf(dir.file("shop-copy.tdb"), 0)) << "others untouched";
    ASSERT_EQ(backups("before-read").size(), 1u);
    ASSERT_EQ(backups("verified").size(), 1u);
    EXPECT_EQ(imageOf(backups("before-read")[0], 0), imageOf(dir.file("shop-copy.tdb"), 1));
    EXPECT_EQ(imageOf(backups("verified")[0], 0), imageOf(file, 0));
    EXPECT_EQ(backups("radio").size(), 3u);

    const std::string text = test::fileText(dir, "radio.log");
    for (const char* part : {"Read, started ", "  sent \"D 1800 0800\" (11 bytes)\n",
                             "  sent \"E\" (1 byte)\nResult: Success\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    r = run(read);
    EXPECT_EQ(std::pair(r.code, r.err),
              std::pair(1, "The file '" + log + "' already exists. Add --force to replace it.\n"));
    EXPECT_EQ(run(read + " --force").code, 0);
    EXPECT_EQ(run("read --yes --force '" + file + "' 0").code, 2) << "--force without --log";

    // Another program saves the file while a read waits at the connect prompt: the read
    // cannot save and keeps the radio's memory beside the file.
    test::RecordingUi quiet;
    test::writeFile(file, bytes);  // client 1 without channels again: the read changes it
    ASSERT_EQ(ClientDatabase(true).save(dir.file("other.tdb")), 1);
    const std::string feeder = "until grep -q 'Press Enter' '" + dir.file("stderr") +
                               "' 2>/dev/null; do sleep 0.05; done; cp '" + dir.file("other.tdb") +
                               "' '" + file + "'; echo";
    r = test::runCli(dir, "read --port " + sim.port() + " '" + file + "' 1", feeder);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile(file), readFile(dir.file("other.tdb")));
    const std::string kept =
        r.err.substr(r.err.rfind(" '") + 2, r.err.size() - r.err.rfind(" '") - 5);
    EXPECT_EQ(kept.rfind(dir.file("shop-read-"), 0), 0u) << kept;
    EXPECT_TRUE(r.err.starts_with(kAsk + "Read the radio into 'New Client' ")) << r.err;
    EXPECT_TRUE(r.err.ends_with("\nThe file '" + file +
                                "' has been changed by another program since it was opened; it "
                                "was not replaced.\nThe radio's memory was kept in '" +
                                kept + "'.\n"))
        << r.err;
    EXPECT_EQ(imageOf(kept, 0), imageOf(dir.file("other.tdb"), 0));

    // --port is for that run only: the stored port stays the default.
    QtSettingsBackend backend;
    EXPECT_EQ(SettingsStore(backend).port(), "COM1");

    // A backup that cannot be written is told once and fails nothing.
    setenv("XDG_DATA_HOME", file.c_str(), 1);
    r = run("read " + port + "'" + file + "' 0");
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(
        r.err.starts_with(kPrompt + std::string("Read the radio into 'New Client' (2048 "
                                                "bytes, no change) at ")) &&
        r.err.ends_with("\nBackup not kept: the backup folder cannot be made (Not a directory).\n"))
        << r.err;
}

// A radio recognised, a row of radios with one already holding its client and one that
// cannot be programmed, and the backups that make up a client's history.
TEST_F(RadioCli, IdentifyWriteInARowAndHistory) {
    SimProcess sim({"--no-pacing", "--database", file, "--client", "0"});
    ASSERT_FALSE(sim.port().empty());
    CliRun r = run("identify --yes --port " + sim.port() + " '" + file + "'");
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.starts_with(file + "\t0\tThe radio holds exactly 'New Client' (serial 0) of "
                                         "shop.tdb\n"))
        << r.out;
    // 0 is held already; 1 has no channels: then stop at the question after its failure.
    r = run("write --json --port " + sim.port() + " '" + file + "' 0-1", "\\n\\nq\\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.out.starts_with("{\"allVerified\": false, \"radios\": [{\"index\": 0, "
                          "\"client\": \"New Client\", \"serial\": \"0\", "
                          "\"selcall\": \"1234\", \"result\": \"already held\""))
        << r.out;
    EXPECT_NE(
        r.out.find("\"index\": 1, \"client\": \"New Client\", \"serial\": \"0\", "
                   "\"selcall\": \"1234\", \"result\": \"failed\", \"reason\": \"There are no "
                   "channels defined"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("Connect the radio for 'New Client' (serial 0), then press Enter"),
              std::string::npos);
    EXPECT_NE(r.err.find("Enter: try again, s: skip, q: stop: "), std::string::npos) << r.err;
    r = run("history '" + file + "' 0");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("before-write  New Client  0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("read          New Client  0"), std::string::npos) << r.out;
    EXPECT_EQ(run("write --port x '" + file + "' 1-0").code, 2) << "a range runs upwards";
}

}  // namespace
}  // namespace tarn
