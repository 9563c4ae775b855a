#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/database_document.h"
#include "document/radio_workflow.h"
#include "radio/radio_log.h"

namespace tarn::cli {

// What read, write and compare share: [--port NAME] [--yes] [--log FILE [--force]] FILE
// INDEX, the document they work on, the transcript of the run, and how their report is told.
struct RadioCommand {
    std::string file;
    int index = -1;
    std::vector<int> indexes;  // a LIST in place of INDEX (prepare's `list`): all of it
    std::string port;          // empty: the "Port" setting
    bool assumeYes = false;
    std::string logFile;  // empty: no transcript is written
    RadioLog log;
    std::set<std::string> flags;  // the command's own flags given (`ownFlags` of prepare)
    DatabaseDocument document;

    // Parses the arguments, opens FILE and checks that client INDEX exists (`emptyText`
    // tells an empty database). Nothing on success, else the exit code after its message.
    std::optional<int> prepare(const std::vector<std::string>& args, const char* usage,
                               const char* emptyText, const std::set<std::string>& ownFlags = {},
                               bool list = false);
    // How the radio is reached: the port, the transcript, the answer to the connect prompt,
    // whether a Write keeps what the radio held ("Backup Before Write" unless --no-backup).
    RadioSetup setup();
    // Writes the transcript to the --log file, if one was named, and tells the report's
    // line and any backup failure on stderr. The exit code of the report.
    int finish(const RadioReport& report) const;
};

}  // namespace tarn::cli
