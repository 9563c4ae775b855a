#include "database/radio_backups.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>

#include "database/backup_history.h"
#include "database/client_database.h"
#include "database/data_folder.h"
#include "database/file_sync.h"
#include "model/message_texts.h"
#include "model/text_codec.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTextPartLimit = 40;  // characters of a name, serial or file name
constexpr int kSameSecondLimit = 100;       // backups of one kind and client per second
constexpr std::time_t kSecondsPerDay = 86400;

// A folder other users can reach, told as an error like the system's own.
class BackupFolderCategory final : public std::error_category {
  public:
    const char* name() const noexcept override { return "backup folder"; }
    std::string message(int) const override { return msg::kFolderNotPrivate; }
};
const BackupFolderCategory kNotPrivate;

std::error_code notPrivate() {
    return {1, kNotPrivate};
}

// A folder above the backups: nobody else may rename or replace what it holds.
bool safeAbove(const FolderAccess& access) {
    return access.directory && (access.ownedByUser || access.ownedBySystem) &&
           (!access.othersMayWrite || access.sticky);
}

// Whether the folder (through its links) and every folder above it keep the backups
// private: the folder this user's own and closed to others, nothing above replaceable.
std::error_code checkPrivate(const fs::path& folder) {
    std::error_code error;
    const fs::path real = fs::canonical(folder, error);
    if (error) return error;
    const auto own = folderAccess(real);
    if (!own || !own->directory) return std::make_error_code(std::errc::not_a_directory);
    if (!own->ownedByUser || own->othersMayRead || own->othersMayWrite) return notPrivate();
    for (fs::path above = real.parent_path();; above = above.parent_path()) {
        const auto access = folderAccess(above);
        if (!access || !safeAbove(*access)) return notPrivate();
        if (above == above.root_path() || !above.has_relative_path()) break;
    }
    return {};
}

bool unsafe(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos;
}

}  // namespace

// A record's 8-bit text as a UTF-8 name part, decoded as everywhere else (text_codec.h);
// the undefined bytes, which decode to C1 controls, count as unsafe too.
std::u8string recordTextPart(std::string_view text) {
    std::u8string part;
    for (const char ch : text.substr(0, kTextPartLimit)) {
        const char32_t c = ansiCharacter(static_cast<unsigned char>(ch));
        const bool refused = c < 0x80 ? unsafe(static_cast<unsigned char>(c)) : c < 0xA0;
        std::string utf8;
        appendUtf8(utf8, refused ? U'_' : c);
        part.append(utf8.begin(), utf8.end());
    }
    return part.empty() ? u8"-" : part;
}

namespace {

// A file name's stem (already a name in the system's encoding, taken as UTF-8), cut to the
// limit without splitting a character.
std::u8string stemPart(const fs::path& database) {
    std::u8string part = database.stem().u8string();
    std::size_t characters = 0, end = 0;
    for (; end < part.size(); ++end) {
        const auto c = static_cast<unsigned char>(part[end]);
        if ((c & 0xC0) != 0x80 && characters++ == kTextPartLimit) break;
        if (unsafe(c)) part[end] = u8'_';
    }
    part.resize(end);
    return part.empty() ? u8"untitled" : part;
}

// Cuts the longest of the parts, a whole character at a time, until the parts and `fixed`
// more bytes fit into `limit` bytes (a file system's name limit is a number of bytes).
void fitParts(std::array<std::u8string*, 3> parts, std::size_t fixed, std::size_t limit) {
    const auto total = [&] {
        std::size_t sum = fixed;
        for (const std::u8string* part : parts) sum += part->size();
        return sum;
    };
    while (total() > limit) {
        std::u8string& longest = **std::max_element(
            parts.begin(), parts.end(), [](auto* a, auto* b) { return a->size() < b->size(); });
        if (longest.size() <= 1) return;
        while (longest.size() > 1 && (static_cast<unsigned char>(longest.back()) & 0xC0) == 0x80)
            longest.pop_back();
        longest.pop_back();
    }
}

std::string field(const ClientRecord& client, int (ClientRecord::*get)(char*, int) const) {
    std::array<char, kNameSize + 1> text{};
    (client.*get)(text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

std::optional<BackupName> parseBackupName(const std::string& name) {
    // "2026-12-07_103205_<database>_<client>_<serial>_<kind>[-n].tdb", read by hand: the
    // history reads thousands of these names at a time.
    constexpr std::string_view kDigits = "0123456789";
    const std::string_view text(name);
    if (text.size() < 24 || !text.ends_with(".tdb")) return std::nullopt;
    for (const std::size_t at : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 13, 14, 15, 16}) {
        if (kDigits.find(text[at]) == std::string_view::npos) return std::nullopt;
    }
    if (text[4] != '-' || text[7] != '-' || text[10] != '_' || text[17] != '_') return std::nullopt;
    std::string_view tail = text.substr(0, text.size() - 4);
    const std::size_t lastPart = tail.rfind('_');
    if (lastPart <= 17) return std::nullopt;
    tail.remove_prefix(lastPart + 1);
    const std::size_t dash = tail.rfind('-');
    if (dash != std::string_view::npos && dash + 1 < tail.size() &&
        tail.find_first_not_of(kDigits, dash + 1) == std::string_view::npos)
        tail = tail.substr(0, dash);
    std::optional<BackupKind> kind;
    for (const BackupKind k : {BackupKind::Radio, BackupKind::BeforeRead, BackupKind::Verified,
                               BackupKind::BeforeWrite}) {
        if (tail == backupKindName(k)) kind = k;
    }
    if (!kind) return std::nullopt;
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    // The local time of each hour once: the system's conversion looks up the time zone.
    static std::map<std::string, std::time_t, std::less<>> hours;
    const std::string_view hour = text.substr(0, 13);
    auto known = hours.find(hour);
    if (known == hours.end()) {
        std::tm when{};
        when.tm_year = number(0, 4) - 1900;
        when.tm_mon = number(5, 2) - 1;
        when.tm_mday = number(8, 2);
        when.tm_hour = number(11, 2);
        when.tm_isdst = -1;
        known = hours.emplace(std::string(hour), std::mktime(&when)).first;
    }
    if (known->second == std::time_t(-1)) return std::nullopt;
    return BackupName{known->second + number(13, 2) * 60 + number(15, 2), *kind};
}

const char* backupKindName(BackupKind kind) {
    switch (kind) {
        case BackupKind::Radio:
            return "radio";
        case BackupKind::BeforeRead:
            return "before-read";
        case BackupKind::Verified:
            return "verified";
        case BackupKind::BeforeWrite:
            return "before-write";
    }
    return "radio";
}

fs::path backupFolder() {
    const fs::path data = userDataFolder();
    return data.empty() ? data : data / "backups";
}

std::error_code createBackupFolder(const fs::path& folder) {
    std::error_code error;
    fs::path path;
    // Every folder the program makes on the way is private from the start.
    for (const fs::path& part : fs::absolute(folder, error)) {
        path /= part;
        const fs::file_status status = fs::status(path, error);
        if (status.type() != fs::file_type::not_found) {
            if (error) return error;
            continue;
        }
        if (const std::error_code made = createPrivateFolder(path)) {
            if (!fs::is_directory(path, error)) return made;  // not made by another meanwhile
        }
        error.clear();
    }
    return error ? error : checkPrivate(folder);
}

fs::path backupFileName(BackupKind kind, const fs::path& database, const ClientRecord& client,
                        std::time_t now, int number, std::size_t limit) {
    char stamp[32] = "0000-00-00_000000";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H%M%S", local);
    std::u8string name(stamp, stamp + std::char_traits<char>::length(stamp));
    std::u8string parts[] = {stemPart(database),
                             recordTextPart(field(client, &ClientRecord::getName)),
                             recordTextPart(field(client, &ClientRecord::getSerial))};
    const std::string_view kindName = backupKindName(kind);
    std::string suffix;
    if (number > 1) suffix.append("-").append(std::to_string(number));
    fitParts({&parts[0], &parts[1], &parts[2]},
             name.size() + 4 + kindName.size() + suffix.size() + 4, limit);
    // Appended piece by piece: GCC 12 at -O3 warns falsely about a character plus a string.
    for (const std::u8string& part : parts) {
        name += u8'_';
        name += part;
    }
    name += u8'_';
    name.append(kindName.begin(), kindName.end());
    name.append(suffix.begin(), suffix.end());
    return fs::path(name + u8".tdb");
}

BackupResult keepBackupIn(const fs::path& folder, BackupKind kind, const fs::path& database,
                          const ClientRecord& client, std::time_t now) {
    if (folder.empty()) return {{}, msg::kBackupNoDataFolder};
    std::error_code error = createBackupFolder(folder);
    if (error == notPrivate()) return {{}, msg::kBackupFolderNotPrivate};
    if (error)
        return {{}, formatMessage(msg::kBackupFolderNotKept, std::string_view(error.message()))};
    const std::size_t limit = fileNameLimit(folder);
    fs::path file;
    for (int number = 1; file.empty() && number <= kSameSecondLimit; ++number) {
        const fs::path name = folder / backupFileName(kind, database, client, now, number, limit);
        if (!fs::exists(fs::symlink_status(name, error))) file = name;
    }
    ClientDatabase alone(false);
    alone.addClient();
    *alone.client(0) = client;
    // Customers' radios are nobody else's business, whatever the umask says.
    if (file.empty() ||
        alone.writeFile(file, ReplacingFile::Access::OwnerOnly) != ReplaceResult::Written)
        return {{}, msg::kBackupNotWritten};
    noteBackup(folder, file, client);
    return {file, {}};
}

int pruneBackups(const fs::path& folder, int days, std::time_t now) {
    // Never removes files from a folder that is not the user's own private one.
    if (days <= 0 || checkPrivate(folder)) return 0;
    const std::time_t oldest = now - std::time_t(days) * kSecondsPerDay;
    std::error_code error;
    std::vector<fs::path> old;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::u8string name = it->path().filename().u8string();
        const auto parsed = parseBackupName(std::string(name.begin(), name.end()));
        if (parsed && parsed->date < oldest && it->is_regular_file(error))
            old.push_back(it->path());
    }
    return static_cast<int>(std::count_if(
        old.begin(), old.end(), [&](const fs::path& file) { return fs::remove(file, error); }));
}

}  // namespace tarn
