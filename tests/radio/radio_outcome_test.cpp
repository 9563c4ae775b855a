// The one-line reports of the radio commands, and offsets named as channels.
#include <gtest/gtest.h>

#include "radio/radio_outcome.h"

namespace tarn {
namespace {

using Verify = RadioOutcome::Verify;

RadioOutcome outcome(RadioFailure failure, Verify verified = Verify::NotRun,
                     std::vector<int> differing = {}) {
    RadioOutcome o;
    o.failure = failure;
    o.verified = verified;
    o.differing = std::move(differing);
    return o;
}

TEST(RadioOutcomeTest, ReadReports) {
    struct Case {
        RadioFailure failure;
        int repaired;
        const char* text;
    } cases[] = {
        {RadioFailure::None, 0, "Read the radio into 'Coral Charters' (2048 bytes) at 10:32"},
        {RadioFailure::None, 1,
         "Read the radio into 'Coral Charters' (2048 bytes, 1 channel repaired) at 10:32"},
        {RadioFailure::Cancelled, 0, "Read cancelled"},
        {RadioFailure::PortNotOpened, 0, "Read failed: the serial port could not be opened"},
        {RadioFailure::NoContact, 0, "Read failed: the radio did not answer"},
        {RadioFailure::InvalidData, 0, "Read failed: the radio sent invalid data"},
        {RadioFailure::NoData, 0, "Read failed: the radio sent no data"},
        {RadioFailure::NotADump, 0, "Read failed: the radio's reply held no memory dump"},
        {RadioFailure::Incomplete, 0, "Read failed: the radio's memory dump was incomplete"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readReport(outcome(c.failure), "Coral Charters", 2048, c.repaired, "10:32"),
                  c.text);
}

TEST(RadioOutcomeTest, WriteReports) {
    std::vector<int> eleven;
    for (int n = 1; n <= 11; ++n) eleven.push_back(8 * n + 3);
    struct Case {
        RadioOutcome outcome;
        const char* text;
    } cases[] = {
        {outcome(RadioFailure::None, Verify::Passed),
         "Programmed and verified 'Coral Charters' at 10:35"},
        {outcome(RadioFailure::None, Verify::Differs, {32, 33, 79}),
         "Verify failed: 3 bytes differ (channels 4, 9)"},
        {outcome(RadioFailure::None, Verify::Differs, {2, 8}),
         "Verify failed: 2 bytes differ (header, channel 1)"},
        {outcome(RadioFailure::None, Verify::Differs, {7}),
         "Verify failed: 1 byte differs (header)"},
        {outcome(RadioFailure::None, Verify::Differs, eleven),
         "Verify failed: 11 bytes differ (channels 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...)"},
        {outcome(RadioFailure::NoData, Verify::ReadFailed),
         "Verify failed: the radio sent no data"},
        {outcome(RadioFailure::NoContact), "Write failed: the radio did not answer"},
        {outcome(RadioFailure::Cancelled), "Write cancelled"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writeReport(c.outcome, "Coral Charters", "10:35"), c.text);
}

}  // namespace
}  // namespace tarn
