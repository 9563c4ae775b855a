// tarn-cli print end to end: a database file in, a PDF out, its pages read back with
// pdftotext.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "model/client_record.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

// The exit code and the output (stdout and stderr) of a shell command.
std::pair<int, std::string> run(const std::string& command) {
    std::string output;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char chunk[4096];
    for (std::size_t got; pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output.append(chunk, got);
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

int occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class PrintCli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (run("pdftotext -v").first != 0) GTEST_SKIP() << "pdftotext is missing";
        // Six clients of 40 channels each: several pages on any common paper size.
        ClientDatabase fleet(false);
        std::strcpy(fleet.dealerText().data(), "Harbour Marine\r\nPort Lincoln");
        for (int c = 0; c < 6; ++c) {
            ClientRecord& client = *fleet.client(fleet.addClient());
            client.setName(c == 5 ? "Caf\xe9 Queen" : ("Vessel " + std::to_string(c)).c_str());
            for (int n = 1; n <= kChannelCount; ++n) client.deleteChannel(n);
            for (int n = 1; n <= 40; ++n) {
                client.setFrequency(n, 0, 20000u + std::uint32_t(c * 1000 + n));
                client.setFrequency(n, 1, 20000u + std::uint32_t(c * 1000 + n));
                client.setLabel(n,
                                ("Mark c" + std::to_string(c) + " n" + std::to_string(n)).c_str());
            }
        }
        ASSERT_NE(fleet.save(db), 0);
    }

    // Exit code and output of the tool; its settings go to the temporary folder.
    std::pair<int, std::string> print(const std::string& arguments) {
        return run("XDG_CONFIG_HOME=" + dir.file("config") + " " TARN_CLI_PATH " print " +
                   arguments);
    }

    // The text of each page of a PDF (pdftotext ends every page with a form feed).
    std::vector<std::string> pages(const std::string& pdf) {
        std::string text = run("pdftotext -layout " + pdf + " -").second, page;
        std::vector<std::string> result;
        for (char c : text) {
            if (c == '\f') result.push_back(std::exchange(page, ""));
            if (c != '\f') page += c;
        }
        return result;
    }

    TempDir dir;
    // A UTF-8 file name prints as the system names it, not as an 8-bit database text.
    const std::string db = dir.file("M\xc3\xbcller-fleet.tdb"), out = dir.file("out.pdf");
};

TEST_F(PrintCli, AllSheetsAndOneClient) {
    ASSERT_EQ(print("--all " + db + " " + out), std::make_pair(0, std::string()));
    std::vector<std::string> text = pages(out);
    ASSERT_GE(text.size(), 3u);
    for (const std::string& part : {std::string("Tarn database"), std::string("Dealer:"), db,
                                    std::string("Date:"), std::string("Port Lincoln")})
        EXPECT_NE(text[0].find(part), std::string::npos) << part;
    std::string all;
    for (const std::string& page : text) all += page;
    EXPECT_EQ(occurrences(all, "Filename:"), 1);  // the heading on the first page only
    EXPECT_EQ(occurrences(all, "Client name:"), 6);
    EXPECT_EQ(occurrences(all, "Rx Freq"), 6);
    EXPECT_EQ(occurrences(all, "Caf\xc3\xa9 Queen"), 1);  // Windows-1252 text
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(occurrences(all, "Mark c" + std::to_string(c) + " n"), 40);
    EXPECT_EQ(occurrences(all, "2504.0"), 2);  // client 5, channel 40, RX and TX

    ASSERT_EQ(print("--client 2 --force " + db + " " + out).first, 0);
    text = pages(out);
    EXPECT_EQ(occurrences(text[0], "Client name:"), 1);
    EXPECT_EQ(occurrences(text[0], "Mark c2 n"), 40);
}

TEST_F(PrintCli, FailuresAndUsageErrorsWriteNothing) {
    EXPECT_EQ(print("--client 6 " + db + " " + out),
              std::make_pair(1, std::string("Nothing to print.\n")));
    EXPECT_EQ(print("--all " + db + " " + dir.file("no/folder.pdf")),
              std::make_pair(1, std::string("Printer document error.\n")));
    EXPECT_EQ(print("--all " + dir.file("none.tdb") + " " + out).first, 1);
    for (const std::string& arguments : {db + " " + out, "--all --summary " + db + " " + out,
                                         "--client one " + db + " " + out, "--all " + db}) {
        const auto [code, output] = print(arguments);
        EXPECT_EQ(code, 2) << arguments;
        EXPECT_EQ(output.rfind("usage: tarn-cli print", 0), 0u) << output;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace tarn::test
