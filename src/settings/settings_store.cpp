// The settings rules over a backend: buffer semantics of a read, the plain decimal
// number rule, column widths, window placement, the port and the recent-file list.
#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>

#include "model/services.h"
#include "settings/memory_settings_backend.h"

namespace tarn {
namespace {

constexpr int kPlacementTextSize = 64;
constexpr int kColumnsTextSize = 128;
constexpr int kPortTextSize = 32;
constexpr int kNumberTextSize = 16;
constexpr int kMinimumColumnWidth = 20;
constexpr int kDefaultColumnWidth = 60;
constexpr int kScreenMargin = 200;
constexpr const char* kNoName = "<NoName>";

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// One number by the plain decimal rule from `pos`: blanks, an optional sign, digits.
// Returns false (pos unchanged) when no digit follows.
bool parseNumber(std::string_view text, std::size_t& pos, int& number) {
    std::size_t i = pos;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    number = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    pos = i;
    return true;
}

std::vector<int> parseNumbers(std::string_view text, int most) {
    std::vector<int> numbers;
    std::size_t pos = 0;
    int number = 0;
    while (static_cast<int>(numbers.size()) < most && parseNumber(text, pos, number)) {
        numbers.push_back(number);
    }
    return numbers;
}

std::string joinNumbers(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i) text += ' ';
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string recentName(int index) {
    return "MRU_" + std::to_string(index);
}

}  // namespace

SettingsStore::SettingsStore(SettingsBackend& backend) : backend_(backend) {}

std::string SettingsStore::readText(std::string_view name, int size,
                                    std::string_view defaultText) const {
    if (size <= 0) return {};
    const std::size_t room = static_cast<std::size_t>(size - 1);
    std::string text(defaultText.substr(0, std::min(defaultText.find('\0'), room)));
    if (auto value = backend_.read(name)) {
        // The stored data ends the text, terminator or not; one that does not fit the
        // buffer leaves the default.
        std::string_view stored(*value);
        stored = stored.substr(0, stored.find('\0'));
        if (stored.size() <= room) text.assign(stored);
    }
    return text;
}

bool SettingsStore::writeText(std::string_view name, std::string_view text) {
    return backend_.write(name, text);
}

int SettingsStore::readNumber(std::string_view name, int defaultNumber) const {
    std::string text = readText(name, kNumberTextSize, std::to_string(defaultNumber));
    std::size_t pos = 0;
    int number = 0;
    return parseNumber(text, pos, number) ? number : 0;
}

bool SettingsStore::writeNumber(std::string_view name, int number) {
    return writeText(name, std::to_string(number));
}

namespace {

int recentCount(const SettingsStore& store) {
    return std::clamp(store.readNumber(kRecentCountValue, 0), 0, kRecentFileLimit);
}

}  // namespace

std::optional<std::filesystem::path> SettingsStore::recentFile(int index, bool nameOnly) const {
    if (index < 0 || index >= recentCount(*this)) return std::nullopt;
    std::string text = readText(recentName(index), kRecentPathSize, kNoName);
    if (text == kNoName) return std::nullopt;
    if (nameOnly) {
        std::size_t slash = text.rfind('\\');
        if (slash != std::string::npos) text.erase(0, slash + 1);
    }
    return std::filesystem::path(text);
}

void SettingsStore::addRecentFile(const std::filesystem::path& file) {
    const std::string path = file.string();
    int count = recentCount(*this);
    std::array<std::string, kRecentFileLimit> table;
    for (int i = 0; i < count; ++i) table[i] = readText(recentName(i), kRecentPathSize, kNoName);

    writeText(recentName(0), path);
    auto match = std::find(table.begin(), table.begin() + count, path);
    if (match != table.begin() + count) {
        // Already listed: the others keep their order behind it; the count stays.
        int to = 1;
        for (auto it = table.begin(); it != table.begin() + count; ++it) {
            if (it != match) writeText(recentName(to++), *it);
        }
    } else {
        if (count < kRecentFileLimit) writeNumber(kRecentCountValue, ++count);
        for (int i = 0; i + 1 < count; ++i) writeText(recentName(i + 1), table[i]);
    }
    if (recentFilesChanged_) recentFilesChanged_();
}

void SettingsStore::setRecentFilesChanged(std::function<void()> callback) & {
    recentFilesChanged_ = std::move(callback);
}

std::vector<int> SettingsStore::readColumnWidths(std::string_view name, int columns) const {
    std::vector<int> defaults(static_cast<std::size_t>(std::max(columns, 0)), kDefaultColumnWidth);
    std::vector<int> widths =
        parseNumbers(readText(name, kColumnsTextSize, joinNumbers(defaults)), columns);
    widths.resize(defaults.size(), kDefaultColumnWidth);
    for (int& width : widths) {
        if (width < kMinimumColumnWidth) width = kDefaultColumnWidth;
    }
    return widths;
}

void SettingsStore::writeColumnWidths(std::string_view name, const std::vector<int>& widths) {
    writeText(name, joinNumbers(widths));
}

SettingsStore::Placement SettingsStore::readWindowPlacement(int screenWidth,
                                                            int screenHeight) const {
    const std::vector<int> defaults(4, kDefaultPlacement);
    std::vector<int> numbers =
        parseNumbers(readText(kWindowPlacementValue, kPlacementTextSize, joinNumbers(defaults)), 4);
    numbers.resize(4, kDefaultPlacement);
    Placement placement{numbers[0], numbers[1], numbers[2], numbers[3]};
    auto clampEdge = [](int edge, int screen) {
        if (edge <= 0) edge = 0;
        if (edge >= screen - kScreenMargin) edge = screen - kScreenMargin;
        return edge;
    };
    placement.left = clampEdge(placement.left, screenWidth);
    placement.top = clampEdge(placement.top, screenHeight);
    return placement;
}

void SettingsStore::writeWindowPlacement(const Placement& placement) {
    writeText(kWindowPlacementValue,
              joinNumbers({placement.left, placement.top, placement.width, placement.height}));
}

std::string SettingsStore::port() const {
    return readText(kPortValue, kPortTextSize, "COM1");
}

int SettingsStore::backupDays() const {
    const int days = readNumber(kBackupDaysValue, kDefaultBackupDays);
    return days < 0 ? kDefaultBackupDays : days;
}

void SettingsStore::setBackupDays(int days) {
    writeNumber(kBackupDaysValue, days);
}

bool SettingsStore::backupBeforeWrite() const {
    return readNumber(kBackupBeforeWriteValue, 1) != 0;
}

void SettingsStore::setBackupBeforeWrite(bool on) {
    writeNumber(kBackupBeforeWriteValue, on ? 1 : 0);
}

SettingsStore settings() {
    static MemorySettingsBackend memory;
    SettingsBackend* installed = services().settings;
    SettingsStore store(installed ? *installed : memory);
    store.setRecentFilesChanged(services().recentFilesChanged);
    return store;
}

}  // namespace tarn
