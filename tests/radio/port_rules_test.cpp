// The rules of what a port may be used for: UUCP lock files, consoles, sessions' terminals,
// on a file system in a temporary folder.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "radio/port_lock.h"
#include "radio/port_problem.h"
#include "radio/port_rules.h"
#include "radio/radio_harness.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

std::string text(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string pidText(long pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10ld\n", pid);
    return text;
}

long deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// The kernel's encoding of a terminal's device number in /proc/PID/stat.
unsigned long ttyNumber(unsigned major, unsigned minor) {
    return (minor & 0xff) | (major << 8) | ((minor & ~0xffu) << 12);
}

TEST(PortLock, IsTakenHonouredReleasedAndTakenOverWhenStale) {
    TempDir dir;
    const std::string device = dir.file("ttyUSB9");
    put(device, "");
    fs::create_symlink(device, dir.file("by-id"));
    const fs::path lock = dir.path() / "LCK..ttyUSB9";
    PortLock first, second;
    ASSERT_TRUE(first.take(dir.path(), device));
    EXPECT_EQ(text(lock), pidText(::getpid()));
    EXPECT_FALSE(second.take(dir.path(), dir.file("by-id"))) << "one lock for every name";
    EXPECT_EQ(second.holder().pid, ::getpid());
    first.release();
    EXPECT_FALSE(fs::exists(lock));

    // A live process (1 always is), a lock naming none, a planted link: honoured, untouched.
    for (const auto& [content, pid] : {std::pair<std::string, long>{"1", 1}, {"garbage\n", 0}}) {
        put(lock, content);
        EXPECT_FALSE(second.take(dir.path(), device)) << content;
        EXPECT_TRUE(second.holder().pid == pid && second.holder().lockFile == lock) << content;
        EXPECT_EQ(text(lock), content);
    }
    fs::remove(lock);
    fs::create_symlink(device, lock);
    EXPECT_FALSE(second.take(dir.path(), device));
    fs::remove(lock);
    // The lock of a process that is gone, or of our pid from an earlier process, is stale.
    for (const long stale : {deadPid(), long(::getpid())}) {
        put(lock, pidText(stale));
        EXPECT_TRUE(portLockHolder(dir.path(), device).lockFile.empty()) << stale;
        EXPECT_TRUE(second.take(dir.path(), device)) << stale;
        EXPECT_EQ(text(lock), pidText(::getpid()));
        second.release();
    }
    // Another program that took the lock over keeps it when we let go.
    ASSERT_TRUE(second.take(dir.path(), device));
    put(lock, pidText(1));
    second.release();
    EXPECT_EQ(text(lock), pidText(1));
    // No lock folder to write in: the port is used without a lock.
    EXPECT_TRUE(first.take(dir.path() / "none", device) && !first.held());
}

TEST(PortRules, ConsolesSessionsAndLocksKeepAPortFromProbes) {
    TempDir dir;
    ScopedPortPlaces places(dir.path());
    const fs::path proc = dir.path() / "proc", dev = dir.path() / "dev";
    put(proc / "consoles", "ttyS0                -W- (EC  p a)    4:64\nnetcon0 -W- (E)\n");
    put(dir.path() / "sys/class/tty/console/active", "tty0 ttyS1\n");
    put(proc / "cmdline", "quiet console=ttyS2,115200n8 console=ttyS0 -- console=ttyUSB0\n");
    EXPECT_THAT(consoleNames(portPlaces()),
                ElementsAre("ttyS0", "netcon0", "tty0", "ttyS1", "ttyS2"));

    // A process without a terminal (its name holds ") 1 2 3 4 5"), and a session on the
    // terminal 136:300 (a minor above 255); /dev/null stands for getty's terminal.
    const std::string pts = std::to_string(ttyNumber(136, 300));
    put(proc / "40/stat", "40 (x) 1 2 3 4 5) S 1 40 40 0 -1 4194304");
    put(proc / "42/stat", "42 (vi) S 41 42 41 " + pts + " 42 4194560");
    put(proc / "50/stat", "50 (getty) S 1 50 50 " + std::to_string(ttyNumber(1, 3)) + " 50 0");
    put(proc / "50/comm", "getty\n");
    EXPECT_EQ(sessionOfTerminal(proc, 136, 300), 41);
    EXPECT_EQ(sessionOfTerminal(proc, 136, 300 & 0xff), 0);

    for (const char* name : {"ttyS1", "ttyUSB0", "ttyUSB1", "ttyUSB2"}) put(dev / name, "");
    put(dir.path() / "lock/LCK..ttyUSB0", pidText(1));
    put(dir.path() / "lock/LCK..ttyUSB2", "?");
    put(proc / "1/comm", "init\n");
    const std::string lock = (dir.path() / "lock/LCK..ttyUSB").string();
    const std::pair<fs::path, std::string> cases[] = {
        {dev / "ttyS1", "Left alone: it is the system console."},
        {"/dev/tty", "Left alone: it is the system console."},
        {"/dev/null", "Left alone: it is the terminal of a running session (process 50 (getty))."},
        {dev / "ttyUSB0", "The port is busy: process 1 (init) holds its lock file " + lock + "0."},
        {dev / "ttyUSB2", "The port is busy: its lock file " + lock +
                              "2 names no process; remove it if no program uses the port."},
        {dev / "ttyUSB1", ""},
        {"/dev/no-such-port", ""}};
    for (const auto& [port, said] : cases) EXPECT_EQ(portUseText(portUse(port)), said) << port;
}

// A port whose group the user could join names the group and the command; one whose group
// may not use it does not.
TEST(PortRules, PermissionDeniedNamesTheGroupToJoin) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another group";
    TempDir dir;
    const std::string port = dir.file("ttyUSB0");
    put(port, "");
    ASSERT_EQ(::chown(port.c_str(), 0, 20), 0);  // dialout on Debian
    ::chmod(port.c_str(), 0660);
    const std::string group = ::getgrgid(20)->gr_name, user = ::getpwuid(0)->pw_name;
    EXPECT_EQ(permissionDeniedText(port), "Permission denied: add your user to the group '" +
                                              group + "' and log in again.\nTo add it: sudo " +
                                              "usermod -aG " + group + " " + user);
    ::chmod(port.c_str(), 0600);
    EXPECT_EQ(permissionDeniedText(port), probe_text::kPermissionDenied);
}

}  // namespace
}  // namespace tarn::test
