// Programming a radio: the records, their spacing, the progress and the read-back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "radio/hex_record.h"
#include "radio/radio_harness.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kPrompt = kConnectPromptEntry;
constexpr const char* kVerifyFailed =
    "message warning: Verify failed!\nThe data was not successfully written to the client.";

unsigned hexByte(const std::string& s, std::size_t at) {
    return static_cast<unsigned>(std::stoul(s.substr(at, 2), nullptr, 16));
}

struct WriteRun {
    explicit WriteRun(RadioFaults faults = {}, FakePortFaults port = {},
                      std::uint32_t startTick = 0)
        : fake(faults, port, true, startTick) {
        for (std::size_t n = 0; n < image.size(); ++n)
            image[n] = static_cast<std::uint8_t>(255 - n % 251);
        fake.radio->memory().fill(0);
    }
    bool write(bool verify, int length = 2048) {
        return fake.link->writeRadio(RadioUiLog::kOwner, image.data(), length, verify);
    }
    std::vector<FakeRadioDevice::Event> records() const {  // the data records only
        std::vector<FakeRadioDevice::Event> out;
        for (const auto& e : fake.device->writes())
            if (e.bytes.size() == 45) out.push_back(e);
        return out;
    }
    RadioUiLog ui;
    FakeRadio fake;
    std::array<std::uint8_t, 2048> image{};
};

TEST(HexRecord, BlockOfZerosAndTheChecksumOfEveryRecord) {
    const std::uint8_t zeros[16] = {};
    EXPECT_EQ(hexDataRecord(0x1800, zeros), ":10180000" + std::string(32, '0') + "D8\r\n");
    std::uint8_t bytes[16];
    std::iota(bytes, bytes + 16, std::uint8_t{0xF0});
    const std::string record = hexDataRecord(0x1FF0, bytes);
    EXPECT_EQ(record, ":101FF000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF69\r\n");
    unsigned sum = 0;
    for (std::size_t i = 1; i + 2 < record.size(); i += 2) sum += hexByte(record, i);
    EXPECT_EQ(sum & 0xFF, 0u) << "all bytes with the checksum add up to zero";
}

TEST(WriteRadio, SendsTheLoadCommand128RecordsAndTheEndOfFileThenVerifies) {
    WriteRun run;
    ASSERT_TRUE(run.write(true));
    EXPECT_EQ(run.fake.radio->memory(), run.image);
    EXPECT_EQ(run.fake.radio->badRecords(), 0);
    EXPECT_EQ(run.fake.link->lastVerification(), SerialLink::Verification::Passed);

    const auto writes = run.fake.device->writes();
    ASSERT_EQ(writes.size(), 1 + 1 + 128 + 1 + 1 + 1 + 1u);
    EXPECT_EQ(writes[0].bytes, "\r");
    EXPECT_EQ(writes[1].bytes, "L 0000");
    for (int k = 0; k < 128; ++k) {
        const std::string& r = writes[2 + k].bytes;
        ASSERT_EQ(r.size(), 45u);
        EXPECT_EQ(r,
                  hexDataRecord(static_cast<std::uint16_t>(0x1800 + 16 * k), &run.image[16 * k]));
    }
    EXPECT_EQ(writes[130].bytes, ":00000001FF\r\n");
    // Verification: a fresh probe and dump, no second prompt to the user.
    EXPECT_EQ(writes[131].bytes, "\r");
    EXPECT_EQ(writes[132].bytes, "D 1800 0800");
    EXPECT_EQ(writes[133].bytes, "E");
    EXPECT_THAT(run.ui.messages(), ElementsAre(kPrompt));
}

TEST(WriteRadio, ProgressShowsSentBytesAndTheShareSentBeforeEachRecord) {
    WriteRun run;
    ASSERT_TRUE(run.write(false));
    ASSERT_EQ(run.ui.updates.size(), 128u);
    for (int k = 0; k < 128; ++k) {
        EXPECT_EQ(run.ui.updates[k].position, 1600 * k / 2048);
        EXPECT_EQ(run.ui.updates[k].text, "Sent " + std::to_string(45 * (k + 1)) + " bytes");
    }
    EXPECT_EQ(run.ui.updates[0].position, 0);
    EXPECT_EQ(run.ui.updates[1].position, 0);
    EXPECT_EQ(run.ui.updates[2].position, 1);
    EXPECT_EQ(run.ui.updates.back().position, 99);
    EXPECT_EQ(run.ui.updates.back().text, "Sent 5760 bytes");
    EXPECT_THAT(run.ui.log,
                ElementsAre(kPrompt, "dialog Progress owned", "caption Programming radio",
                            "disable owner", "dialog closed", "enable owner", "focus owner"));
}

TEST(WriteRadio, WaitsOfTheLoadAreKeptAndSurviveATickWrap) {
    for (const std::uint32_t startTick : {0u, 0xFFFFFF00u}) {
        WriteRun run({}, {}, startTick);
        ASSERT_TRUE(run.write(false));
        const auto w = run.fake.device->writes();
        const auto& ev = run.fake.device->events();
        const std::uint64_t byte = FakeRadioDevice::kByteUs;
        auto end = [&](const FakeRadioDevice::Event& e) { return e.atUs + e.bytes.size() * byte; };
        EXPECT_EQ(w[2].atUs, end(w[1]) + 500'000) << "500 ms after L 0000, first record at once";
        for (int k = 3; k <= 130; ++k)
            EXPECT_EQ(w[k].atUs, end(w[k - 1]) + 40'000)
                << "record " << k - 2 << ", tick " << startTick;
        EXPECT_EQ(w[131].bytes, "E");
        EXPECT_EQ(w[131].atUs, end(w[130]) + 500'000);
        EXPECT_EQ(ev.back().what, "close");
        EXPECT_EQ(ev[ev.size() - 3].atUs, end(w[131]) + 10'000) << "10 ms after E";
    }
}

TEST(WriteRadio, OnlyWholeBlocksAreSent) {
    for (const auto& [length, records] : {std::pair{2047, 127u}, {16, 1u}, {15, 0u}, {0, 0u}}) {
        WriteRun run;
        ASSERT_TRUE(run.write(false, length)) << length;
        EXPECT_EQ(run.records().size(), records) << length;
        const auto w = run.fake.device->writes();
        EXPECT_EQ(w[w.size() - 2].bytes, ":00000001FF\r\n") << length;
    }
}

TEST(WriteRadio, ARadioThatStoresAByteWronglyFailsVerificationButTheWriteRan) {
    WriteRun run({.corruptAddress = 0x1A05});
    EXPECT_TRUE(run.write(true));
    EXPECT_EQ(run.fake.link->lastVerification(), SerialLink::Verification::Differs);
    EXPECT_THAT(run.ui.messages(), ElementsAre(kPrompt, kVerifyFailed));
    // The warning comes while the owner is still disabled; the owner comes back after.
    EXPECT_THAT(std::vector(run.ui.log.end() - 3, run.ui.log.end()),
                ElementsAre(kVerifyFailed, "enable owner", "focus owner"));
    EXPECT_EQ(run.ui.entries("disable").size(), 1u);
}

TEST(WriteRadio, AFailedReadBackIsToldAsItsOwnFailureAndThenAsAFailedVerification) {
    struct Case {
        const char* name;
        RadioFaults faults;
        std::vector<std::string> messages;
    };
    // Built one by one: GCC's optimiser misreads an aggregate array of sets as uninitialised.
    std::vector<Case> cases;
    cases.push_back(
        {"silent read-back", RadioFaults{.silentDump = true}, {kPrompt, kVerifyFailed}});
    cases.push_back(
        {"short read-back",
         RadioFaults{.cutShortAt = 6000},
         {kPrompt, "message error: Received invalid data from the radio.", kVerifyFailed}});
    for (const auto& c : cases) {
        WriteRun run(c.faults);
        EXPECT_TRUE(run.write(true)) << c.name;
        EXPECT_EQ(run.fake.link->lastVerification(), SerialLink::Verification::ReadFailed);
        EXPECT_EQ(run.ui.messages(), c.messages) << c.name;
        EXPECT_EQ(run.ui.log.back(), "focus owner") << c.name;
        EXPECT_FALSE(run.fake.device->isOpen()) << c.name;
    }
}

TEST(WriteRadio, FailuresBeforeTheTransferSendNothingAndAreTold) {
    {
        WriteRun run;
        run.ui.answers = {MessageAnswer::Cancel};
        EXPECT_FALSE(run.write(true));
        EXPECT_TRUE(run.fake.device->events().empty());
        EXPECT_THAT(run.ui.log, ElementsAre(kPrompt));
    }
    {
        WriteRun run({}, {.lineSettingsFail = true});
        EXPECT_FALSE(run.write(true));
        EXPECT_TRUE(run.fake.device->writes().empty());
        EXPECT_THAT(run.ui.log,
                    ElementsAre(kPrompt, "message error: Failed to open the serial port."));
    }
    {
        WriteRun run({.noPrompt = true});
        EXPECT_FALSE(run.write(true));
        EXPECT_EQ(run.fake.device->writes().size(), 3u) << "three carriage returns only";
        EXPECT_THAT(run.ui.log,
                    ElementsAre(kPrompt, "message error: Failed to contact the radio."));
        EXPECT_FALSE(run.fake.device->isOpen());
    }
}

}  // namespace
}  // namespace tarn::test
