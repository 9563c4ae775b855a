// Reading a radio: the prompt, the dump request, the receive loop and every way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "radio/radio_harness.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kPrompt = kConnectPromptEntry;
constexpr const char* kInvalid = "message error: Received invalid data from the radio.";

TEST(ReadRadio, AGoodRadioFillsTheImageWithTheStepsPollsAndBarInOrder) {
    RadioRun run;
    ASSERT_TRUE(run.read());
    EXPECT_EQ(run.image, patternMemory());
    EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
    EXPECT_THAT(run.ui.log,
                ElementsAre(kPrompt, "dialog Progress owned", "caption Reading radio",
                            "disable owner", "dialog closed", "enable owner", "focus owner"));
    EXPECT_FALSE(run.fake.device->isOpen());

    const auto& events = run.fake.device->events();
    std::vector<const FakeRadioDevice::Event*> reads;
    std::uint64_t requestEnd = 0;
    for (const auto& e : events) {
        if (e.what == "read") reads.push_back(&e);
        if (e.bytes == "D 1800 0800") requestEnd = e.atUs + 11 * FakeRadioDevice::kByteUs;
    }
    reads.erase(reads.begin());  // the probe's read
    // The reply takes about 19.2 s at 4800 baud: 39 polls 500 ms apart bring data, two none.
    ASSERT_EQ(reads.size(), 41u);
    EXPECT_EQ(reads[0]->atUs, requestEnd + 500'000);
    EXPECT_FALSE(reads[38]->bytes.empty());
    EXPECT_TRUE(reads[39]->bytes.empty() && reads[40]->bytes.empty());
    // The bar follows the total over the 9232 bytes a radio is expected to send; the
    // simulated radio sends 9231, so it ends at 99 before "Processing data..." at 100.
    const auto& u = run.ui.updates;
    ASSERT_EQ(u.size(), reads.size() + 2);
    EXPECT_EQ(u.front().position, 0);
    EXPECT_EQ(u.front().text, "Requesting data from radio...");
    int total = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        total += static_cast<int>(reads[i]->bytes.size());
        EXPECT_EQ(u[i + 1].position, total * 100 / 9232);
        EXPECT_EQ(u[i + 1].text, "Received " + std::to_string(total) + " bytes");
    }
    EXPECT_EQ(total, 9231);
    EXPECT_EQ(u[u.size() - 2].position, 99);
    EXPECT_EQ(u.back().position, 100);
    EXPECT_EQ(u.back().text, "Processing data...");
    // "E", then 10 ms before the port closes.
    const auto e =
        std::find_if(events.begin(), events.end(), [](auto& ev) { return ev.bytes == "E"; });
    const auto close = std::find_if(e, events.end(), [](auto& ev) { return ev.what == "close"; });
    ASSERT_NE(close, events.end());
    EXPECT_EQ(close->atUs - e->atUs, FakeRadioDevice::kByteUs + 10'000);
}

TEST(ReadRadio, ASilentOrTooShortReplyEndsWithoutAMessage) {
    // Silence: three quiet polls, then the end. 71 bytes cannot be a dump.
    for (const auto& [faults, reads] : {std::pair{RadioFaults{.silentDump = true}, 1 + 3},
                                        std::pair{RadioFaults{.cutShortAt = 71}, -1}}) {
        RadioRun run(faults);
        EXPECT_FALSE(run.read());
        EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
        EXPECT_THAT(run.ui.messages(), ElementsAre(kPrompt));
        EXPECT_EQ(run.image[0], 0x5A) << "the caller's buffer is untouched";
        EXPECT_EQ(run.ui.log.back(), "focus owner");
        if (reads < 0) continue;
        int count = 0;
        for (const auto& e : run.fake.device->events()) count += e.what == "read";
        EXPECT_EQ(count, reads);
    }
}

TEST(RadioLink, FailuresBeforeTheTransferAreToldSendNothingAndLeaveNothingOpen) {
    const char* const kNoPort = "message error: Failed to open the serial port.";
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        bool cancel;
        const char* message;  // after the prompt, if any
        std::size_t writes;
    } cases[] = {
        {"cancel at the prompt", {}, {}, true, nullptr, 0},
        {"no port", {}, {.missing = true}, false, kNoPort, 0},
        {"line settings refused", {}, {.lineSettingsFail = true}, false, kNoPort, 0},
        {"time-outs refused", {}, {.timeoutsFail = true}, false, kNoPort, 0},
        {"no prompt",
         {.noPrompt = true},
         {},
         false,
         "message error: Failed to contact the radio.",
         3},  // three carriage returns
    };
    for (const bool writing : {false, true}) {
        for (const auto& c : cases) {
            const std::string name = std::string(c.name) + (writing ? " (write)" : " (read)");
            RadioRun run(c.radio, c.port);
            if (c.cancel) run.ui.answers = {MessageAnswer::Cancel};
            EXPECT_FALSE(writing ? run.write(true) : run.read()) << name;
            std::vector<std::string> log = {kPrompt};
            if (c.message) log.push_back(c.message);
            EXPECT_EQ(run.ui.log, log) << name;
            EXPECT_TRUE(!c.cancel || run.fake.device->events().empty()) << name;
            EXPECT_EQ(run.writes().size(), c.writes) << name;
            EXPECT_FALSE(run.fake.device->isOpen() || run.fake.link->isOpen()) << name;
            EXPECT_EQ(run.image[0], 0x5A) << name;
            EXPECT_EQ(run.fake.radio->memory(), patternMemory()) << name;
        }
    }
}

TEST(ReadRadio, ExactlyTheLargestReplyIsAcceptedAndOneByteMoreIsRefused) {
    RadioRun largest({.padTo = 10219});
    EXPECT_TRUE(largest.read());
    EXPECT_EQ(largest.image, patternMemory());

    RadioRun over({.padTo = 10220});
    EXPECT_FALSE(over.read());
    EXPECT_EQ(over.image[0], 0x5A);
    // No "E" after an overflow; the window comes back before the message.
    EXPECT_THAT(over.writes(), ElementsAre("\r", "D 1800 0800"));
    EXPECT_THAT(over.ui.log, ElementsAre(kPrompt, "dialog Progress owned", "caption Reading radio",
                                         "disable owner", "dialog closed", "enable owner",
                                         "focus owner", kInvalid));
    EXPECT_FALSE(over.fake.device->isOpen());
}

TEST(ReadRadio, VerifyingAsksNothingAndLeavesTheOwnerAlone) {
    RadioRun run;
    ASSERT_TRUE(run.read(true));
    EXPECT_EQ(run.image, patternMemory());
    EXPECT_THAT(run.ui.log,
                ElementsAre("dialog Progress owned", "caption Verifying radio", "dialog closed"));
}

}  // namespace
}  // namespace tarn::test
