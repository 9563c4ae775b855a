// Reading and programming a radio on the fake line: the steps, the records and their spacing,
// the progress, the read-back, every way out, the transcript and the one-line reports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "radio/hex_record.h"
#include "radio/radio_harness.h"
#include "radio/radio_log.h"
#include "radio/radio_outcome.h"
#include "radio/radio_texts.h"

// GCC 12 at -O3 warns falsely that the sets inside tables of faults may be uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

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
}

TEST(RadioLink, FailuresBeforeTheTransferAreToldSendNothingAndLeaveNothingOpen) {
    // Under the fixed text, why the port did not open.
    const char* const kNoPort =
        "message error: Failed to open the serial port.\nThere is no such device.";
    const char* const kNotSerial =
        "message error: Failed to open the serial port.\nThe device is not a serial port.";
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
        {"settings", {}, {.lineSettingsFail = true}, RadioFailure::PortNotOpened, kNotSerial, 0},
        {"time-outs", {}, {.timeoutsFail = true}, RadioFailure::PortNotOpened, kNotSerial, 0},
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

TEST(WriteRadio, TheLoadItsRecordsWaitsAndProgressSurviveATickWrap) {
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
        EXPECT_EQ(w[0].bytes + w[1].bytes, "\rL 0000");
        for (int k = 0; k < 128; ++k)
            EXPECT_EQ(w[2 + k].bytes,
                      hexDataRecord(std::uint16_t(0x1800 + 16 * k), &run.image[16 * k]));
        EXPECT_EQ(w[2].atUs, endUs(w[1]) + 500'000) << "500 ms after L 0000, first record at once";
        for (int k = 3; k <= 130; ++k)
            EXPECT_EQ(w[k].atUs, endUs(w[k - 1]) + 40'000)
                << "record " << k - 2 << ", " << startTick;
        EXPECT_TRUE(w[131].bytes == "E" && w[131].atUs == endUs(w[130]) + 500'000);
        EXPECT_EQ(ev[ev.size() - 3].atUs, endUs(w[131]) + 10'000) << "10 ms after E";
    }
}

TEST(WriteRadio, AFailedVerificationIsWarnedWhileTheOwnerIsDisabledButTheWriteRan) {
    using V = SerialLink::Verification;
    const struct {
        RadioFaults faults;
        V result;
        std::vector<std::string> messages;
    } cases[] = {
        {{.corruptAddress = 0x1A05}, V::Differs, {kPrompt, kVerifyFailed}},
        {{.silentDump = true}, V::ReadFailed, {kPrompt, kVerifyFailed}},
        // A failed read-back is told as its own failure first.
        {{.cutShortAt = 6000}, V::ReadFailed, {kPrompt, kInvalid, kVerifyFailed}},
    };
    for (const auto& c : cases) {
        WriteRun run(c.faults);
        EXPECT_TRUE(run.write(true));
        EXPECT_EQ(run.fake.link->lastVerification(), c.result);
        EXPECT_EQ(run.ui.entries("message "), c.messages);
        EXPECT_THAT(std::vector(run.ui.log.end() - 3, run.ui.log.end()),
                    ElementsAre(kVerifyFailed, "enable owner", "focus owner"));
        EXPECT_EQ(run.ui.entries("disable").size(), 1u) << "the read-back leaves the owner alone";
        EXPECT_THAT(run.ui.entries("caption"),
                    ElementsAre("caption Programming radio", "caption Verifying radio"));
        EXPECT_FALSE(run.fake.device->isOpen());
    }
}

TEST(RadioLog, RecordsAReadAndAVerifiedWriteOnTheLinksClockAndChangesNothingOnTheLine) {
    RadioRun plain, run;
    RadioLog log;
    run.fake.link->setLog(&log);
    for (RadioRun* r : {&plain, &run}) EXPECT_TRUE(r->read() && r->write(true));
    EXPECT_TRUE(run.writes() == plain.writes() &&
                run.fake.clock->nowUs() == plain.fake.clock->nowUs())
        << "recording moves no byte and no time";
    ASSERT_EQ(log.exchanges().size(), 2u);
    // The read polls every 500 ms until two come back empty; the read-back belongs to the write.
    const std::string text = log.toText();
    for (const char* part :
         {"Read, started ", "\n       0 ms  opened COM1\n       2 ms  sent \"\\r\" (1 byte)\n",
          "\n     302 ms  reply 4 bytes  \"\\r\\n# \"  0D 0A 23 20\n",
          "\n     324 ms  sent \"D 1800 0800\" (11 bytes)\n     824 ms  reply 240 bytes  "
          "\"D 1800 0800\\r\\n180\"  44 20 31 38 30 30 20 30 38 30 30 0D 0A 31 38 30\n",
          "  reply 0 bytes\n   21024 ms  reply 0 bytes\n   21027 ms  sent \"E\" (1 byte)\n"
          "Result: Success\n\nWrite, started ",
          "\n     314 ms  sent \"L 0000\" (6 bytes)\n     908 ms  sent 128 HEX records, the first "
          "\":10180000030A11181F262D343B424950575E656C60\\r\\n\", the last at 17892 ms (5760 "
          "bytes)\n   17959 ms  sent \":00000001FF\\r\\n\" (13 bytes)\n   18459 ms  opened COM1\n",
          "   39486 ms  sent \"E\" (1 byte)\nResult: Success\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
}

TEST(RadioLog, TheResultIsTheMessageShownAndOnlyTheLastTenExchangesAreKept) {
    const std::string both =
        radio_text::kInvalidData + std::string(" ") + radio_text::kVerifyFailed;
    const std::string noDevice =
        radio_text::kOpenFailed + std::string("\n") + probe_text::kNoSuchDevice;
    const struct {
        RadioFaults radio;
        FakePortFaults port;
        bool write;
        std::string result;
    } cases[] = {
        {{}, {.missing = true}, false, noDevice},
        {{.noPrompt = true}, {}, false, radio_text::kContactFailed},
        {{.silentDump = true}, {}, false, radio_log_text::kFailedSilently},
        {{.corruptAddress = 0x1A00}, {}, true, radio_text::kVerifyFailed},
        {{.cutShortAt = 3000}, {}, true, both},  // every message the write showed
    };
    RadioLog log;
    for (int i = 0; i < 11; ++i) {
        const auto& c = cases[i % 5];
        RadioRun run(c.radio, c.port);
        run.fake.link->setLog(&log);
        c.write ? run.write(true) : run.read();
        EXPECT_EQ(log.exchanges().back().result, c.result) << i;
    }
    ASSERT_EQ(log.exchanges().size(), RadioLog::kExchangesKept);
    EXPECT_EQ(log.exchanges().front().result, radio_text::kContactFailed) << "the second one";
    const auto entries = log.exchanges().back().entries.size();
    log.sent("\r", 1, 0);  // between exchanges, and before the first, calls are ignored
    EXPECT_EQ(log.exchanges().back().entries.size(), entries);
    EXPECT_FALSE(log.running() || RadioLog().running());
}

// The Read and Write commands' one-line reports.
TEST(RadioOutcome, Reports) {
    using F = RadioFailure;
    const char* const reads[] = {
        // by failure, from None to Incomplete
        "Read the radio into 'Coral Charters' (2048 bytes) at 10:32",
        "Read cancelled",
        "Read failed: the serial port could not be opened",
        "Read failed: the radio did not answer",
        "Read failed: the radio sent invalid data",
        "Read failed: the radio sent no data",
        "Read failed: the radio's reply held no memory dump",
        "Read failed: the radio's memory dump was incomplete",
    };
    for (int f = 0; f < 8; ++f)
        EXPECT_EQ(
            readReport({.failure = F(f), .differing = {}}, "Coral Charters", 2048, 0, "10:32"),
            reads[f]);
    EXPECT_EQ(readReport({}, "B", 2048, 1, "9:05"),
              "Read the radio into 'B' (2048 bytes, 1 channel repaired) at 9:05");

    using V = RadioOutcome::Verify;
    std::vector<int> eleven;
    for (int n = 1; n <= 11; ++n) eleven.push_back(8 * n + 3);
    const std::pair<RadioOutcome, const char*> writes[] = {
        {{.verified = V::Passed, .differing = {}},
         "Programmed and verified 'Coral Charters' at 10:35"},
        {{.verified = V::Differs, .differing = {79, 32, 33}},
         "Verify failed: 3 bytes differ (channels 4, 9)"},
        {{.verified = V::Differs, .differing = {2, 8}},
         "Verify failed: 2 bytes differ (header, channel 1)"},
        {{.verified = V::Differs, .differing = {7}}, "Verify failed: 1 byte differs (header)"},
        {{.verified = V::Differs, .differing = eleven},
         "Verify failed: 11 bytes differ (channels 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...)"},
        {{.failure = F::NoData, .verified = V::ReadFailed, .differing = {}},
         "Verify failed: the radio sent no data"},
        {{.failure = F::NoContact, .differing = {}}, "Write failed: the radio did not answer"},
        {{.failure = F::Cancelled, .differing = {}}, "Write cancelled"},
    };
    for (const auto& [outcome, text] : writes)
        EXPECT_EQ(writeReport(outcome, "Coral Charters", "10:35"), text);
}

}  // namespace
}  // namespace tarn::test
