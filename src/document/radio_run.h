#pragma once

#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "document/radio_workflow.h"
#include "radio/serial_link.h"

namespace tarn {

// What the radio commands of the workflow share inside the document layer: one command's
// run with its report, its backups and its link to the radio.

std::time_t nowOf(const RadioSetup& setup);
std::string timeOfDay(std::time_t when, const char* format = "%H:%M");
std::string nameOf(const ClientRecord& client);
std::string serialOf(const ClientRecord& client);
std::string selcallOf(const ClientRecord& client);
// `pattern` with its %s and %d filled in by `parts` in order.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string> parts);
// The file a document's backups name (empty while it is untitled).
std::filesystem::path databasePathOf(const DatabaseDocument& document);

// The backups one command keeps, gathered in its report.
class Backups {
  public:
    Backups(std::filesystem::path database, const RadioSetup& setup, RadioReport& report)
        : database_(std::move(database)), setup_(setup), report_(report) {}

    // Keeps `client` with `image` (or its own image) as a backup; a failure is remembered
    // once and stops nothing.
    void keep(BackupKind kind, const ClientRecord& client, const RadioImage* image = nullptr);
    std::filesystem::path folder() const;

  private:
    std::filesystem::path database_;
    const RadioSetup& setup_;
    RadioReport& report_;
};

// One command's run: its report, backups and link to the radio. Backups older than the
// "Backup Days" setting go before new ones come.
class Run {
  public:
    Run(const std::filesystem::path& database, const RadioSetup& setup, RadioTask task);

    SerialLink& link() { return link_; }
    RadioReport& report() { return report_; }
    Backups& backups() { return backups_; }

    // Takes the outcome of the link's last exchange, noting whether a message box told
    // the user of its failure.
    void takeOutcome();

  private:
    RadioReport report_;
    Backups backups_;
    SerialLink link_;
};

}  // namespace tarn
