// Reading and programming a radio on the fake line: the steps, the records and their spacing,
// the progress, the read-back and every way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "radio/hex_record.h"
#include "radio/radio_harness.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kPrompt = kConnectPromptEntry;
constexpr const char* kInvalid = "message error: Received invalid data from the radio.";
constexpr const char* kVerifyFailed =
    "message warning: Verify failed!\nThe data was not successfully written to the client.";

// The log of a read or write that got past the prompt: the window came and went.
std::vector<std::string> windowCycle(const char* caption, const char* last = nullptr) {
    std::vector<std::string> log = {kPrompt,         "dialog Progress owned", caption,
                                    "disable owner", "dialog closed",         "enable owner",
                                    "focus owner"};
    if (last) log.push_back(last);
    return log;
}

std::uint64_t endUs(const FakeRadioDevice::Event& e) {
    return e.atUs + e.bytes.size() * FakeRadioDevice::kByteUs;
}

TEST(ReadRadio, AGoodRadioFillsTheImageWithTheStepsPollsAndBarInOrder) {
    RadioRun run;
    ASSERT_TRUE(run.read());
    EXPECT_EQ(run.image, patternMemory());
    EXPECT_THAT(run.writes(), ElementsAre("\r", "D 1800 0800", "E"));
    EXPECT_EQ(run.ui.log, windowCycle("caption Reading radio"));
    EXPECT_FALSE(run.fake.device->isOpen());

    // One update per poll, one before and one after.
    const auto& u = run.ui.updates;
    ASSERT_EQ(u.size(), 43u);
    EXPECT_TRUE(u.front().position == 0 && u.front().text == "Requesting data from radio...");
    EXPECT_EQ(u[u.size() - 2].text, "Received 9231 bytes");
    EXPECT_TRUE(u.back().position == 100 && u.back().text == "Processing data...");
    const auto& ev = run.fake.device->events();  // "E", then 10 ms before the port closes
    EXPECT_EQ(ev[ev.size() - 3].atUs, endUs(run.fake.device->writes().back()) + 10'000);

    RadioRun verifying;  // a read-back asks nothing and leaves the owner alone
    ASSERT_TRUE(verifying.read(true));
    EXPECT_EQ(verifying.image, patternMemory());
    EXPECT_THAT(verifying.ui.log,
                ElementsAre("dialog Progress owned", "caption Verifying radio", "dialog closed"));
}

TEST(RadioLink, FailuresBeforeTheTransferAreToldSendNothingAndLeaveNothingOpen) {
    const char* const kNoPort = "message error: Failed to open the serial port.";
    const char* const kNoContact = "message error: Failed to contact the radio.";
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        RadioFailure failure;
        const char* message;  // after the prompt, if any
        std::size_t writes;
    } cases[] = {
        {"cancel at the prompt", {}, {}, RadioFailure::Cancelled, nullptr, 0},
        {"no port", {}, {.missing = true}, RadioFailure::PortNotOpened, kNoPort, 0},
        {"line settings", {}, {.lineSettingsFail = true}, RadioFailure::PortNotOpened, kNoPort, 0},
        {"time-outs", {}, {.timeoutsFail = true}, RadioFailure::PortNotOpened, kNoPort, 0},
        {"no prompt", {.noPrompt = true}, {}, RadioFailure::NoContact, kNoContact, 3},
    };
    for (const bool writing : {false, true}) {
        for (const auto& c : cases) {
            const std::string name = std::string(c.name) + (writing ? " (write)" : " (read)");
            RadioRun run(c.radio, c.port);
            const bool cancel = c.failure == RadioFailure::Cancelled;
            if (cancel) run.ui.answers = {MessageAnswer::Cancel};
            EXPECT_FALSE(writing ? run.write(true) : run.read()) << name;
            std::vector<std::string> log = {kPrompt};
            if (c.message) log.push_back(c.message);
            EXPECT_EQ(run.ui.log, log) << name;
            EXPECT_EQ(run.fake.link->outcome().failure, c.failure) << name;
            EXPECT_TRUE(!cancel || run.fake.device->events().empty()) << name;
            EXPECT_EQ(run.writes().size(), c.writes) << name;
            EXPECT_FALSE(run.fake.device->isOpen() || run.fake.link->isOpen()) << name;
            EXPECT_TRUE(run.image[0] == 0x5A && run.fake.radio->memory() == patternMemory())
                << name;
        }
    }
}

TEST(ReadRadio, ExactlyTheLargestReplyIsAcceptedAndOneByteMoreOrAMinuteIsRefused) {
    RadioRun largest({.padTo = 10219});
    EXPECT_TRUE(largest.read());
    EXPECT_EQ(largest.image, patternMemory());

    // A byte every 0.4 s keeps every poll busy: only the minute's limit ends the read.
    for (const RadioFaults& faults : {RadioFaults{.padTo = 10220}, RadioFaults{.trickleMs = 400}}) {
        RadioRun over(faults);
        EXPECT_FALSE(over.read());
        EXPECT_THAT(over.writes(), ElementsAre("\r", "D 1800 0800"));
        EXPECT_EQ(over.ui.log, windowCycle("caption Reading radio", kInvalid));
        EXPECT_FALSE(over.fake.device->isOpen());
        EXPECT_EQ(over.ui.updates.size(), faults.trickleMs ? 120u : 43u);
    }
}

// A write of a varied image to a radio whose memory is all zeros.
struct WriteRun : RadioRun {
    explicit WriteRun(RadioFaults faults = {}, std::uint32_t startTick = 0)
        : RadioRun(std::move(faults), {}, startTick) {
        for (std::size_t n = 0; n < image.size(); ++n)
            image[n] = static_cast<std::uint8_t>(255 - n % 251);
        fake.radio->memory().fill(0);
    }
};

TEST(WriteRadio, SendsTheLoadCommand128RecordsAndTheEndOfFileThenVerifies) {
    WriteRun run;
    ASSERT_TRUE(run.write(true));
    const auto w = run.writes();
    ASSERT_EQ(w.size(), 1 + 1 + 128 + 1 + 3u);
    EXPECT_EQ(w[0] + w[1], "\rL 0000");
    for (int k = 0; k < 128; ++k)
        EXPECT_EQ(w[2 + k],
                  hexDataRecord(static_cast<std::uint16_t>(0x1800 + 16 * k), &run.image[16 * k]));
    EXPECT_THAT(std::vector(w.begin() + 130, w.end()),
                ElementsAre(":00000001FF\r\n", "\r", "D 1800 0800", "E"));
}

TEST(WriteRadio, ProgressAndTheWaitsOfTheLoadSurviveATickWrap) {
    for (const std::uint32_t startTick : {0u, 0xFFFFFF00u}) {
        WriteRun run({}, startTick);
        ASSERT_TRUE(run.write(false));
        const auto& u = run.ui.updates;
        ASSERT_EQ(u.size(), 128u);
        EXPECT_EQ(u[2].position, 1);
        EXPECT_TRUE(u.back().position == 99 && u.back().text == "Sent 5760 bytes");
        EXPECT_EQ(run.ui.log, windowCycle("caption Programming radio"));

        const auto w = run.fake.device->writes();
        const auto& ev = run.fake.device->events();
        EXPECT_EQ(w[2].atUs, endUs(w[1]) + 500'000) << "500 ms after L 0000, first record at once";
        for (int k = 3; k <= 130; ++k)
            EXPECT_EQ(w[k].atUs, endUs(w[k - 1]) + 40'000)
                << "record " << k - 2 << ", " << startTick;
        EXPECT_EQ(w[131].atUs, endUs(w[130]) + 500'000) << "E";
        EXPECT_EQ(ev[ev.size() - 3].atUs, endUs(w[131]) + 10'000) << "10 ms after E";
    }
}

TEST(WriteRadio, OnlyWholeBlocksAreSent) {
    for (const auto& [length, records] : {std::pair{2047, 127}, {16, 1}, {15, 0}, {0, 0}}) {
        WriteRun run;
        ASSERT_TRUE(run.write(false, length)) << length;
        const auto w = run.writes();  // CR, "L 0000", the records, end of file, "E"
        ASSERT_EQ(w.size(), records + 4u) << length;
        EXPECT_EQ(w[w.size() - 2], ":00000001FF\r\n") << length;
    }
}

TEST(WriteRadio, AFailedVerificationIsWarnedWhileTheOwnerIsDisabledButTheWriteRan) {
    using V = SerialLink::Verification;
    struct Case {
        RadioFaults faults;
        V result;
        std::vector<std::string> messages;
    };
    // Built one by one: GCC's optimiser misreads an aggregate array of sets as uninitialised.
    std::vector<Case> cases;
    cases.push_back({RadioFaults{.corruptAddress = 0x1A05}, V::Differs, {kPrompt, kVerifyFailed}});
    cases.push_back({RadioFaults{.silentDump = true}, V::ReadFailed, {kPrompt, kVerifyFailed}});
    // A failed read-back is told as its own failure first.
    cases.push_back(
        {RadioFaults{.cutShortAt = 6000}, V::ReadFailed, {kPrompt, kInvalid, kVerifyFailed}});
    for (const auto& c : cases) {
        WriteRun run(c.faults);
        EXPECT_TRUE(run.write(true));
        EXPECT_EQ(run.fake.link->lastVerification(), c.result);
        EXPECT_EQ(run.ui.entries("message "), c.messages);
        EXPECT_THAT(std::vector(run.ui.log.end() - 3, run.ui.log.end()),
                    ElementsAre(kVerifyFailed, "enable owner", "focus owner"));
        EXPECT_EQ(run.ui.entries("disable").size(), 1u);
        EXPECT_FALSE(run.fake.device->isOpen());
    }
}

}  // namespace
}  // namespace tarn::test
