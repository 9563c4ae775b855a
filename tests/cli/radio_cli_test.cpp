// tarn-cli read and write against tarn-radio-sim on a pseudo-terminal, end to end:
// exit codes, the exact texts on stderr, the database file and the radio's memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "database/client_database.h"
#include "radio/sim_process.h"
#include "settings/qt_settings_backend.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::readFile;
using test::SimProcess;
using test::TempDir;

constexpr const char* kPrompt =
    "Connect the serial cable.\nPress both channel up and down keys for 2 seconds until RS-232 "
    "is displayed.\nThen press OK.\n";
const std::string kAsk =
    std::string(kPrompt) + "Press Enter to continue, or type anything else to cancel: ";

struct CliRun {
    int code;
    std::string err;
};

class RadioCli : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1); }

    // Runs tarn-cli with the argument text; `input` goes to its stdin.
    CliRun run(const std::string& arguments, const std::string& input = "") const {
        const std::string err = dir.file("stderr");
        const std::string command = "printf '" + input + "' | '" TARN_CLI_PATH "' " + arguments +
                                    " >/dev/null 2>'" + err + "'";
        const int status = std::system(command.c_str());
        std::ifstream in(err, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
    }

    // A database of two clients: 0 the demonstration client, 1 one without channels.
    std::string database(const std::string& name) {
        test::RecordingFeedback quiet;
        ClientDatabase db(true);
        db.addClient();
        ClientRecord& bare = *db.client(1);
        for (int n = 1; n <= kChannelCount; ++n) bare.deleteChannel(n);
        EXPECT_TRUE(db.clientHasNoChannels(1));
        const std::string path = dir.file(name);
        EXPECT_EQ(db.save(path), 1);
        return path;
    }

    // A radio memory that differs from the demonstration client in its channel 1 and
    // its header, written as a file for tarn-radio-sim --memory.
    std::string radioMemory(RadioImage& image) {
        test::RecordingFeedback quiet;
        ClientRecord client;
        client.setFrequency(1, 0, 123456);
        client.setFrequency(1, 1, 123457);
        client.setSelcall("4321");
        client.copyImage(image.data(), kImageSize);
        const std::string path = dir.file("radio.bin");
        test::writeFile(path, {image.begin(), image.end()});
        return path;
    }

    static RadioImage imageOf(const std::string& path, int index) {
        test::RecordingFeedback quiet;
        ClientDatabase db(false);
        RadioImage image{};
        EXPECT_EQ(db.load(path), 1);
        EXPECT_EQ(db.copyClientImage(index, image.data(), kImageSize), kImageSize);
        return image;
    }

    TempDir dir;
};

TEST_F(RadioCli, ReadsARadioIntoTheClientAndSavesTheFile) {
    const std::string file = database("shop.tdb");
    RadioImage radio{};
    SimProcess sim({"--no-pacing", "--memory", radioMemory(radio)});
    ASSERT_FALSE(sim.port().empty());
    const RadioImage before = imageOf(file, 0);

    const CliRun r = run("read --yes --port " + sim.port() + " '" + file + "' 1");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, kPrompt);
    // The image as the channel check leaves it (it numbers the slots).
    ClientRecord expected;
    {
        test::RecordingFeedback quiet;
        expected.loadImage(radio.data(), kImageSize);
        EXPECT_TRUE(quiet.empty());
    }
    EXPECT_EQ(imageOf(file, 1), expected.image());
    EXPECT_EQ(imageOf(file, 0), before) << "other clients are untouched";

    // --port is for that run only: the stored port stays the default.
    QtSettingsBackend backend;
    setSettingsBackend(&backend);
    EXPECT_EQ(settings().port(), "COM1");
    setSettingsBackend(nullptr);
}

TEST_F(RadioCli, WritesAClientAndVerifiesItAndAByteStoredWronglyGivesExitCode3) {
    const std::string file = database("shop.tdb");
    const auto bytes = readFile(file);
    SimProcess sim({"--no-pacing", "--save", dir.file("programmed.bin")});
    ASSERT_FALSE(sim.port().empty());
    CliRun r = run("write --port " + sim.port() + " '" + file + "' 0", "\\n");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, kAsk);
    EXPECT_EQ(sim.stop(), 0);
    const RadioImage sent = imageOf(file, 0);
    EXPECT_EQ(readFile(dir.file("programmed.bin")),
              std::vector<std::uint8_t>(sent.begin(), sent.end()));

    SimProcess corrupt({"--no-pacing", "--corrupt", "1A00"});
    ASSERT_FALSE(corrupt.port().empty());
    r = run("write --yes --port " + corrupt.port() + " '" + file + "' 0");
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, std::string(kPrompt) +
                         "Verify failed!\nThe data was not successfully written to the client.\n");
    EXPECT_EQ(readFile(file), bytes) << "writing never changes the file";
}

TEST_F(RadioCli, RefusesOrFailsBeforeAnythingIsSentAndLeavesTheFileAlone) {
    const std::string path = database("shop.tdb");
    const auto bytes = readFile(path);
    const std::string file = "'" + path + "'";
    const std::string noPort = std::string(kPrompt) + "Failed to open the serial port.\n";
    const struct {
        std::string arguments, input;
        int code;
        std::string err;
    } cases[] = {
        {"read --yes --port /dev/no-such-port " + file + " 0", "", 1, noPort},
        {"write --yes --port /dev/no-such-port " + file + " 0", "", 1, noPort},
        {"write --yes --port /dev/null " + file + " 1", "", 1, "There are no channels defined.\n"},
        {"read --yes " + file + " 2", "", 1, "There is no client 2; the database holds 2.\n"},
        {"write --yes " + file + " 7", "", 1, "There is no client 7; the database holds 2.\n"},
        {"read --port /dev/null " + file + " 0", "no\\n", 1, kAsk},
        {"read " + file + " 0", "", 1,  // end of input cancels
         kAsk},
        {"read --yes " + file, "", 2, "usage: tarn-cli read [--port NAME] [--yes] FILE INDEX\n"},
        {"write --yes " + file + " one", "", 2,
         "usage: tarn-cli write [--port NAME] [--yes] FILE INDEX\n"},
        {"write --port " + file + " 0", "", 2,
         "usage: tarn-cli write [--port NAME] [--yes] FILE INDEX\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.arguments, c.input);
        EXPECT_EQ(r.code, c.code) << c.arguments;
        EXPECT_EQ(r.err, c.err) << c.arguments;
    }
    EXPECT_EQ(readFile(path), bytes);
}

}  // namespace
}  // namespace tarn
