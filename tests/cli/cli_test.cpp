// tarn-cli run as a program: exit codes, exact messages on stderr, JSON and text output,
// the export, and the recent-file list it shares with the desktop program.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_export.h"
#include "settings/qt_settings_backend.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::readFile;
using test::TempDir;

struct Outcome {
    int code;
    std::string out, err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Cli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        config = new TempDir;
        // The tool and this process read the same settings file.
        setenv("XDG_CONFIG_HOME", config->path().c_str(), 1);
    }
    static void TearDownTestSuite() { delete config; }

    // Runs tarn-cli in the test's folder with the given argument text.
    Outcome run(const std::string& arguments, const std::string& input = "") const {
        const std::string out = dir.file("stdout"), err = dir.file("stderr");
        std::string command = "cd '" + dir.path().string() + "' && '" TARN_CLI_PATH "' " +
                              arguments + " >'" + out + "' 2>'" + err + "'";
        if (!input.empty()) command = "printf '" + input + "' | (" + command + ")";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }

    static QJsonDocument json(const std::string& text) {
        QJsonParseError error{};
        QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
        return doc;
    }

    // A database with texts that need decoding and escaping, saved in the test folder.
    std::string awkwardDatabase() {
        test::RecordingFeedback quiet;
        ClientDatabase db(true);
        std::strcpy(db.dealerText().data(), "Caf\xE9 \"Radio\"\r\nBack\\slash\x01");
        ClientRecord& c = *db.client(0);
        c.setName("M\xFCller, \"K\"");
        c.setLabel(5, "Tab\there");
        c.setChannelFlag(5, ChannelFlag::Scan, 1);
        c.setChannelFlag(5, ChannelFlag::Alarm, 1);
        c.setChannelFlag(2, ChannelFlag::Usb, 0);
        db.addClient();
        db.client(1)->setName("Second");
        const std::string path = dir.file("awkward.tdb");
        EXPECT_EQ(db.save(path), 1);
        return path;
    }

    static TempDir* config;
    TempDir dir;
};

TempDir* Cli::config = nullptr;

TEST_F(Cli, UsageErrors) {
    for (const char* args : {"", "frobnicate x", "info", "info --verbose demo.tdb",
                             "info a.tdb b.tdb", "channels demo.tdb", "channels demo.tdb one",
                             "channels demo.tdb -1", "export demo.tdb", "new"}) {
        Outcome r = run(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    Outcome help = run("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("tarn-cli channels [--json] FILE INDEX"), std::string::npos);
}

TEST_F(Cli, NewThenInfo) {
    Outcome made = run("new demo.tdb");
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(readFile(dir.file("demo.tdb")).size(), 10389u);

    Outcome text = run("info demo.tdb");
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(text.out,
              "Dealer:\nClients: 1\n"
              "Index  Name        Type      Serial  Selcall  Program  Mode    Tune    Power\n"
              "0      New Client  Advanced  0       1234     Enabled  Toggle  Manual  High\n");

    Outcome j = run("info --json demo.tdb");
    ASSERT_EQ(j.code, 0);
    QJsonObject root = json(j.out).object();
    EXPECT_EQ(root["dealer"].toString(), "");
    QJsonArray clients = root["clients"].toArray();
    ASSERT_EQ(clients.size(), 1);
    QJsonObject c = clients[0].toObject();
    EXPECT_EQ(c["index"].toInt(-1), 0);
    const std::pair<const char*, const char*> fields[] = {
        {"name", "New Client"}, {"type", "Advanced"}, {"serial", "0"},    {"selcall", "1234"},
        {"program", "Enabled"}, {"mode", "Toggle"},   {"tune", "Manual"}, {"power", "High"}};
    for (auto [key, value] : fields) EXPECT_EQ(c[key].toString().toStdString(), value) << key;
}

TEST_F(Cli, JsonDecodesLatin1AndEscapes) {
    const std::string path = awkwardDatabase();
    Outcome info = run("info --json awkward.tdb");
    ASSERT_EQ(info.code, 0) << info.err;
    QJsonObject root = json(info.out).object();
    EXPECT_EQ(root["dealer"].toString(),
              QString::fromUtf8("Caf\u00e9 \"Radio\"\r\nBack\\slash\u0001"));
    QJsonArray clients = root["clients"].toArray();
    ASSERT_EQ(clients.size(), 2);
    EXPECT_EQ(clients[0].toObject()["name"].toString(), QString::fromUtf8("M\u00fcller, \"K\""));
    EXPECT_EQ(clients[1].toObject()["index"].toInt(), 1);

    Outcome ch = run("channels --json awkward.tdb 0");
    ASSERT_EQ(ch.code, 0) << ch.err;
    QJsonArray channels = json(ch.out).array();
    ASSERT_EQ(channels.size(), 7);
    QJsonObject five = channels[4].toObject();
    EXPECT_EQ(five["channel"].toInt(), 5);
    EXPECT_EQ(five["label"].toString(), "Tab\there");
    EXPECT_EQ(five["rx"].toString(), "9999.0");
    EXPECT_EQ(five["tx"].toString(), "10100.0");
    EXPECT_TRUE(five["usb"].toBool());
    EXPECT_TRUE(five["scan"].toBool());
    EXPECT_TRUE(five["alarm"].toBool());
    EXPECT_FALSE(five["selcall"].toBool());
    EXPECT_FALSE(five["txeqrx"].toBool());
    EXPECT_FALSE(channels[1].toObject()["usb"].toBool());
    EXPECT_TRUE(channels[1].toObject()["txeqrx"].toBool());

    Outcome none = run("channels --json awkward.tdb 1");
    ASSERT_EQ(none.code, 0);
    EXPECT_EQ(json(none.out).array().size(), 0);
}

TEST_F(Cli, ChannelsText) {
    awkwardDatabase();
    Outcome r = run("channels awkward.tdb 0");
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header, "Channel  RX kHz   TX kHz   Mode  Scan  SelCall  Alarm  TX=RX  Label");
    EXPECT_EQ(first, "1        3740.0   3740.0   USB   no    no       no     yes");
    EXPECT_EQ(second, "2        5058.0   5058.0   LSB   no    no       no     yes");
}

TEST_F(Cli, MissingClientIsAFailure) {
    run("new demo.tdb");
    Outcome r = run("channels demo.tdb 1");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "There is no client 1; the database holds 1.\n");
}

TEST_F(Cli, CoreMessagesGoToStderrOneEach) {
    Outcome missing = run("info nothing.tdb");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "Could not open database file\n");
    EXPECT_EQ(missing.out, "");

    test::writeFile(dir.file("text.tdb"), {'h', 'e', 'l', 'l', 'o'});
    Outcome wrong = run("export text.tdb out.csv");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.err, "File does not appear to be a database file\n");

    // A load repairs what the channel check finds, tells it, and succeeds.
    auto bytes = readFile(awkwardDatabase());
    const std::size_t slot9 = 124 + 2 + 8209 + 8 * 9;
    bytes[slot9 + 4] = 0x01;  // channel 9: RX 0, TX set
    for (int n = 20; n < 29; ++n) {
        const std::size_t s = 124 + 2 + 8209 + 8 * n;
        bytes[s] = ChannelFlag::Scan;
        bytes[s + 1] = 0x10;
    }
    test::writeFile(dir.file("repair.tdb"), bytes);
    Outcome repaired = run("info repair.tdb");
    EXPECT_EQ(repaired.code, 0);
    EXPECT_EQ(repaired.err,
              "1 channels appear to be corrupted and have been deleted\n"
              "There were 10 scan channels, this is more than the limit of 8.\n"
              "All scan channels have been deselected\n");
}

TEST_F(Cli, ExportMatchesTheLibrary) {
    const std::string path = awkwardDatabase();
    Outcome r = run("export awkward.tdb out.csv");
    ASSERT_EQ(r.code, 0) << r.err;
    test::RecordingFeedback quiet;
    ClientDatabase db(false);
    ASSERT_EQ(db.load(path), 1);
    EXPECT_EQ(slurp(dir.file("out.csv")), csvText(db));

    Outcome bad = run("export awkward.tdb no/such/folder.csv");
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, "Failed to create/open csv file\n");
}

TEST_F(Cli, NewThatCannotSave) {
    Outcome r = run("new no/such/folder.tdb");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Failed to create/open database file\n");
}

TEST_F(Cli, LoadAndSaveFeedTheSharedRecentFiles) {
    QtSettingsBackend backend;
    SettingsStore store(backend);
    ASSERT_EQ(run("new first.tdb").code, 0);
    EXPECT_EQ(store.recentFile(0, false), dir.file("first.tdb")) << "stored as a full path";
    ASSERT_EQ(run("new second.tdb").code, 0);
    ASSERT_EQ(run("info ./first.tdb").code, 0);
    EXPECT_EQ(store.recentFile(0, false), dir.file("first.tdb"));
    EXPECT_EQ(store.recentFile(1, false), dir.file("second.tdb"));
    ASSERT_EQ(run("info missing.tdb").code, 1);
    EXPECT_EQ(store.recentFile(0, false), dir.file("first.tdb"));
}

TEST(CliSupport, ArgumentsAndTexts) {
    using cli::parseArguments;
    auto parsed =
        parseArguments({"--port", "COM2", "f.tdb", "--yes", "3"}, {"--yes"}, {"--port"}, 2);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->values["--port"], "COM2");
    EXPECT_TRUE(parsed->flags.count("--yes"));
    EXPECT_EQ(parsed->positional, (std::vector<std::string>{"f.tdb", "3"}));
    EXPECT_FALSE(parseArguments({"f.tdb", "--port"}, {}, {"--port"}, 1)) << "value missing";
    EXPECT_FALSE(parseArguments({"f.tdb", "--nope"}, {}, {}, 1));

    EXPECT_EQ(cli::parseIndex("0"), 0);
    EXPECT_EQ(cli::parseIndex("999"), 999);
    EXPECT_FALSE(cli::parseIndex("1x"));
    EXPECT_FALSE(cli::parseIndex(""));
    EXPECT_FALSE(cli::parseIndex("9999999999"));

    EXPECT_EQ(cli::latin1ToUtf8("\xE9\x7F\xFF"), "\xC3\xA9\x7F\xC3\xBF");
    EXPECT_EQ(cli::jsonString(std::string("a\"b\\c\n\x1f\0", 8)),
              "\"a\\\"b\\\\c\\n\\u001f\\u0000\"");
}

}  // namespace
}  // namespace tarn
