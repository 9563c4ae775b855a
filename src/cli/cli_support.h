#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {
class ClientDatabase;
class DatabaseDocument;
}  // namespace tarn

namespace tarn::cli {

// Options and positional arguments of one subcommand. Flags stand alone ("--yes"),
// valued options take the next argument ("--port NAME").
struct Arguments {
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
    std::vector<std::string> positional;
};

// Splits `args`; nothing when an option is unknown, lacks its value, or the number of
// positional arguments is not `positionalCount` (kOneOrMore: at least one).
inline constexpr std::size_t kOneOrMore = static_cast<std::size_t>(-1);
std::optional<Arguments> parseArguments(const std::vector<std::string>& args,
                                        const std::set<std::string>& flags,
                                        const std::set<std::string>& valued,
                                        std::size_t positionalCount);

// Prints "usage: tarn-cli <usage>" on stderr and returns the usage exit code.
int usageError(const char* usage);

// True when the database holds a client at `index`; else says so on stderr.
bool hasClient(const ClientDatabase& database, int index);

// A plain non-negative decimal number, as a client index is typed.
std::optional<int> parseIndex(std::string_view text);
// Client indexes as a list is typed ("3,5-12"), in that order without repeats; nothing
// when a part is no index or a range runs backwards.
std::optional<std::vector<int>> parseIndexList(std::string_view text);

// With --remember, a database file loaded or saved goes to the front of the desktop
// program's recent-file list (by its full path, as the program lists it); without it
// the tool leaves the list alone.
void setRememberFiles(bool remember);
// Opens a database file into the document by its full path, or saves the document to its
// file. The core has already told any failure.
bool loadDatabase(DatabaseDocument& document, const std::string& path);
bool saveDatabase(DatabaseDocument& document);
// Saves a new database under exactly this path (tarn-cli new).
bool saveNewDatabase(DatabaseDocument& document, const std::string& path);
std::string fullPath(const std::string& path);

// Whether an output file may be written: an existing file only with --force (`force`),
// and never a database file this run has open, whatever its name. Nothing when it may;
// else the failure exit code, after its message.
std::optional<int> refuseOutput(const std::string& output, bool force);

// Texts in files are 8-bit; the tool shows them decoded as Latin-1.
std::string latin1ToUtf8(std::string_view text);
// A JSON string literal (quotes included) of an 8-bit text decoded as Latin-1.
std::string jsonString(std::string_view latin1);

// Left-aligned columns separated by two blanks, for the human-readable listings.
std::string formatTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace tarn::cli
