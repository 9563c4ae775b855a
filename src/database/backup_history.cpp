#include "database/backup_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[] = "TARN Database file v3";
constexpr std::size_t kRecordAt = 22 + 100 + 2 + 2;  // magic, dealer text, count, length
constexpr std::size_t kImageAt = kSerializedClientSize - kImageSize;

// Texts in the index: tabs, line ends and '%' escaped as %XX.
std::string escaped(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == '%' || c == 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (text[i] == '%' && low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string fileNameOf(const fs::path& file) {
    const std::u8string name = file.filename().u8string();
    return std::string(name.begin(), name.end());
}

std::string indexLine(const std::string& fileName, const std::string& name,
                      const std::string& serial, std::uint64_t hash) {
    char hashText[20];
    std::snprintf(hashText, sizeof hashText, "%016llx", static_cast<unsigned long long>(hash));
    return fileName + '\t' + escaped(name) + '\t' + escaped(serial) + '\t' + hashText + '\n';
}

std::string fieldText(const ClientRecord& client, int (ClientRecord::*get)(char*, int) const) {
    char text[kNameSize + 1] = {};
    (client.*get)(text, sizeof text);
    return text;
}

// Reads the index into entries by file name; lines that do not parse are left out.
std::unordered_map<std::string, BackupEntry> readIndex(const fs::path& folder) {
    std::unordered_map<std::string, BackupEntry> entries;
    std::ifstream in(folder / kBackupIndexName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            parts.push_back(line.substr(start, tab - start));
        parts.push_back(line.substr(start));
        if (parts.size() != 4 || parts[3].size() != 16) continue;
        BackupEntry entry;
        entry.name = unescaped(parts[1]);
        entry.serial = unescaped(parts[2]);
        entry.imageHash = std::strtoull(parts[3].c_str(), nullptr, 16);
        entries.emplace(parts[0], std::move(entry));
    }
    return entries;
}

}  // namespace

std::uint64_t imageHash(const RadioImage& image) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const std::uint8_t byte : image) hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

std::optional<ClientRecord> readBackup(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes(kRecordAt + kSerializedClientSize);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        return std::nullopt;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 || bytes[122] != 1 || bytes[123] != 0)
        return std::nullopt;
    std::uint8_t* record = bytes.data() + kRecordAt;
    RadioImage image;
    std::copy_n(record + kImageAt, kImageSize, image.begin());
    // An empty image passes the channel check without a word; the kept one goes back after.
    std::fill_n(record + kImageAt, kImageSize, 0);
    ClientRecord client(record);
    client.image() = image;
    return client;
}

void noteBackup(const fs::path& folder, const fs::path& file, const ClientRecord& client) {
    std::error_code error;
    const fs::path index = folder / kBackupIndexName;
    if (!fs::exists(index, error)) return;  // built in full when first needed
    std::ofstream(index, std::ios::binary | std::ios::app)
        << indexLine(fileNameOf(file), fieldText(client, &ClientRecord::getName),
                     fieldText(client, &ClientRecord::getSerial), imageHash(client.image()));
}

std::vector<BackupEntry> listBackups(const fs::path& folder) {
    std::unordered_map<std::string, BackupEntry> indexed = readIndex(folder);
    const std::size_t indexedBefore = indexed.size();
    std::vector<BackupEntry> backups;
    bool added = false;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = fileNameOf(it->path());
        const auto parsed = parseBackupName(name);
        if (!parsed) continue;
        BackupEntry entry;
        if (const auto found = indexed.find(name); found != indexed.end()) {
            entry = std::move(found->second);
            indexed.erase(found);
        } else if (const auto client = readBackup(it->path())) {
            entry.name = fieldText(*client, &ClientRecord::getName);
            entry.serial = fieldText(*client, &ClientRecord::getSerial);
            entry.imageHash = imageHash(client->image());
            added = true;
        } else {
            continue;
        }
        entry.file = it->path();
        entry.date = parsed->date;
        entry.kind = parsed->kind;
        backups.push_back(std::move(entry));
    }
    // Lines of removed backups left over, or backups the index did not know: write it anew.
    if (error || (!added && indexed.empty() && indexedBefore > 0)) return backups;
    std::string text;
    for (const BackupEntry& entry : backups)
        text += indexLine(fileNameOf(entry.file), entry.name, entry.serial, entry.imageHash);
    const fs::path temporary = folder / (std::string(kBackupIndexName) + ".new");
    if (std::ofstream(temporary, std::ios::binary | std::ios::trunc) << text)
        fs::rename(temporary, folder / kBackupIndexName, error);
    return backups;
}

std::vector<BackupEntry> clientHistory(const std::vector<BackupEntry>& backups,
                                       const ClientRecord& client) {
    const std::string name = fieldText(client, &ClientRecord::getName);
    const std::string serial = fieldText(client, &ClientRecord::getSerial);
    std::unordered_set<std::uint64_t> images{imageHash(client.image())};
    // What a radio held before a write may be anybody's (a new radio's factory memory):
    // only the client's own memories lead to other backups.
    for (const BackupEntry& entry : backups) {
        if (entry.name == name && entry.serial == serial && entry.kind != BackupKind::BeforeWrite)
            images.insert(entry.imageHash);
    }
    std::vector<BackupEntry> history;
    std::copy_if(
        backups.begin(), backups.end(), std::back_inserter(history), [&](const BackupEntry& entry) {
            return (entry.name == name && entry.serial == serial) || images.count(entry.imageHash);
        });
    std::sort(history.begin(), history.end(), [](const BackupEntry& a, const BackupEntry& b) {
        if (a.date != b.date) return a.date > b.date;
        return a.file.filename() > b.file.filename();
    });
    return history;
}

}  // namespace tarn
