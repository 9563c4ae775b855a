// The same exchanges against the in-process fake radio and against tarn-radio-sim on a
// pseudo-terminal (real driver, real clock), so the two radios cannot drift apart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>

#include "radio/radio_harness.h"
#include "radio/sim_process.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;
using Image = std::array<std::uint8_t, 2048>;

constexpr const char* kPrompt = kConnectPromptEntry;

// The in-process radio on the virtual clock.
class FakeBackend {
  public:
    void start(const RadioFaults& faults, const Image& memory) {
        fake_.emplace(faults);
        fake_->radio->memory() = memory;
    }
    SerialLink& link() { return *fake_->link; }
    Image memory() { return fake_->radio->memory(); }

  private:
    std::optional<FakeRadio> fake_;
};

// tarn-radio-sim without pacing, reached through the platform driver.
class PtyBackend {
  public:
    void start(const RadioFaults& faults, const Image& memory) {
        writeFile(dir_.file("start.bin"), std::vector<std::uint8_t>(memory.begin(), memory.end()));
        std::vector<std::string> args = {"--no-pacing", "--memory", dir_.file("start.bin"),
                                         "--save", dir_.file("saved.bin")};
        auto number = [&](const char* option, int value) {
            if (value >= 0) args.insert(args.end(), {option, std::to_string(value)});
        };
        auto flag = [&](const char* option, bool on) {
            if (on) args.push_back(option);
        };
        flag("--no-prompt", faults.noPrompt);
        flag("--silent-dump", faults.silentDump);
        number("--cut-short", faults.cutShortAt);
        number("--hang-up", faults.hangUpAt);
        flag("--oversize", faults.padTo > 0);
        flag("--lower-case", faults.lowerCase);
        flag("--shuffle", faults.shuffled);
        flag("--noise", faults.noise);
        char hex[16];
        for (const auto address : faults.droppedLines) {
            std::snprintf(hex, sizeof hex, "%X", address);
            args.insert(args.end(), {"--drop-line", hex});
        }
        if (faults.corruptAddress >= 0) {
            std::snprintf(hex, sizeof hex, "%X", faults.corruptAddress);
            args.insert(args.end(), {"--corrupt", hex});
        }
        sim_.emplace(args);
        ASSERT_FALSE(sim_->port().empty()) << "tarn-radio-sim did not start";
        link_.emplace(makePlatformSerialDevice(), makeRealClock());
        link_->usePort(sim_->port());
    }
    SerialLink& link() { return *link_; }
    Image memory() {
        sim_->stop();  // saves on exit
        const auto bytes = readFile(dir_.file("saved.bin"));
        Image image{};
        if (bytes.size() == image.size()) std::copy(bytes.begin(), bytes.end(), image.begin());
        return image;
    }

  private:
    TempDir dir_;
    std::optional<SimProcess> sim_;
    std::optional<SerialLink> link_;
};

template <typename Backend>
class RadioBackends : public ::testing::Test {
  protected:
    bool read(const RadioFaults& faults) {
        backend.start(faults, patternMemory());
        if (this->HasFatalFailure()) return false;
        image.fill(0x5A);
        return backend.link().readRadio(RadioUiLog::kOwner, image.data(), 2048, false);
    }
    RadioUiLog ui;
    Backend backend;
    Image image;
};

using Backends = ::testing::Types<FakeBackend, PtyBackend>;
class BackendNames {
  public:
    template <typename T>
    static std::string GetName(int) {
        return std::is_same_v<T, FakeBackend> ? "Fake" : "Pty";
    }
};
TYPED_TEST_SUITE(RadioBackends, Backends, BackendNames);

TYPED_TEST(RadioBackends, ReadsTheRadiosMemory) {
    ASSERT_TRUE(this->read({}));
    EXPECT_EQ(this->image, patternMemory());
    EXPECT_THAT(this->ui.messages(), ElementsAre(kPrompt));
}

TYPED_TEST(RadioBackends, ReadsThroughLowerCaseShuffledAndNoisyDumps) {
    ASSERT_TRUE(this->read({.lowerCase = true, .shuffled = true, .noise = true}));
    EXPECT_EQ(this->image, patternMemory());
}

TYPED_TEST(RadioBackends, ASilentDumpEndsWithoutAMessage) {
    EXPECT_FALSE(this->read({.silentDump = true}));
    EXPECT_THAT(this->ui.messages(), ElementsAre(kPrompt));
}

TYPED_TEST(RadioBackends, NoPromptMeansNoContact) {
    EXPECT_FALSE(this->read({.noPrompt = true}));
    EXPECT_THAT(this->ui.messages(),
                ElementsAre(kPrompt, "message error: Failed to contact the radio."));
}

TYPED_TEST(RadioBackends, BrokenRepliesAreInvalidData) {
    for (const RadioFaults& faults : {RadioFaults{.cutShortAt = 3000}, RadioFaults{.padTo = 10400},
                                      RadioFaults{.droppedLines = {0x1800}}}) {
        this->ui.log.clear();
        EXPECT_FALSE(this->read(faults));
        EXPECT_THAT(this->ui.messages(),
                    ElementsAre(kPrompt, "message error: Received invalid data from the radio."));
        EXPECT_EQ(this->image[0], 0x5A);
    }
}

TYPED_TEST(RadioBackends, AHangUpMidReplyIsInvalidData) {
    EXPECT_FALSE(this->read({.hangUpAt = 2500}));
    EXPECT_THAT(this->ui.messages(),
                ElementsAre(kPrompt, "message error: Received invalid data from the radio."));
}

TYPED_TEST(RadioBackends, ProgramsAndVerifies) {
    Image blank{};
    this->backend.start({}, blank);
    if (this->HasFatalFailure()) return;
    const Image sent = patternMemory();
    ASSERT_TRUE(this->backend.link().writeRadio(RadioUiLog::kOwner, sent.data(), 2048, true));
    EXPECT_EQ(this->backend.link().lastVerification(), SerialLink::Verification::Passed);
    EXPECT_THAT(this->ui.messages(), ElementsAre(kPrompt));
    EXPECT_EQ(this->backend.memory(), sent);
}

}  // namespace
}  // namespace tarn::test
