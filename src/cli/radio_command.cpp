#include "cli/radio_command.h"

#include <cstdio>

#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"

namespace tarn::cli {

bool RadioCommand::parse(const std::vector<std::string>& args, const char* usage) {
    const auto parsed = parseArguments(args, {"--yes"}, {"--port"}, 2);
    const auto number = parsed ? parseIndex(parsed->positional[1]) : std::nullopt;
    if (!number) {
        usageError(usage);
        return false;
    }
    file = parsed->positional[0];
    index = *number;
    if (parsed->values.count("--port")) port = parsed->values.at("--port");
    assumeYes = parsed->flags.count("--yes") != 0;
    return true;
}

bool RadioCommand::checkClient(const ClientDatabase& db, const char* emptyText) const {
    if (db.clientCount() == 0) {
        showError(MessageOwner::of(nullptr), emptyText);
        return false;
    }
    if (!db.client(index)) {
        std::fprintf(stderr, "There is no client %d; the database holds %d.\n", index,
                     db.clientCount());
        return false;
    }
    return true;
}

void RadioCommand::setUp(SerialLink& link) const {
    if (!port.empty()) link.usePort(port);
    cliFeedback().setAssumeYes(assumeYes);
}

}  // namespace tarn::cli
