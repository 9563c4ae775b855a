// The same exchanges against the in-process fake radio and against tarn-radio-sim on a
// pseudo-terminal (real driver, real clock), so the two radios cannot drift apart.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cerrno>

#include <chrono>
#include <filesystem>
#include <optional>

#include "radio/port_probe.h"
#include "radio/radio_harness.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "radio/sim_process.h"
#include "sim/pty_line.h"
#include "sim/sim_options.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;

using Args = std::vector<std::string>;  // the radio's faults as tarn-radio-sim takes them

// The in-process radio, its faults read by the simulator's own option parser.
struct FakeBackend {
    void start(Args args, const Image& memory) {
        args.insert(args.begin(), "tarn-radio-sim");
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        std::string error;
        const auto options = parseSimOptions(int(argv.size()), argv.data(), error);
        ASSERT_TRUE(options) << error;
        fake.emplace(options->faults);
        fake->radio->memory() = memory;
    }
    SerialLink& link() { return *fake->link; }
    Image memory() { return fake->radio->memory(); }
    std::optional<FakeRadio> fake;
};

// tarn-radio-sim reached through the platform driver.
class PtyBackend {
  public:
    void start(Args args, const Image& memory) {
        writeFile(dir_.file("start.bin"), std::vector<std::uint8_t>(memory.begin(), memory.end()));
        args.insert(args.end(), {"--no-pacing", "--memory", dir_.file("start.bin"), "--save",
                                 dir_.file("saved.bin")});
        sim_.emplace(args);
        ASSERT_FALSE(sim_->port().empty()) << "tarn-radio-sim did not start";
        link_.emplace(makePlatformSerialDevice(), makeRealClock());
        link_->usePort(sim_->port());
    }
    SerialLink& link() { return *link_; }
    Image memory() {
        sim_->stop();  // saves on exit
        const auto bytes = readFile(dir_.file("saved.bin"));
        Image image{};  // a short file leaves zeros
        std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
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
    bool read(const Args& faults) {
        backend.start(faults, patternMemory());
        if (this->HasFatalFailure()) return false;
        image.fill(0x5A);
        return backend.link().readRadio(RecordingUi::kOwner, image.data(), 2048, false);
    }
    RecordingUi ui;
    Backend backend;
    Image image;
};

using Backends = ::testing::Types<FakeBackend, PtyBackend>;
TYPED_TEST_SUITE(RadioBackends, Backends);

TYPED_TEST(RadioBackends, ReadsTheRadiosMemoryPlainOrLowerCaseShuffledAndNoisy) {
    for (const Args& faults : {Args{}, Args{"--lower-case", "--shuffle", "--noise"}}) {
        this->ui.log.clear();
        ASSERT_TRUE(this->read(faults));
        EXPECT_EQ(this->image, patternMemory());
        EXPECT_THAT(this->ui.entries("message "), ElementsAre(kConnectPromptEntry));
    }
}

TYPED_TEST(RadioBackends, FailedReadsAreToldAlike) {
    const std::string noContact = "message error: Failed to contact the radio.";
    const std::string invalid = "message error: Received invalid data from the radio.";
    const std::pair<Args, std::string> cases[] = {
        {{"--silent-dump"}, ""},  // these two end without a message
        {{"--cut-short", "71"}, ""},
        {{"--no-prompt"}, noContact},
        {{"--cut-short", "3000"}, invalid},
        {{"--oversize"}, invalid},
        {{"--drop-line", "1800"}, invalid},
        {{"--hang-up", "2500"}, invalid},
    };
    for (const auto& [faults, message] : cases) {
        this->ui.log.clear();
        EXPECT_FALSE(this->read(faults)) << faults[0];
        EXPECT_EQ(this->ui.entries("message ").size(), message.empty() ? 1u : 2u) << faults[0];
        EXPECT_EQ(this->ui.log.back(), message.empty() ? "focus owner" : message);
        EXPECT_EQ(this->ui.entries("enable owner").size(), this->ui.entries("disable").size());
        EXPECT_EQ(this->image[0], 0x5A) << "the caller's buffer is untouched";
    }
}

TYPED_TEST(RadioBackends, ProgramsAndVerifies) {
    this->backend.start({}, Image{});
    if (this->HasFatalFailure()) return;
    const Image sent = patternMemory();
    ASSERT_TRUE(this->backend.link().writeRadio(RecordingUi::kOwner, sent.data(), 2048, true));
    EXPECT_EQ(this->backend.link().lastVerification(), SerialLink::Verification::Passed);
    EXPECT_THAT(this->ui.entries("message "), ElementsAre(kConnectPromptEntry));
    EXPECT_EQ(this->backend.memory(), sent);
}

// The termios driver on a pty as the simulator offers it, under the pty's lock file; the
// probe through it: a held port and a device this user may not open.
TEST(PosixSerialDevice, HoldsAPtyAloneReadsWaitsAndProbesLikeTheRadioLinkExpects) {
    TempDir places;
    ScopedPortPlaces lockHere(places.path());
    std::filesystem::create_directories(places.path() / "lock");
    PtyLine line;
    ASSERT_TRUE(line.open());
    auto device = makePlatformSerialDevice();
    ASSERT_TRUE(device->open(line.slavePath()));
    const std::string lock =
        (places.path() / "lock" /
         ("LCK.." + std::filesystem::path(line.slavePath()).filename().string()))
            .string();
    EXPECT_TRUE(std::filesystem::exists(lock)) << "held under its lock file";
    bool closeOnExec = false;  // a child started meanwhile must not hold the port
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) == line.slavePath())
            closeOnExec |= ::fcntl(std::stoi(fd.path().filename()), F_GETFD) & FD_CLOEXEC;
    }
    EXPECT_TRUE(closeOnExec);
    EXPECT_TRUE(device->applyLineSettings());
    EXPECT_TRUE(device->applyTimeouts());
    device->setModemLine(ModemLine::Rts, true);  // no modem lines on a pty: harmless

    // Nothing buffered: a read waits about a tenth of a second; else it returns at once.
    std::uint8_t buffer[64];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device->read(buffer, sizeof buffer), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    ASSERT_EQ(::write(line.masterFd(), "#abc", 4), 4);
    EXPECT_EQ(device->read(buffer, 2), 2) << "no more than asked for";
    EXPECT_EQ(device->read(buffer, sizeof buffer), 2);
    EXPECT_EQ(buffer[0], 'b');
    errno = EINTR;  // stale from an earlier call: the bytes written still count, once
    EXPECT_EQ(device->write(reinterpret_cast<const std::uint8_t*>("E\r"), 2), 2);
    EXPECT_EQ(::read(line.masterFd(), buffer, sizeof buffer), 2);
    device->close();
    EXPECT_FALSE(std::filesystem::exists(lock));
    const int input = ::dup(0);  // started without input, the port may get descriptor 0
    ::close(0);
    EXPECT_TRUE(device->open(line.slavePath()) && device->applyLineSettings() &&
                device->applyTimeouts());
    device->close();
    ::dup2(input, 0);
    ::close(input);
    auto second = makePlatformSerialDevice();  // and holds the port alone
    EXPECT_TRUE(second->open(line.slavePath())) << "free again after close";

    using Result = PortProbe::Result;
    TempDir dir;
    const std::string denied = dir.file("ttyX");
    writeFile(denied, {});
    const bool root = ::geteuid() == 0;
    ::chmod(denied.c_str(), 0);
    const std::pair<std::string, Result> probes[] = {
        {line.slavePath(), Result::Busy},
        // root opens anything: the denial then comes from the file not being a terminal.
        {denied, root ? Result::CannotOpen : Result::PermissionDenied}};
    for (const auto& [port, result] : probes)
        EXPECT_EQ(probePort(port, {makePlatformSerialDevice(), makeRealClock()}).result, result)
            << port;
    ASSERT_TRUE(device->open("/dev/null"));
    EXPECT_FALSE(device->applyLineSettings()) << "a file that is no terminal";
}

}  // namespace
}  // namespace tarn::test
