// The lock of a database file: who holds it, and when a lock left by a crash is stale.
// A fake system plays the other processes, computers and the clock.
#include <gtest/gtest.h>

#include <map>

#include "database/database_lock.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct FakeSystem {
    FakeSystem(std::string host, std::int64_t pid) {
        system.self = {"ann", std::move(host), "tarn", pid, 7};
        system.processStart = [this](std::int64_t id) -> std::optional<std::uint64_t> {
            const auto found = running.find(id);
            if (found == running.end()) return std::nullopt;
            return found->second;
        };
        system.now = [this] { return fs::file_time_type::clock::now() + later; };
        system.sleep = [this](std::chrono::milliseconds pause) { waited += pause; };
        running[pid] = 7;
    }
    std::map<std::int64_t, std::uint64_t>& running = processes();
    fs::file_time_type::duration later{};
    std::chrono::milliseconds waited{};
    LockSystem system;

    // One table of processes on each computer name, shared by the fakes.
    static std::map<std::int64_t, std::uint64_t>& processes() {
        static std::map<std::int64_t, std::uint64_t> table;
        return table;
    }
};

class DatabaseLocks : public ::testing::Test {
  protected:
    void SetUp() override { FakeSystem::processes().clear(); }
    test::TempDir dir;
    fs::path database = dir.path() / "fleet.tdb";
};

TEST_F(DatabaseLocks, NameTheirHolderAndLetNobodyElseInUntilReleased) {
    FakeSystem one("shop", 100), two("shop", 200);
    DatabaseLock first(one.system), second(two.system);
    ASSERT_EQ(first.lockForEditing(database), LockStatus::Taken);
    EXPECT_TRUE(fs::exists(dir.path() / ".fleet.tdb.lock"));
    EXPECT_EQ(second.lockForEditing(database, 1s), LockStatus::HeldByOther);
    EXPECT_EQ(two.waited, 1s) << "waited, then gave up";
    EXPECT_EQ(second.lockForSaving(database, 0ms), LockStatus::HeldByOther);
    const std::string text = lockedText("'%s' %s", database, second.holder());
    EXPECT_EQ(text.substr(0, text.find(" since ")), "'" + database.string() + "' ann on shop");
    EXPECT_EQ(text.substr(text.size() - 7), " (tarn)");

    // The holder's own save goes on under its editing lock, which outlives the save.
    DatabaseLock save(one.system);
    EXPECT_EQ(save.lockForSaving(database), LockStatus::Taken);
    save.release();
    EXPECT_EQ(second.lockForEditing(database), LockStatus::HeldByOther);
    EXPECT_TRUE(first.refresh());
    first.release();
    EXPECT_EQ(second.lockForEditing(database), LockStatus::Taken);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "the lock file alone";

    // Where no lock file can be made, nobody can save either.
    EXPECT_EQ(first.lockForEditing(dir.path() / "missing" / "x.tdb"), LockStatus::NotPossible);
}

TEST_F(DatabaseLocks, LeftByACrashAreBrokenByTheNextProgram) {
    FakeSystem crashed("shop", 100), next("shop", 200), remote("office", 300);
    auto crashedLock = std::make_unique<DatabaseLock>(crashed.system);
    ASSERT_EQ(crashedLock->lockForEditing(database), LockStatus::Taken);
    DatabaseLock other(next.system), far(remote.system);
    // Same computer: alive while its process runs, with the start time it had.
    EXPECT_EQ(other.lockForEditing(database), LockStatus::HeldByOther);
    FakeSystem::processes()[100] = 8;  // the id now belongs to another process
    EXPECT_EQ(other.lockForEditing(database), LockStatus::Taken);
    // The stale lock was not this process's: its owner's release leaves the new one.
    EXPECT_FALSE(crashedLock->refresh());
    crashedLock.reset();
    EXPECT_EQ(far.lockForEditing(database), LockStatus::HeldByOther);

    // Another computer: alive while refreshed, stale after kEditStale without.
    far.release();
    remote.later = DatabaseLock::kEditStale - 1min;
    EXPECT_EQ(far.lockForEditing(database), LockStatus::HeldByOther);
    ASSERT_TRUE(other.refresh());
    next.later = remote.later;  // the refresh wrote "now" as the holder's clock tells it
    ASSERT_TRUE(other.refresh());
    remote.later += DatabaseLock::kEditStale - 1min;
    EXPECT_EQ(far.lockForEditing(database), LockStatus::HeldByOther) << "refreshed";
    remote.later += 2min;
    EXPECT_EQ(far.lockForEditing(database), LockStatus::Taken);
    EXPECT_EQ(far.holder().process.host, "shop") << "the holder it found stale";

    // A save's lock is stale after a minute even while its process runs; a lock file
    // half-written is held for that minute too.
    far.release();
    DatabaseLock saving(next.system), fresh(crashed.system);
    FakeSystem::processes()[100] = 7;
    ASSERT_EQ(saving.lockForSaving(database), LockStatus::Taken);
    EXPECT_EQ(fresh.lockForSaving(database, 0ms), LockStatus::HeldByOther);
    crashed.later = DatabaseLock::kSaveStale + 1s;
    EXPECT_EQ(fresh.lockForSaving(database, 0ms), LockStatus::Taken);
    fresh.release();
    test::writeFile((dir.path() / ".fleet.tdb.lock").string(), {});
    crashed.later = {};
    EXPECT_EQ(fresh.lockForEditing(database), LockStatus::HeldByOther);
    crashed.later = DatabaseLock::kSaveStale + 1s;
    EXPECT_EQ(fresh.lockForEditing(database), LockStatus::Taken);
}

}  // namespace
}  // namespace tarn
