// tarn-cli run as a program: exit codes, exact texts on stdout and stderr, the recent-file
// list it shares with the desktop program, JSON, and the printed PDF.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "cli_run.h"
#include "database/client_database.h"
#include "database/csv_export.h"
#include "settings/qt_settings_backend.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::CliRun;

class Cli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        config = new test::TempDir;  // the tool and this process share the settings file
        setenv("XDG_CONFIG_HOME", config->path().c_str(), 1);
    }
    static void TearDownTestSuite() { delete config; }

    std::string text(const std::string& name) const { return test::fileText(dir, name); }

    CliRun run(const std::string& arguments) const { return test::runCli(dir, arguments); }

    static test::TempDir* config;
    test::TempDir dir;
    test::RecordingUi quiet;  // the databases made here say nothing
};

test::TempDir* Cli::config = nullptr;

TEST_F(Cli, UsageErrors) {
    for (const char* args :
         {"", "frobnicate x", "info", "info --verbose a.tdb", "info a.tdb b.tdb", "channels a.tdb",
          "channels a.tdb one", "channels a.tdb -1", "export a.tdb", "new", "print a.tdb o.pdf",
          "print --all --summary a.tdb o.pdf", "print --client one a.tdb o.pdf",
          "print --all a.tdb", "print --all --footer --no-footer a.tdb o.pdf"}) {
        const CliRun r = run(args);
        EXPECT_TRUE(r.code == 2 && r.err.find("usage:") != std::string::npos) << args;
    }
    EXPECT_EQ(run("--help").code, 0);
}

// Every run's exit code and both outputs exactly; a run that fails leaves every file alone.
TEST_F(Cli, ExitCodesAndExactOutputs) {
    std::string demoCsv;
    {
        ClientDatabase db(true);
        ASSERT_EQ(db.save(dir.file("demo.tdb")), 1);
        demoCsv = csvText(db);
        db.client(db.addClient())->addChannel();
        std::string csv = csvText(db);
        test::writeFile(dir.file("good.csv"), {csv.begin(), csv.end()});
        csv.replace(csv.find("0,1234"), 6, "0,12a4");  // line 5, the first client
        test::writeFile(dir.file("bad.csv"), {csv.begin(), csv.end()});
        ASSERT_EQ(db.save(dir.file("fleet.tdb")), 1);
        std::uint8_t* image = db.client(0)->image().data();
        image[8 * 9 + 4] = 0x01;  // channel 9: RX 0, TX set
        for (int n = 20; n < 30; ++n) image[8 * n] = ChannelFlag::Scan, image[8 * n + 1] = 1;
        ASSERT_EQ(db.save(dir.file("repair.tdb")), 1);
        *db.client(0) = *ClientDatabase(true).client(0);
        while (db.clientCount() < kMaxClients - 1) db.addClient();
        ASSERT_EQ(db.save(dir.file("full.tdb")), 1);
    }
    test::writeFile(dir.file("old.csv"), {'o', 'l', 'd'});
    // Another computer edits locked.tdb: an import waits, then refuses; a listing reads on.
    std::filesystem::copy_file(dir.file("demo.tdb"), dir.file("locked.tdb"));
    const std::string lock = "kind=editing\nuser=bob\nhost=far-away\nprogram=tarn\nsince=0\n";
    test::writeFile(dir.file(".locked.tdb.lock"), {lock.begin(), lock.end()});
    char since[32];
    const std::time_t epoch = 0;
    std::strftime(since, sizeof since, "%Y-%m-%d %H:%M", std::localtime(&epoch));

    const std::string rows =
        "Index  Name        Type      Serial  Selcall  Program  Mode    Tune    Power\n"
        "0      New Client  Advanced  0       1234     Enabled  Toggle  Manual  High\n";
    const std::string two = rows + "1" + rows.substr(rows.find("\n0") + 2);  // client 1 alike
    // Appended: GCC 12 at -O3 warns falsely about "literal" + std::string.
    auto named = [&](const char* before, const char* name, const char* after) {
        return std::string(before).append(dir.file(name)).append(after);
    };
    const char* exists = "' already exists. Add --force to replace it.\n";
    const char* beingRead = "' is a database file open in this program; it is never replaced.\n";
    auto snapshot = [&] { return text("fleet.tdb") + text("demo.tdb") + text("old.csv"); };
    const std::string badLine = "line 5: the selcall is not four digits\n";
    // What an import says of the selcall every new client has: at most ten names.
    auto clash = [](int clients) {
        std::string text = "Selcall 1234 is used by " + std::to_string(clients) + " clients: ";
        for (int i = 0; i < std::min(clients, 10); ++i)
            text += i ? ", 'New Client'" : "'New Client'";
        return text + (clients > 10 ? " and " + std::to_string(clients - 10) + " more\n" : "\n");
    };
    const struct {
        const char* args;
        int code;
        std::string out, err;
    } runs[] = {
        {"new made.tdb", 0, "", ""},
        {"--remember info nothing.tdb", 1, "", "Could not open database file\n"},
        {"info repair.tdb", 0, "Dealer:\nClients: 2\n" + two,  // a load that repairs succeeds
         "1 channels appear to be corrupted and have been deleted\n"
         "There were 10 scan channels, this is more than the limit of 8.\n"
         "All scan channels have been deselected\n"},
        {"print --client 2 fleet.tdb out.pdf", 1, "", "Nothing to print.\n"},
        {"print --all fleet.tdb no/such/folder.pdf", 1, "", "Printer document error.\n"},
        {"channels fleet.tdb 2", 1, "", "There is no client 2; the database holds 2.\n"},
        {"new demo.tdb", 1, "", named("The file '", "demo.tdb", exists)},
        {"export demo.tdb old.csv", 1, "", named("The file '", "old.csv", exists)},
        {"print --summary demo.tdb old.csv", 1, "", named("The file '", "old.csv", exists)},
        {"export --force demo.tdb demo.tdb", 1, "", named("'", "demo.tdb", beingRead)},
        {"import locked.tdb good.csv", 1, "",
         named("The database '", "locked.tdb", "' is being edited by bob on far-away since ") +
             since + " (tarn).\n"},
        {"info locked.tdb", 0, "Dealer:\nClients: 1\n" + rows, ""},
        {"find fleet.tdb CLIENT", 0, two, ""},
        {"find fleet.tdb -- --json", 0, "No client matches.\n", ""},
        {"info --verbose fleet.tdb", 2, "",
         "tarn-cli: unknown option \"--verbose\"\nusage: tarn-cli info [--json] FILE\n"},
        {"import fleet.tdb", 2, "", "usage: tarn-cli import [--skip-bad] FILE IN.csv\n"},
        {"import fleet.tdb missing.csv", 1, "", "Could not open csv file\n"},
        {"import fleet.tdb bad.csv", 1, "",
         badLine + "Nothing was imported: the file has lines that cannot be read.\n"
                   "Add --skip-bad to import the 1 readable clients.\n"},
        {"import full.tdb good.csv", 1, "",
         "The file holds 2 clients; the database has room for 1 more (it holds at most 1000). "
         "Nothing was imported. Add --skip-bad to import the first 1.\n"},
        {"import --skip-bad fleet.tdb bad.csv", 0, "Imported 1 client with 1 channel.\n",
         badLine + clash(3)},
        {"import fleet.tdb good.csv", 0, "Imported 2 clients with 8 channels.\n", clash(5)},
        {"import full.tdb good.csv --skip-bad", 0,
         "Imported 1 client with 7 channels. 1 client does not fit: a database holds at most "
         "1000 clients.\n",
         clash(1000)},
        {"find --json fleet.tdb nobody", 0, "[]\n", ""},
        {"export --force demo.tdb old.csv", 0, "", ""},
        {"new --force made.tdb", 0, "", ""},
        {"--remember new second.tdb", 0, "", ""},
        {"info ./made.tdb --remember", 0, "Dealer:\nClients: 1\n" + rows, ""},
    };
    for (const auto& r : runs) {
        const auto files = snapshot();
        const CliRun got = run(r.args);
        EXPECT_EQ(got.code, r.code) << r.args;
        EXPECT_EQ(got.out, r.out) << r.args;
        EXPECT_EQ(got.err, r.err) << r.args;
        EXPECT_TRUE(got.code == 0 || snapshot() == files) << r.args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdf")));
    EXPECT_EQ(text("old.csv"), demoCsv);
    // The recent-file list is the desktop program's: changed only when asked to, full paths.
    QtSettingsBackend backend;
    SettingsStore store(backend);
    EXPECT_EQ(store.recentFile(0, false), dir.file("made.tdb"));
    EXPECT_EQ(store.recentFile(1, false), dir.file("second.tdb"));
    EXPECT_FALSE(store.recentFile(2, false));
}

// Texts decode as Windows-1252 as on the desktop; control characters from a file (ESC,
// DEL, C1) and a path that is not UTF-8 reach the terminal escaped, never raw; Find takes
// a UTF-8 argument.
TEST_F(Cli, TextsDecodeAsTheDesktopAndReachTheTerminalEscaped) {
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "Caf\xE9 \"Radio\"\r\n\x1b]0;owned\x07\\\x7f");
    ClientRecord& c = *db.client(0);
    c.setName("M\xFCller \x80, \"K\"\x1b[2J");
    c.setLabel(5, "Tab\there\x9D");
    c.setChannelFlag(5, ChannelFlag::Scan, 1);
    c.setChannelFlag(5, ChannelFlag::Alarm, 1);
    db.client(db.addClient())->setName("CAF\xC9 QUEEN");
    ASSERT_EQ(db.save(dir.file("awkward.tdb")), 1);

    const QJsonDocument root =
        QJsonDocument::fromJson(QByteArray::fromStdString(run("info --json awkward.tdb").out));
    EXPECT_EQ(root["dealer"].toString(),
              QString::fromUtf8("Caf\u00e9 \"Radio\"\r\n\u001b]0;owned\u0007\\\u007f"));
    EXPECT_EQ(
        QJsonDocument(root["clients"][0].toObject()).toJson(QJsonDocument::Compact).toStdString(),
        R"({"index":0,"mode":"Toggle","name":"Müller €, \"K\"\u001b[2J","power":"High",)"
        R"("program":"Enabled","selcall":"1234","serial":"0","tune":"Manual","type":"Advanced"})");
    EXPECT_NE(run("channels --json awkward.tdb 0").out.find(R"("label": "Tab\there\u009d")"),
              std::string::npos);
    const std::string info = run("info awkward.tdb").out;
    EXPECT_EQ(info.substr(0, info.find("Index")),
              "Dealer:\n  Caf\u00e9 \"Radio\"\n  \\x1b]0;owned\\x07\\\\x7f\nClients: 2\n");
    EXPECT_NE(info.find("M\u00fcller \u20ac, \"K\"\\x1b[2J  Advanced"), std::string::npos);
    EXPECT_EQ(info.find('\x1b'), std::string::npos);
    EXPECT_NE(run("channels awkward.tdb 0").out.find("Tab\\x09here\\x9d\n"), std::string::npos);
    const std::string found = run("find awkward.tdb 'café'").out;  // client 1 alone
    EXPECT_EQ(found.substr(found.find('\n')),
              "\n1      CAFÉ QUEEN  Advanced  0       1234     Enabled  Toggle  Manual  High\n");

    test::writeFile(dir.file("\xFF\x1b.csv"), {'x'});
    EXPECT_EQ(run("export awkward.tdb '\xFF\x1b.csv'").err,
              "The file '" + dir.file("\\xff\\x1b.csv") +
                  "' already exists. Add --force to replace it.\n");
}

// A fleet: one client's channels given to the others (preview first), selcalls numbered
// until the check finds nothing, and a PDF per client.
TEST_F(Cli, FleetChannelsSelcallsCheckAndEachPdf) {
    {
        ClientDatabase db(true);
        for (int i = 1; i <= 3; ++i) {
            ClientRecord& c = *db.client(db.addClient());
            c.setName(("Boat " + std::to_string(i)).c_str());
            c.addChannel();
            c.setFrequency(1, 0, 70000);
            c.setFrequency(9, 0, 71000);
            c.setFrequency(9, 1, 71000);
        }
        ASSERT_EQ(db.save(dir.file("fleet.tdb")), 1);
        const std::string csv = csvText(db);
        test::writeFile(dir.file("plan.csv"), {csv.begin(), csv.end()});
    }
    const std::string before = text("fleet.tdb");
    CliRun r = run("apply-channels fleet.tdb --from 0 --to 1,3 --merge --dry-run");
    EXPECT_EQ(r.out,
              "Merging the channels of 'New Client' of fleet.tdb:\n"
              "  1 'Boat 1': 6 added (2-7), 1 changed (1)\n"
              "  3 'Boat 3': 6 added (2-7), 1 changed (1)\n");
    EXPECT_EQ(text("fleet.tdb"), before);
    r = run("apply-channels fleet.tdb --from-csv plan.csv --to 1-3");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("  3 'Boat 3': 6 added (2-7), 1 changed (1), 1 removed (9)\n"
                         "3 of 3 clients changed.\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(run("channels fleet.tdb 2").out, run("channels fleet.tdb 0").out);
    EXPECT_EQ(run("apply-channels fleet.tdb --from 0 --to 1-4").err,
              "There is no client 4; the database holds 4.\n");
    EXPECT_EQ(run("apply-channels fleet.tdb --from 0 --to 3-1").code, 2);

    r = run("check fleet.tdb");
    EXPECT_EQ(r.code, 4);
    EXPECT_EQ(r.out,
              "Selcall 1234 is used by 4 clients: 'New Client', 'Boat 1', 'Boat 2', "
              "'Boat 3'\n");
    r = run("selcalls fleet.tdb --to 1-3 --start 1233");
    EXPECT_EQ(r.out, "1 'Boat 1': 1233\n2 'Boat 2': 1235\n3 'Boat 3': 1236\n");
    EXPECT_EQ(run("selcalls fleet.tdb --to 1 --start 99999").code, 2);
    r = run("check fleet.tdb");
    EXPECT_EQ(std::tie(r.code, r.out), std::make_tuple(0, std::string("No findings.\n")));

    std::filesystem::create_directory(dir.file("out"));
    EXPECT_EQ(run("print --clients 0-2 fleet.tdb --each out").out,
              "3 PDF files written to '" + dir.file("out") + "'.\n");
    for (const char* name : {"New Client.pdf", "Boat 1.pdf", "Boat 2.pdf"})
        EXPECT_TRUE(std::filesystem::exists(dir.file("out/" + std::string(name)))) << name;
    r = run("print --all fleet.tdb --each out");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.substr(0, 10), "The file '");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/Boat 3.pdf"))) << "nothing written";
    EXPECT_EQ(run("print --all --force fleet.tdb --each out").code, 0);
}

// A PDF read back with pdftotext: each sheet whole across pages, the heading once, 8-bit texts, and
// the stored print options that the command line overrides.
TEST_F(Cli, PrintRendersTheChosenSheetsIntoAPdf) {
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftotext";
    ClientDatabase fleet(false);  // three clients of 40 channels: several pages on any paper
    std::strcpy(fleet.dealerText().data(), "Harbour Marine\r\nPort Lincoln");
    for (int c = 0; c < 3; ++c) {
        ClientRecord& client = *fleet.client(fleet.addClient());
        client.setName(c == 2 ? "Caf\xe9 Queen" : "Vessel");
        for (int n = 1; n <= 40; ++n) {
            client.setFrequency(n, 0, 20000u + std::uint32_t(c * 1000 + n));
            client.setLabel(n, ("Mark c" + std::to_string(c) + " n" + std::to_string(n)).c_str());
        }
    }
    // A UTF-8 file name prints as the system names it, not as an 8-bit database text.
    const std::string db = dir.file("M\xc3\xbcller-fleet.tdb");
    ASSERT_EQ(fleet.save(db), 1);
    using Counts = std::vector<int>;
    auto counts = [&](const std::string& arguments, const std::vector<std::string>& parts) {
        EXPECT_EQ(run("print --force " + arguments + " '" + db + "' out.pdf").code, 0) << arguments;
        const std::string convert = "cd '" + dir.path().string() + "' && pdftotext -layout out.pdf";
        EXPECT_EQ(std::system(convert.c_str()), 0);
        const std::string pdf = text("out.txt");
        Counts found;
        for (const std::string& part : parts) {
            found.push_back(0);
            for (auto at = pdf.find(part); at != std::string::npos; at = pdf.find(part, at + 1))
                ++found.back();
        }
        return found;
    };
    EXPECT_EQ(counts("--all", {"Filename:", db, "Port Lincoln", "Date:", "Client name:",
                               "Caf\xc3\xa9 Queen", "Mark c0 n", "Mark c1 n", "Mark c2 n"}),
              (Counts{1, 1, 1, 1, 3, 1, 40, 40, 40}));
    // Each sheet on its own page, numbered on its own, and the file at every foot.
    EXPECT_EQ(counts("--all --new-page --footer", {"\f", "Page 1 of 1", db}), (Counts{3, 3, 6}));
    QtSettingsBackend stored;
    stored.write(kPrintFooterValue, "1");
    EXPECT_EQ(counts("--summary", {"Page 1 of 1"}), Counts{1});
    EXPECT_EQ(counts("--summary --no-footer", {"Page 1 of 1"}), Counts{0});
}

}  // namespace
}  // namespace tarn
