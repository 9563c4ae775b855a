// tarn-cli read [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX: a radio's memory into a
// client, then save.
#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "database/client_database.h"
#include "model/message_texts.h"

namespace tarn::cli {
namespace {

// A name beside `file` that no file has yet: "fleet-read-20260102-130405.tdb".
std::string unusedNameBeside(const std::string& file) {
    namespace fs = std::filesystem;
    const fs::path path(file);
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "-read-%Y%m%d-%H%M%S", std::localtime(&now));
    std::string name;
    std::error_code error;
    for (int n = 1; n < 1000; ++n) {
        // Appended piece by piece: GCC 12 at -O3 warns falsely about joined strings.
        name = (path.parent_path() / path.stem()).string();
        name += stamp;
        if (n > 1) {
            name += '-';
            name += std::to_string(n);
        }
        name += ".tdb";
        if (!fs::exists(fs::symlink_status(name, error))) return name;
    }
    return {};
}

// The read client alone in a new database file beside FILE, so that a failed save does
// not throw away a radio's memory that took twenty seconds to read; else the backup that
// holds it is named.
void keepReadClient(const ClientDatabase& db, int index, const std::string& file,
                    const RadioReport& report) {
    ClientDatabase kept(false);
    const std::string name = unusedNameBeside(file);
    if (kept.addClient() == 0 && !name.empty()) {
        *kept.client(0) = *db.client(index);
        if (kept.save(name)) {
            std::fprintf(stderr, msg::kCliReadKept, name.c_str());
            return;
        }
    }
    if (!report.backups.empty())
        std::fprintf(stderr, msg::kCliReadInBackup, report.backups.front().string().c_str());
    else
        std::fputs(msg::kCliReadNotKept, stderr);
}

}  // namespace

int runRead(const std::vector<std::string>& args) {
    constexpr const char* kUsage = "read [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX";
    RadioCommand command;
    loadForEditing();
    if (const auto code = command.prepare(args, kUsage, msg::kNoClientsToRead)) return *code;
    const RadioReport report = readRadio(command.document, command.index, command.setup());
    const int code = command.finish(report);
    if (code != kExitOk || !report.changed) return code;
    // Nobody answers a question here: a file changed meanwhile is refused, not replaced.
    command.document.database().setAskBeforeReplacingChanges(false);
    if (saveDatabase(command.document)) return kExitOk;
    keepReadClient(command.document.database(), command.index, fullPath(command.file), report);
    return kExitFailure;
}

}  // namespace tarn::cli
