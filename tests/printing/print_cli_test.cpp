// tarn-cli print end to end: a database file in, a PDF out, its pages read back with
// pdftotext.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "database/client_database.h"
#include "model/client_record.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

struct CommandRun {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

CommandRun runCommand(const std::string& command) {
    CommandRun run;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> chunk;
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.output.append(chunk.data(), got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class PrintCli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (runCommand("pdftotext -v").exitCode != 0) GTEST_SKIP() << "pdftotext is missing";
    }

    // The settings of the tool (its recent-file list) go to the temporary folder.
    CommandRun print(const std::string& arguments) {
        return runCommand("XDG_CONFIG_HOME=" + dir.file("config") + " " TARN_CLI_PATH " print " +
                          arguments);
    }

    // The text of each page of a PDF.
    std::vector<std::string> pages(const std::string& pdf) {
        const CommandRun text = runCommand("pdftotext -layout " + pdf + " -");
        EXPECT_EQ(text.exitCode, 0) << text.output;
        std::vector<std::string> out;
        std::size_t start = 0;
        for (auto feed = text.output.find('\f'); feed != std::string::npos;
             feed = text.output.find('\f', start)) {
            out.push_back(text.output.substr(start, feed - start));
            start = feed + 1;
        }
        return out;
    }

    // Six clients of 40 channels each: several pages on any common paper size.
    std::string fleetDatabase() {
        ClientDatabase db(false);
        const char dealer[] = "Harbour Marine\r\nPort Lincoln";
        std::copy(std::begin(dealer), std::end(dealer), db.dealerText().begin());
        for (int c = 0; c < 6; ++c) {
            ClientRecord& client = *db.client(db.addClient());
            const std::string name = "Vessel " + std::string(1, static_cast<char>('A' + c));
            client.setName(c == 5 ? "Caf\xe9 Queen" : name.c_str());
            for (int n = 1; n <= kChannelCount; ++n) client.deleteChannel(n);
            for (int n = 1; n <= 40; ++n) {
                client.setFrequency(n, 0, 20000u + static_cast<std::uint32_t>(c * 1000 + n));
                client.setFrequency(n, 1, 20000u + static_cast<std::uint32_t>(c * 1000 + n));
                client.setLabel(n,
                                ("Mark c" + std::to_string(c) + " n" + std::to_string(n)).c_str());
            }
        }
        const std::string path = dir.file("fleet.tdb");
        EXPECT_NE(db.save(path), 0);
        return path;
    }

    TempDir dir;
};

TEST_F(PrintCli, AllSheetsRunOverSeveralPagesWithTheHeadingOnTheFirstOnly) {
    const std::string db = fleetDatabase();
    const CommandRun run = print("--all " + db + " " + dir.file("all.pdf"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "");

    const std::vector<std::string> text = pages(dir.file("all.pdf"));
    ASSERT_GE(text.size(), 3u);
    const std::string& first = text[0];
    EXPECT_NE(first.find("Tarn database"), std::string::npos);
    EXPECT_NE(first.find("Filename:"), std::string::npos);
    EXPECT_NE(first.find(db), std::string::npos) << first;
    EXPECT_NE(first.find("Date:"), std::string::npos);
    EXPECT_NE(first.find("Dealer:"), std::string::npos);
    EXPECT_NE(first.find("Harbour Marine"), std::string::npos);
    EXPECT_NE(first.find("Port Lincoln"), std::string::npos);
    EXPECT_LT(first.find("Port Lincoln"), first.find("Client name:"));

    std::string all;
    for (std::size_t p = 0; p < text.size(); ++p) {
        all += text[p];
        if (p > 0) {
            EXPECT_EQ(text[p].find("Filename:"), std::string::npos) << "page " << p + 1;
        }
    }
    EXPECT_EQ(occurrences(all, "Client name:"), 6);
    EXPECT_EQ(occurrences(all, "Rx Freq"), 6);
    EXPECT_NE(all.find("Caf\xc3\xa9 Queen"), std::string::npos);  // Windows-1252 text
    EXPECT_NE(all.find("Vessel A"), std::string::npos);
    for (int c = 0; c < 6; ++c)
        for (int n : {1, 40}) {
            const std::string label = "Mark c" + std::to_string(c) + " n" + std::to_string(n);
            EXPECT_EQ(occurrences(all, label + "\n"), 1) << label;
        }
    // Client 5, channel 40: RX and TX 25040 hundreds of hertz.
    EXPECT_EQ(occurrences(all, "2504.0"), 2);
}

TEST_F(PrintCli, SummaryAndSingleClient) {
    const std::string db = fleetDatabase();
    ASSERT_EQ(print("--summary " + db + " " + dir.file("summary.pdf")).exitCode, 0);
    std::vector<std::string> text = pages(dir.file("summary.pdf"));
    ASSERT_EQ(text.size(), 1u);
    EXPECT_NE(text[0].find("Tarn database summary"), std::string::npos);
    EXPECT_EQ(occurrences(text[0], "Client name:"), 6);
    EXPECT_EQ(occurrences(text[0], "Rx Freq"), 0);

    ASSERT_EQ(print("--client 2 " + db + " " + dir.file("one.pdf")).exitCode, 0);
    std::string all;
    for (const std::string& page : pages(dir.file("one.pdf"))) all += page;
    EXPECT_EQ(occurrences(all, "Client name:"), 1);
    EXPECT_NE(all.find("Vessel C"), std::string::npos);
    EXPECT_EQ(occurrences(all, "Mark c2 n"), 40);
    EXPECT_EQ(occurrences(all, "Mark c1 n"), 0);
}

TEST_F(PrintCli, FailuresAreToldAndWriteNothing) {
    const std::string db = fleetDatabase();
    CommandRun run = print("--client 6 " + db + " " + dir.file("none.pdf"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Nothing to print.\n");

    run = print("--all " + db + " " + dir.file("missing/folder/out.pdf"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Printer document error.\n");

    run = print("--all " + dir.file("no-such.tdb") + " " + dir.file("none.pdf"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.pdf")));
}

TEST_F(PrintCli, UsageErrors) {
    const std::string db = fleetDatabase();
    const std::string out = dir.file("out.pdf");
    for (const std::string& arguments :
         {db + " " + out, "--all --summary " + db + " " + out, "--all --client 1 " + db + " " + out,
          "--client one " + db + " " + out, "--client -1 " + db + " " + out, "--all " + db,
          std::string("--client"), "--landscape --all " + db + " " + out}) {
        SCOPED_TRACE(arguments);
        const CommandRun run = print(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.output.find("usage: tarn-cli print"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace tarn::test
