#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "database/process_identity.h"

namespace tarn {

// Who holds a database's lock, as its lock file says.
struct LockHolder {
    ProcessIdentity process;
    std::time_t since = 0;
    bool saving = false;  // a save's short lock, not a program editing the database
};

// What a lock needs of the system: tests put in a fake clock, computer and processes.
struct LockSystem {
    ProcessIdentity self;
    std::function<std::optional<std::uint64_t>(std::int64_t pid)> processStart;
    std::function<std::filesystem::file_time_type()> now;  // the clock of file times
    std::function<void(std::chrono::milliseconds)> sleep;
};
const LockSystem& realLockSystem();

enum class LockStatus {
    Taken,        // the lock is this program's
    HeldByOther,  // holder() says who has it
    NotPossible,  // no lock file can be made beside the database (a folder this user
                  // cannot write, where nobody can save either): go on without one
};

// The lock of one database file, shared by every program on every computer that reaches
// the file: a lock file beside it (".NAME.tdb.lock"), created exclusively, that names its
// holder (user, computer, process, program, since when). A program editing a database
// holds the editing lock from opening it to closing it; a save holds the lock from its
// check to its rename, taking a short one of its own unless this process already holds
// the editing lock.
//
// A crash never locks a database for good. A lock is stale, and is broken by the next
// program that wants it, when on its holder's computer the holding process is gone; when
// a save's lock is older than kSaveStale; and, seen from another computer, when the
// holder has not refreshed it for kEditStale (the holder refreshes it every kRefresh).
class DatabaseLock {
  public:
    static constexpr auto kRefresh = std::chrono::minutes(1);
    static constexpr auto kEditStale = std::chrono::minutes(10);
    static constexpr auto kSaveStale = std::chrono::minutes(1);
    // How long a save waits for another program's save (or for its own program's end).
    static constexpr auto kSaveWait = std::chrono::seconds(5);

    explicit DatabaseLock(const LockSystem& system = realLockSystem());
    ~DatabaseLock();  // releases the lock
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    // Takes the editing lock of `database`, waiting up to `wait` while another program
    // holds it. HeldByOther when another program (or this one, for another window: the
    // holder's process is this one) has it.
    LockStatus lockForEditing(const std::filesystem::path& database,
                              std::chrono::milliseconds wait = {});
    // The lock of a save: Taken at once when this process holds the editing lock, else a
    // save's lock, waiting up to `wait` while another program holds the lock.
    LockStatus lockForSaving(const std::filesystem::path& database,
                             std::chrono::milliseconds wait = kSaveWait);

    bool held() const { return !file_.empty(); }
    // Who holds the lock, after HeldByOther.
    const LockHolder& holder() const { return holder_; }
    // Keeps a held lock fresh for programs on other computers (call it every kRefresh);
    // false when the lock is no longer this program's (another program broke it as
    // stale: a save then takes the lock again, if it can, before anything is written).
    bool refresh();
    void release();

  private:
    enum class Kind { Editing, Saving };
    LockStatus lock(const std::filesystem::path& database, Kind kind,
                    std::chrono::milliseconds wait);
    std::optional<LockStatus> tryLock(const std::filesystem::path& file, Kind kind);
    bool stale(const LockHolder& holder, std::filesystem::file_time_type written) const;

    const LockSystem& system_;
    std::filesystem::path file_;  // the lock file this lock made; empty when not held
    std::string content_;         // what it wrote there
    LockHolder holder_;
};

// The lock file of a database: ".NAME.lock" beside the file its links lead to.
std::filesystem::path lockFileOf(const std::filesystem::path& database);

// A refusal naming the holder: `pattern` has %s for the database and %s for the holder
// ("alice on shop-pc since 2026-12-07 10:32 (tarn)").
std::string lockedText(std::string_view pattern, const std::filesystem::path& database,
                       const LockHolder& holder);

}  // namespace tarn
