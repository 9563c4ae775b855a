// Reading a radio: the prompt, the dump request, the receive loop and every way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "radio/radio_harness.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;
using Image = std::array<std::uint8_t, 2048>;

constexpr const char* kPrompt = kConnectPromptEntry;

struct ReadRun {
    explicit ReadRun(RadioFaults faults = {}, FakePortFaults port = {}) : fake(faults, port) {
        image.fill(0x5A);
    }
    bool read(bool verifying = false) {
        return fake.link->readRadio(RadioUiLog::kOwner, image.data(), 2048, verifying);
    }
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const auto& e : fake.device->writes()) out.push_back(e.bytes);
        return out;
    }
    RadioUiLog ui;
    FakeRadio fake;
    Image image;
};

TEST(ReadRadio, AGoodRadioFillsTheImageAndEveryStepComesInOrder) {
    ReadRun run;
    ASSERT_TRUE(run.read());
    EXPECT_EQ(run.image, patternMemory());
    EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
    EXPECT_THAT(run.ui.log,
                ElementsAre(kPrompt, "dialog Progress owned", "caption Reading radio",
                            "disable owner", "dialog closed", "enable owner", "focus owner"));
    EXPECT_FALSE(run.fake.device->isOpen());
    const auto& u = run.ui.updates;
    ASSERT_GE(u.size(), 3u);
    EXPECT_EQ(u.front().position, 0);
    EXPECT_EQ(u.front().text, "Requesting data from radio...");
    EXPECT_EQ(u.back().position, 100);
    EXPECT_EQ(u.back().text, "Processing data...");
    // The simulated radio sends 9231 bytes: the bar ends at 9231 * 100 / 9232.
    const auto& last = u[u.size() - 2];
    EXPECT_EQ(last.text, "Received 9231 bytes");
    EXPECT_EQ(last.position, 99);
}

TEST(ReadRadio, PollsEvery500msAndStopsAfterTwoQuietPollsOnceDataCame) {
    ReadRun run;
    ASSERT_TRUE(run.read());
    const auto& events = run.fake.device->events();
    std::vector<const FakeRadioDevice::Event*> reads;
    std::uint64_t requestEnd = 0;
    for (const auto& e : events) {
        if (e.what == "read") reads.push_back(&e);
        if (e.what == "write" && e.bytes == "D 1800 0800")
            requestEnd = e.atUs + 11 * FakeRadioDevice::kByteUs;
    }
    reads.erase(reads.begin());  // the probe's read
    ASSERT_GE(reads.size(), 3u);
    // The reply takes about 19.2 s at 4800 baud: 39 polls bring data, two bring none.
    EXPECT_EQ(reads.size(), 41u);
    EXPECT_EQ(reads[0]->atUs, requestEnd + 500'000);
    EXPECT_FALSE(reads[reads.size() - 3]->bytes.empty());
    EXPECT_TRUE(reads[reads.size() - 2]->bytes.empty());
    EXPECT_TRUE(reads.back()->bytes.empty());
    // The bar follows the total over the 9232 bytes a radio is expected to send.
    int total = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        total += static_cast<int>(reads[i]->bytes.size());
        EXPECT_EQ(run.ui.updates[i + 1].position, total * 100 / 9232);
        EXPECT_EQ(run.ui.updates[i + 1].text, "Received " + std::to_string(total) + " bytes");
    }
    // "E", then 10 ms before the port closes.
    const auto e =
        std::find_if(events.begin(), events.end(), [](const auto& ev) { return ev.bytes == "E"; });
    ASSERT_NE(e, events.end());
    const auto close =
        std::find_if(e, events.end(), [](const auto& ev) { return ev.what == "close"; });
    EXPECT_EQ(close->atUs - e->atUs, FakeRadioDevice::kByteUs + 10'000);
}

TEST(ReadRadio, ASilentDumpGivesThreeQuietPollsThenEndsWithoutAMessage) {
    ReadRun run({.silentDump = true});
    EXPECT_FALSE(run.read());
    EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
    int reads = 0;
    for (const auto& e : run.fake.device->events()) reads += e.what == "read";
    EXPECT_EQ(reads, 1 + 3);
    EXPECT_THAT(run.ui.messages(), ElementsAre(kPrompt));
    EXPECT_EQ(run.image[0], 0x5A) << "the caller's buffer is untouched";
    EXPECT_EQ(run.ui.log.back(), "focus owner");
}

TEST(ReadRadio, CancelAtThePromptOpensNoPort) {
    ReadRun run;
    run.ui.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(run.read());
    EXPECT_TRUE(run.fake.device->events().empty());
    EXPECT_THAT(run.ui.log, ElementsAre(kPrompt));
}

TEST(ReadRadio, FailuresBeforeTheTransferAreToldAndLeaveNothingOpen) {
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        const char* message;
    } cases[] = {
        {"no port", {}, {.missing = true}, "message error: Failed to open the serial port."},
        {"port refuses settings",
         {},
         {.timeoutsFail = true},
         "message error: Failed to open the serial port."},
        {"no prompt", {.noPrompt = true}, {}, "message error: Failed to contact the radio."},
    };
    for (const auto& c : cases) {
        ReadRun run(c.radio, c.port);
        EXPECT_FALSE(run.read()) << c.name;
        EXPECT_THAT(run.ui.log, ElementsAre(kPrompt, c.message)) << c.name;
        EXPECT_FALSE(run.fake.device->isOpen()) << c.name;
        EXPECT_FALSE(run.fake.link->isOpen()) << c.name;
        EXPECT_EQ(run.image[0], 0x5A) << c.name;
    }
}

TEST(ReadRadio, ExactlyTheLargestReplyIsAcceptedAndOneByteMoreIsRefused) {
    ReadRun largest({.padTo = 10219});
    EXPECT_TRUE(largest.read());
    EXPECT_EQ(largest.image, patternMemory());

    ReadRun over({.padTo = 10220});
    EXPECT_FALSE(over.read());
    EXPECT_EQ(over.image[0], 0x5A);
    // No "E" after an overflow; the window comes back before the message.
    EXPECT_THAT(over.writes(), ElementsAre("\r", "D 1800 0800"));
    EXPECT_THAT(over.ui.log,
                ElementsAre(kPrompt, "dialog Progress owned", "caption Reading radio",
                            "disable owner", "dialog closed", "enable owner", "focus owner",
                            "message error: Received invalid data from the radio."));
    EXPECT_FALSE(over.fake.device->isOpen());
}

TEST(ReadRadio, AReplyThatDoesNotCoverTheImageIsRefusedAndTold) {
    const struct {
        const char* name;
        RadioFaults faults;
    } cases[] = {
        {"cut short", {.cutShortAt = 4000}},
        {"a line missing", {.droppedLines = {0x1A30}}},
        {"hang-up mid-reply", {.hangUpAt = 5000}},
    };
    for (const auto& c : cases) {
        ReadRun run(c.faults);
        EXPECT_FALSE(run.read()) << c.name;
        EXPECT_EQ(run.image[100], 0x5A) << c.name << ": no zeros handed over";
        EXPECT_EQ(run.ui.log.back(), "message error: Received invalid data from the radio.")
            << c.name;
        EXPECT_EQ(run.ui.entries("enable owner").size(), 1u) << c.name;
    }
}

TEST(ReadRadio, AReplyTooShortToBeADumpEndsQuietly) {
    ReadRun run({.cutShortAt = 71});
    EXPECT_FALSE(run.read());
    EXPECT_THAT(run.ui.messages(), ElementsAre(kPrompt));
    EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
}

TEST(ReadRadio, VerifyingAsksNothingAndLeavesTheOwnerAlone) {
    ReadRun run;
    ASSERT_TRUE(run.read(true));
    EXPECT_EQ(run.image, patternMemory());
    EXPECT_THAT(run.ui.log,
                ElementsAre("dialog Progress owned", "caption Verifying radio", "dialog closed"));
}

TEST(ReadRadio, TheRadiosOwnQuirksAreReadThrough) {
    ReadRun run({.lowerCase = true, .shuffled = true, .noise = true});
    ASSERT_TRUE(run.read());
    EXPECT_EQ(run.image, patternMemory());
}

}  // namespace
}  // namespace tarn::test
