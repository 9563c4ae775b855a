#include "document/radio_run.h"

#include <array>

#include "document/database_document.h"
#include "model/user_feedback.h"
#include "settings/settings_store.h"

namespace tarn {

std::time_t nowOf(const RadioSetup& setup) {
    return setup.now ? setup.now() : std::time(nullptr);
}

std::string timeOfDay(std::time_t when, const char* format) {
    char text[16] = "00:00";
    if (const std::tm* local = std::localtime(&when))
        std::strftime(text, sizeof text, format, local);
    return text;
}

std::string nameOf(const ClientRecord& client) {
    char name[kNameSize] = {};
    client.getName(name, sizeof name);
    return name;
}

std::string serialOf(const ClientRecord& client) {
    char serial[kSerialSize + 1] = {};
    client.getSerial(serial, sizeof serial);
    return serial;
}

std::string selcallOf(const ClientRecord& client) {
    char selcall[8] = {};
    client.getSelcall(selcall, sizeof selcall);
    return selcall;
}

std::string fillIn(std::string_view pattern, std::initializer_list<std::string> parts) {
    std::string text(pattern);
    for (const std::string& part : parts) text = formatMessage(text, std::string_view(part));
    return text;
}

std::filesystem::path databasePathOf(const DatabaseDocument& document) {
    return document.untitled() ? std::filesystem::path() : document.fileName();
}

void Backups::keep(BackupKind kind, const ClientRecord& client, const RadioImage* image) {
    ClientRecord kept = client;
    if (image) kept.image() = *image;  // as it came: no channel check
    const BackupResult result = keepBackupIn(folder(), kind, database_, kept, nowOf(setup_));
    if (result.ok())
        report_.backups.push_back(result.file);
    else if (report_.backupFailure.empty())
        report_.backupFailure = result.failure;
}

std::filesystem::path Backups::folder() const {
    return setup_.backupFolder.empty() ? backupFolder() : setup_.backupFolder;
}

Run::Run(const std::filesystem::path& database, const RadioSetup& setup, RadioTask task)
    : backups_(database, setup, report_), link_(setup.port, setup.log) {
    report_.task = task;
    pruneBackups(backups_.folder(), settings().backupDays(), nowOf(setup));
}

void Run::takeOutcome() {
    report_.outcome = link_.outcome();
    const RadioFailure f = report_.outcome.failure;
    report_.failureTold = f == RadioFailure::PortNotOpened || f == RadioFailure::NoContact ||
                          f == RadioFailure::InvalidData || f == RadioFailure::Incomplete;
}

}  // namespace tarn
