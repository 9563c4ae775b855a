#include "cli/cli_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/cli_command.h"
#include "database/client_database.h"
#include "database/output_guard.h"
#include "database/replace_file.h"
#include "document/database_document.h"
#include "model/index_list.h"
#include "model/message_texts.h"
#include "model/text_codec.h"
#include "model/user_feedback.h"

namespace tarn::cli {

std::optional<Arguments> parseArguments(const std::vector<std::string>& args,
                                        const std::set<std::string>& flags,
                                        const std::set<std::string>& valued,
                                        std::size_t positionalCount) {
    Arguments parsed;
    bool options = true;  // "--" ends them: a file may be named "--force"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            if (flags.count(arg)) {
                parsed.flags.insert(arg);
            } else if (valued.count(arg) && i + 1 < args.size()) {
                parsed.values[arg] = args[++i];
            } else {
                std::fprintf(stderr,
                             valued.count(arg) ? msg::kCliOptionNeedsValue : msg::kCliUnknownOption,
                             arg.c_str());
                return std::nullopt;
            }
        } else {
            parsed.positional.push_back(arg);
        }
    }
    const std::size_t count = parsed.positional.size();
    if (positionalCount == kOneOrMore ? count == 0 : count != positionalCount) return std::nullopt;
    return parsed;
}

int usageError(const char* usage) {
    std::fprintf(stderr, msg::kCliUsage, usage);
    return kExitUsage;
}

bool hasClient(const ClientDatabase& database, int index) {
    if (database.client(index)) return true;
    std::fprintf(stderr, msg::kCliNoSuchClient, index, database.clientCount());
    return false;
}

std::optional<std::vector<int>> parseIndexList(std::string_view text) {
    return tarn::parseIndexList(text);
}

std::optional<std::vector<int>> parseClientList(const std::string& text) {
    std::optional<std::vector<int>> list = parseIndexList(text);
    if (!list) std::fprintf(stderr, msg::kCliBadList, text.c_str());
    return list;
}

bool hasClients(const ClientDatabase& database, const std::vector<int>& indexes) {
    return std::all_of(indexes.begin(), indexes.end(),
                       [&](int index) { return hasClient(database, index); });
}

std::optional<int> parseIndex(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string fullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(pathFromArgument(path), error);
    return error ? path : argumentFromPath(full.lexically_normal());
}

std::optional<int> refuseOutput(const std::string& output, bool force) {
    namespace fs = std::filesystem;
    const fs::path path = pathFromArgument(output);
    std::error_code error;
    if (!mayReplaceWithOutput(path, MessageOwner::none())) return kExitFailure;
    if (!force && fs::exists(fs::symlink_status(path, error))) {
        std::fprintf(stderr, msg::kCliOutputExists, terminalText(output).c_str());
        return kExitFailure;
    }
    const std::string refusal = replaceRefusalText(checkReplaceable(path), path);
    if (!refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return kExitFailure;
    }
    return std::nullopt;
}

namespace {

bool rememberFiles = false;
bool forEditing = false;

}  // namespace

void setRememberFiles(bool remember) {
    rememberFiles = remember;
}

void loadForEditing() {
    forEditing = true;
}

bool loadDatabase(DatabaseDocument& document, const std::string& path) {
    document.setRemembersFiles(rememberFiles);
    if (forEditing) document.setLocking(DatabaseDocument::Locking::WaitOrRefuse);
    return document.open(pathFromArgument(fullPath(path)));
}

bool saveDatabase(DatabaseDocument& document) {
    document.setRemembersFiles(rememberFiles);
    return document.save() == DatabaseDocument::SaveResult::Saved;
}

bool saveNewDatabase(DatabaseDocument& document, const std::string& path) {
    document.setRemembersFiles(rememberFiles);
    return document.saveNamed(pathFromArgument(fullPath(path)));
}

std::string terminalText(std::string_view text, bool lineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const std::optional<char32_t> c = nextUtf8(text, at);
        const bool control = !c || *c < 0x20 || (*c >= 0x7F && *c < 0xA0);
        if (!control || (lineBreaks && *c == '\n')) {
            out.append(text.substr(start, at - start));
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x",
                      c ? static_cast<unsigned>(*c) : static_cast<unsigned char>(text[start]));
        out += escaped;
    }
    return out;
}

std::string shownText(std::string_view recordText) {
    return terminalText(ansiToUtf8(recordText));
}

std::string jsonString(std::string_view recordText) {
    return jsonText(ansiToUtf8(recordText));
}

std::string jsonText(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const char32_t c = nextUtf8(utf8, at).value_or(0xFFFD);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out.append(utf8, start, at - start);
                }
        }
    }
    return out + "\"";
}

namespace {

// Characters shown, counting a UTF-8 sequence once.
std::size_t displayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

std::string formatTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], displayWidth(row[i]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line.append(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

}  // namespace tarn::cli
