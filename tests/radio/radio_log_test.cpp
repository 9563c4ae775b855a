// The transcript of radio exchanges (fake radio, virtual clock) and the one-line reports.
#include <gtest/gtest.h>

#include "radio/radio_harness.h"
#include "radio/radio_log.h"
#include "radio/radio_outcome.h"
#include "radio/radio_texts.h"

namespace tarn::test {
namespace {

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

// GCC 12 at -O3 warns falsely that the sets inside the table's faults may be uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
TEST(RadioLog, TheResultIsTheMessageShownAndOnlyTheLastTenExchangesAreKept) {
    const std::string both =
        radio_text::kInvalidData + std::string(" ") + radio_text::kVerifyFailed;
    const struct {
        RadioFaults radio;
        FakePortFaults port;
        bool write;
        std::string result;
    } cases[] = {
        {{}, {.missing = true}, false, radio_text::kOpenFailed},
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
    const std::string failed = "Read failed: the radio";
    const std::pair<F, std::string> reads[] = {
        {F::Cancelled, "Read cancelled"},
        {F::PortNotOpened, "Read failed: the serial port could not be opened"},
        {F::NoContact, failed + " did not answer"},
        {F::InvalidData, failed + " sent invalid data"},
        {F::NoData, failed + " sent no data"},
        {F::NotADump, failed + "'s reply held no memory dump"},
        {F::Incomplete, failed + "'s memory dump was incomplete"},
        {F::None, "Read the radio into 'Coral Charters' (2048 bytes) at 10:32"},
    };
    for (const auto& [failure, text] : reads)
        EXPECT_EQ(
            readReport({.failure = failure, .differing = {}}, "Coral Charters", 2048, 0, "10:32"),
            text);
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
