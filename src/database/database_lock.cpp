#include "database/database_lock.h"

#include <map>
#include <random>
#include <thread>

#include "database/file_sync.h"
#include "database/replace_file.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

constexpr auto kPoll = std::chrono::milliseconds(100);
constexpr int kAttempts = 3;           // breaking stale locks that others break too
constexpr std::size_t kMaxField = 64;  // what a lock file may say about its holder
constexpr char kFirstLine[] = "Tarn DataBase lock";

// A field as written and shown: one line, no control characters, a sensible length.
std::string cleaned(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, kMaxField))
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return out;
}

std::string describe(const ProcessIdentity& self, std::time_t since, bool saving,
                     std::uint64_t token) {
    std::string text = kFirstLine;
    // Appended field by field: GCC 12 at -O3 warns falsely about joined strings.
    const auto field = [&](const char* key, const std::string& value) {
        text.append("\n").append(key).append("=").append(value);
    };
    field("kind", saving ? "saving" : "editing");
    field("user", cleaned(self.user));
    field("host", cleaned(self.host));
    field("program", cleaned(self.program));
    field("pid", std::to_string(self.pid));
    field("started", std::to_string(self.started));
    field("since", std::to_string(since));
    field("token", std::to_string(token));
    return text.append("\n");
}

// The holder a lock file names; an unreadable or half-written file names nobody.
LockHolder parse(const std::string& text) {
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    const auto number = [&](const char* key) -> std::uint64_t {
        const std::string& value = fields[key];
        if (value.empty() || value.size() > 19 ||
            value.find_first_not_of("0123456789") != std::string::npos)
            return 0;
        return std::stoull(value);
    };
    LockHolder holder;
    holder.process.user = cleaned(fields["user"]);
    holder.process.host = cleaned(fields["host"]);
    holder.process.program = cleaned(fields["program"]);
    holder.process.pid = static_cast<std::int64_t>(number("pid"));
    holder.process.started = number("started");
    holder.since = static_cast<std::time_t>(number("since"));
    holder.saving = fields["kind"] == "saving";
    return holder;
}

std::optional<std::string> readLockFile(const fs::path& file) {
    std::FILE* in = openRegularFile(file);
    if (!in) return std::nullopt;
    char buffer[1024];
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
    std::fclose(in);
    return std::string(buffer, got);
}

bool sameProcess(const ProcessIdentity& a, const ProcessIdentity& b) {
    return a.host == b.host && a.pid == b.pid && a.started == b.started;
}

// The pattern with each %s replaced in turn, never looking inside what was put in.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string out;
    for (const std::string& value : values) {
        const std::size_t at = pattern.find("%s");
        if (at == std::string_view::npos) break;
        out.append(pattern.substr(0, at)).append(value);
        pattern.remove_prefix(at + 2);
    }
    return out.append(pattern);
}

}  // namespace

const LockSystem& realLockSystem() {
    static const LockSystem system{
        thisProcess(), processStart, [] { return fs::file_time_type::clock::now(); },
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
    return system;
}

fs::path lockFileOf(const fs::path& database) {
    return siblingName(fileBehind(database), ".", ".lock");
}

std::string lockedText(std::string_view pattern, const fs::path& database,
                       const LockHolder& holder) {
    char since[32] = "?";
    if (const std::tm* local = std::localtime(&holder.since))
        std::strftime(since, sizeof since, "%Y-%m-%d %H:%M", local);
    const ProcessIdentity& who = holder.process;
    const std::string holderText = fillIn(
        msg::kLockHolder, {who.user.empty() ? "?" : who.user, who.host.empty() ? "?" : who.host,
                           since, who.program.empty() ? "?" : who.program});
    return fillIn(pattern, {formatMessage("%s", database), holderText});
}

DatabaseLock::DatabaseLock(const LockSystem& system) : system_(system) {}

DatabaseLock::~DatabaseLock() {
    release();
}

LockStatus DatabaseLock::lockForEditing(const fs::path& database, std::chrono::milliseconds wait) {
    return lock(database, Kind::Editing, wait);
}

LockStatus DatabaseLock::lockForSaving(const fs::path& database, std::chrono::milliseconds wait) {
    return lock(database, Kind::Saving, wait);
}

LockStatus DatabaseLock::lock(const fs::path& database, Kind kind, std::chrono::milliseconds wait) {
    release();
    const fs::path file = lockFileOf(database);
    for (std::chrono::milliseconds waited{};; waited += kPoll) {
        std::optional<LockStatus> status;
        for (int attempt = 0; attempt < kAttempts && !status; ++attempt)
            status = tryLock(file, kind);
        if (status && *status != LockStatus::HeldByOther) return *status;
        if (waited >= wait) return LockStatus::HeldByOther;
        system_.sleep(kPoll);
    }
}

// One try: the lock taken or held by another, or nothing when a stale lock was broken (or
// vanished) on the way and the caller should try again.
std::optional<LockStatus> DatabaseLock::tryLock(const fs::path& file, Kind kind) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::time_t since = std::time(nullptr);
    const std::string content = describe(system_.self, since, kind == Kind::Saving, random());
    const NewFile made = createExclusive(file, {});
    if (made.file) {
        const bool written =
            std::fwrite(content.data(), 1, content.size(), made.file) == content.size();
        if (std::fclose(made.file) == 0 && written) {
            file_ = file;
            content_ = content;
            return LockStatus::Taken;
        }
        std::error_code ignored;
        fs::remove(file, ignored);
        return LockStatus::NotPossible;
    }
    // A folder that takes no new file: nobody can save there either.
    if (!made.taken) return LockStatus::NotPossible;
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(file, error);
    const std::optional<std::string> text = readLockFile(file);
    if (error || !text) return std::nullopt;  // gone meanwhile
    holder_ = parse(*text);
    if (sameProcess(holder_.process, system_.self) && kind == Kind::Saving)
        return LockStatus::Taken;  // this process edits the file: its save goes on
    if (!stale(holder_, written)) return LockStatus::HeldByOther;

    // Moved aside first, so that of all the programs that find it stale only one removes
    // it; a fresh lock moved by mistake (it replaced the stale one meanwhile) goes back.
    fs::path aside = siblingName(file, "", ".stale", 20);
    aside += std::to_string(random());
    fs::rename(file, aside, error);
    if (error) return LockStatus::HeldByOther;  // another user's file in a shared folder
    if (readLockFile(aside) != text) fs::create_hard_link(aside, file, error);
    fs::remove(aside, error);
    return std::nullopt;
}

bool DatabaseLock::stale(const LockHolder& holder, fs::file_time_type written) const {
    const auto age = system_.now() - written;
    if ((holder.saving || holder.process.host.empty()) && age > kSaveStale) return true;
    if (holder.process.host.empty()) return false;  // being written right now
    if (holder.process.host != system_.self.host) return !holder.saving && age > kEditStale;
    const std::optional<std::uint64_t> started = system_.processStart(holder.process.pid);
    return !started ||
           (*started != 0 && holder.process.started != 0 && *started != holder.process.started);
}

bool DatabaseLock::refresh() {
    if (!held()) return false;
    if (readLockFile(file_) != content_) {
        file_.clear();  // broken as stale by another program: not ours to remove
        return false;
    }
    std::error_code error;
    fs::last_write_time(file_, system_.now(), error);
    return true;
}

void DatabaseLock::release() {
    if (!held()) return;
    std::error_code error;
    if (readLockFile(file_) == content_) fs::remove(file_, error);
    file_.clear();
    content_.clear();
}

}  // namespace tarn
