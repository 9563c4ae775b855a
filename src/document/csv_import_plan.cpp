#include "document/csv_import_plan.h"

#include "database/client_database.h"
#include "document/database_document.h"
#include "model/message_texts.h"
#include "model/text_codec.h"
#include "model/user_feedback.h"

namespace tarn {

ImportPlan planImport(const ClientDatabase& database, const CsvImport& read, bool readable) {
    ImportPlan plan;
    const int room = importRoom(database);
    if (read.readable == 0) {
        plan.refusal = read.errorCount > 0 ? msg::kImportNothingReadable : msg::kImportNoClients;
        return plan;
    }
    if (room == 0) {
        plan.refusal = formatMessage(msg::kImportDatabaseFull, kMaxClients);
        return plan;
    }
    if (read.errorCount > 0 && !readable) {
        plan.refusal = msg::kImportUnreadable;
        return plan;
    }
    plan.count = std::min(read.readable, room);
    if (read.readable > room)
        plan.tooMany = formatMessage(
            formatMessage(formatMessage(msg::kImportTooMany, read.readable), room), kMaxClients);
    plan.dealerText = dealerTextOffered(database, read);
    if (plan.dealerText && dealerTextAsks(database))
        plan.dealerTextQuestion =
            formatMessage(formatMessage(msg::kImportDealerText,
                                        std::string_view(ansiToUtf8(database.dealerString()))),
                          std::string_view(ansiToUtf8(*read.dealerText)));
    return plan;
}

CsvImportSummary importPlanned(DatabaseDocument& document, const CsvImport& read,
                               const ImportPlan& plan) {
    CsvImportSummary summary;
    if (plan.count == 0) return summary;
    document.change(
        [&](ClientDatabase& db) {
            summary = importClients(db, read, plan.count, plan.dealerText);
            return 1;
        },
        [&] { return "Import " + std::to_string(summary.clients) + " clients"; });
    return summary;
}

}  // namespace tarn
