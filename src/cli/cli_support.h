#pragma once

#include <filesystem>
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

// A list of client indexes as "3,5-12"; nothing after its message when it is no such list.
std::optional<std::vector<int>> parseClientList(const std::string& text);
// True when the database holds every client of the list; else names the first missing one.
bool hasClients(const ClientDatabase& database, const std::vector<int>& indexes);

// A plain non-negative decimal number, as a client index is typed.
std::optional<int> parseIndex(std::string_view text);
// Client indexes as a list is typed ("3,5-12"), in that order without repeats; nothing
// when a part is no index or a range runs backwards.
std::optional<std::vector<int>> parseIndexList(std::string_view text);

// With --remember, a database file loaded or saved goes to the front of the desktop
// program's recent-file list (by its full path, as the program lists it); without it
// the tool leaves the list alone.
void setRememberFiles(bool remember);
// Commands that load, change and save a database (read, import) call this before the
// load: the document then holds the database's editing lock from the load on, waiting a
// few seconds for another program to finish with it, so that two programs never save
// over each other's edits; one that keeps it longer is refused, named. Commands that only
// read a database need no lock.
void loadForEditing();
// Opens a database file into the document by its full path, or saves the document to its
// file. The core has already told any failure.
bool loadDatabase(DatabaseDocument& document, const std::string& path);
bool saveDatabase(DatabaseDocument& document);
// Saves a new database under exactly this path (tarn-cli new).
bool saveNewDatabase(DatabaseDocument& document, const std::string& path);
std::string fullPath(const std::string& path);

// A path as typed on the command line (see commandLineWords), and back.
std::filesystem::path pathFromArgument(const std::string& argument);
std::string argumentFromPath(const std::filesystem::path& path);
// The arguments after the program's name: on Windows from the system's UTF-16 command
// line as UTF-8, so that any file name reaches the program; elsewhere as given.
std::vector<std::string> commandLineWords(int argc, char** argv);

// Whether an output file may be written: an existing file only with --force (`force`),
// only when it is a regular file reached safely (checkReplaceable), and never a database
// file this run has open, whatever its name. Nothing when it may; else the failure exit
// code, after its message.
std::optional<int> refuseOutput(const std::string& output, bool force);

// Text for the terminal: UTF-8 as it is, but every control character (C0, DEL, C1; a
// line feed only without `lineBreaks`) and every byte that is not UTF-8 written as "\x1b",
// so that no text from a file or a path can move the cursor, clear the screen or retitle
// the terminal. Everything the tool prints that came from a file, a path or an argument
// goes through here.
std::string terminalText(std::string_view text, bool lineBreaks = false);
// A record's 8-bit text (text_codec.h) for the terminal.
std::string shownText(std::string_view recordText);
// A JSON string literal (quotes included) of UTF-8 text, every control character (DEL and
// C1 too) escaped as \u00XX; a byte that is not UTF-8 becomes U+FFFD.
std::string jsonText(std::string_view utf8);
// The same of a record's 8-bit text.
std::string jsonString(std::string_view recordText);

// A command-line argument as UTF-8, decoded from the encoding of the user's locale (the
// ANSI code page on Windows). argument_text_posix.cpp, argument_text_win32.cpp.
std::string argumentUtf8(const std::string& argument);

// Left-aligned columns separated by two blanks, for the human-readable listings.
std::string formatTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace tarn::cli
