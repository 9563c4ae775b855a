#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// Value names of the settings key.
inline constexpr const char* kWindowPlacementValue = "Window Placement";
inline constexpr const char* kDatabaseColumnsValue = "Database Columns";
inline constexpr const char* kRadioColumnsValue = "Radio Columns";
inline constexpr const char* kPortValue = "Port";
inline constexpr const char* kRecentCountValue = "MRU count";
inline constexpr const char* kBackupDaysValue = "Backup Days";
inline constexpr int kDefaultBackupDays = 365;
inline constexpr const char* kBackupBeforeWriteValue = "Backup Before Write";  // 0: off
inline constexpr const char* kPrintNewPageValue = "Print New Page";            // 1: on, else off
inline constexpr const char* kPrintFooterValue = "Print Footer";               // 1: on, else off
inline constexpr int kRecentFileLimit = 4;
inline constexpr int kRecentPathSize = 260;  // longest entry read: 259 bytes and the NUL
// The system's marker for "default position or size" (CW_USEDEFAULT as a signed int).
inline constexpr int kDefaultPlacement = -2147483647 - 1;

// Where the settings values live: the registry key on Windows, an INI file elsewhere,
// memory in tests. Each call opens, reads or writes one value and closes again. Values
// are bytes: a recent file keeps the exact bytes of its path.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // The value's text, or nothing when the key or the value is missing or unreadable.
    virtual std::optional<std::string> read(std::string_view name) const = 0;
    // False when the key cannot be opened or created or the value cannot be set.
    virtual bool write(std::string_view name, std::string_view text) = 0;
};

// The settings rules: value names, formats, defaults, clamping and the recent-file list.
// It keeps no values itself; everything goes through the backend every time.
class SettingsStore {
  public:
    explicit SettingsStore(SettingsBackend& backend);

    // Buffer semantics of the registry read: at most size - 1 bytes of the value
    // (a longer value keeps the default), or the default text.
    std::string readText(std::string_view name, int size, std::string_view defaultText) const;
    bool writeText(std::string_view name, std::string_view text);
    int readNumber(std::string_view name, int defaultNumber) const;
    bool writeNumber(std::string_view name, int number);

    // Recent files: index 0..3, 0 the newest; nameOnly cuts to what follows the last '\\'.
    // Stored as the path's narrow form: its own bytes outside Windows.
    std::optional<std::filesystem::path> recentFile(int index, bool nameOnly) const;
    void addRecentFile(const std::filesystem::path& path);
    // Called after every addRecentFile (the shell posts its menu rebuild from here).
    void setRecentFilesChanged(std::function<void()> callback) &;

    // Parsing rules shared by the windows.
    std::vector<int> readColumnWidths(std::string_view name, int columns) const;
    void writeColumnWidths(std::string_view name, const std::vector<int>& widths);
    struct Placement {
        int left, top, width, height;
    };
    // "Window Placement" with left/top clamped against the given screen size; a width or
    // height of kDefaultPlacement asks for the system's default size.
    Placement readWindowPlacement(int screenWidth, int screenHeight) const;
    void writeWindowPlacement(const Placement& placement);
    std::string port() const;  // "Port", default "COM1"
    // "Backup Days": the age in days at which radio backups are removed, 0 never
    // (default 365; a negative value counts as the default).
    int backupDays() const;
    // "Backup Before Write": whether programming a radio first reads and keeps what it holds
    // (default on; "0" turns it off).
    bool backupBeforeWrite() const;
    void setBackupBeforeWrite(bool on);
    void setBackupDays(int days);

  private:
    SettingsBackend& backend_;
    std::function<void()> recentFilesChanged_;
};

// The rules over the installed backend (Services::settings, else one in memory), telling
// Services::recentFilesChanged about new recent files.
SettingsStore settings();

}  // namespace tarn
