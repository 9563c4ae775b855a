#include "document/radio_workflow.h"

#include <algorithm>
#include <array>

#include "document/database_document.h"
#include "document/radio_run.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/radio_texts.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"

namespace tarn {
namespace {

// Loads an image from the radio into the client: the channel check runs on a copy (with
// its messages), and only a client that would change is kept and replaced.
void loadIntoClient(DatabaseDocument& document, int index, const RadioImage& image,
                    const RadioSetup& setup, Backups& backups, RadioReport& report) {
    const ClientRecord& client = *document.database().client(index);
    ClientRecord checked = client;
    checked.loadImage(image.data(), kImageSize);
    report.repaired = repairedChannels(image.data(), checked.image().data());
    report.changed = checked.image() != client.image();
    const std::string name = nameOf(client);
    if (report.changed) {
        backups.keep(BackupKind::BeforeRead, client);
        document.change(
            [&](ClientDatabase& db) {
                // Checked already: the check finds nothing more and says nothing again.
                return db.loadClientImage(index, checked.image().data(), kImageSize);
            },
            "Read radio into '" + name + "'");
    }
    report.text = readReport(report.outcome, name, kImageSize, report.repaired,
                             timeOfDay(nowOf(setup)), !report.changed);
}

}  // namespace

bool RadioReport::succeeded() const {
    if (outcome.failure != RadioFailure::None) return false;
    return task != RadioTask::Write || outcome.verified == RadioOutcome::Verify::Passed;
}

int RadioReport::exitCode() const {
    if (task == RadioTask::Write && outcome.verified != RadioOutcome::Verify::NotRun)
        return outcome.verified == RadioOutcome::Verify::Passed ? 0 : 3;
    if (outcome.failure != RadioFailure::None) return 1;
    if (task == RadioTask::Compare && comparison && !comparison->identical()) return 4;
    return 0;
}

RadioReport readRadio(DatabaseDocument& document, int index, const RadioSetup& setup) {
    Run run(databasePathOf(document), setup, RadioTask::Read);
    RadioImage image{};
    const ClientRecord& client = *document.database().client(index);
    if (!run.link().readRadio(setup.owner, image.data(), kImageSize, false)) {
        run.takeOutcome();
        run.report().text = readReport(run.report().outcome, nameOf(client), kImageSize, 0, "");
        return run.report();
    }
    run.takeOutcome();
    run.report().radioImage = image;
    run.backups().keep(BackupKind::Radio, client, &image);
    loadIntoClient(document, index, image, setup, run.backups(), run.report());
    return run.report();
}

void replaceClientWithImage(DatabaseDocument& document, int index, const RadioImage& image,
                            const RadioSetup& setup, RadioReport& report) {
    Backups backups(databasePathOf(document), setup, report);
    report.task = RadioTask::Read;
    loadIntoClient(document, index, image, setup, backups, report);
}

RadioReport compareRadio(DatabaseDocument& document, int index, const RadioSetup& setup) {
    Run run(databasePathOf(document), setup, RadioTask::Compare);
    RadioReport& report = run.report();
    const ClientRecord& client = *document.database().client(index);
    RadioImage image{};
    if (!run.link().readRadio(setup.owner, image.data(), kImageSize,
                              ExchangeOptions{true, nullptr, "Compare"})) {
        run.takeOutcome();
        report.text = compareReport(report.outcome, nameOf(client), 0, "");
        return report;
    }
    run.takeOutcome();
    report.radioImage = image;
    run.backups().keep(BackupKind::Radio, client, &image);
    report.comparison = compareWithImage(client, image);
    const int differences =
        report.comparison->identical() ? 0 : static_cast<int>(report.comparison->lines().size());
    report.text =
        compareReport(report.outcome, nameOf(client), differences, timeOfDay(nowOf(setup)));
    return report;
}

RadioReport programRadio(DatabaseDocument& document, int index, const RadioSetup& setup) {
    Run run(databasePathOf(document), setup, RadioTask::Write);
    RadioReport& report = run.report();
    const ClientRecord& client = *document.database().client(index);
    const std::string name = nameOf(client);
    if (client.hasNoChannels()) {
        showError(MessageOwner::of(setup.owner), msg::kNoChannelsDefined);
        report.outcome.failure = RadioFailure::Cancelled;
        report.failureTold = true;  // the message says it all
        return report;
    }
    SerialLink& link = run.link();
    if (setup.askToConnect && !link.askToConnect(setup.owner)) {
        run.takeOutcome();
        report.text = writeReport(report.outcome, name, "");
        return report;
    }
    bool keptBefore = false;
    if (setup.backupBeforeWrite) {
        RadioImage before{};
        const ExchangeOptions reading{false, radio_text::kReadingBeforeWriteCaption,
                                      "Read before write"};
        if (!link.readRadio(setup.owner, before.data(), kImageSize, reading)) {
            // Programming over a memory nobody could keep is what the backup prevents.
            run.takeOutcome();
            report.text = writeReport(report.outcome, name, "", false, true);
            return report;
        }
        run.backups().keep(BackupKind::BeforeWrite, client, &before);
        keptBefore = report.backupFailure.empty();
        report.alreadyHeld = before == client.image();
        if (report.alreadyHeld && setup.skipWhenHeld) {
            report.outcome.verified = RadioOutcome::Verify::Passed;
            report.text = fillIn(radio_text::kAlreadyHeld,
                                 {name, std::to_string(kImageSize), timeOfDay(nowOf(setup))});
            return report;
        }
    }
    link.writeRadio(setup.owner, client.image().data(), kImageSize, true,
                    ExchangeOptions{false, nullptr, nullptr});
    run.takeOutcome();
    if (link.lastReadBack().size() == kImageSize) {
        RadioImage back{};
        std::copy(link.lastReadBack().begin(), link.lastReadBack().end(), back.begin());
        report.radioImage = back;
        run.backups().keep(BackupKind::Verified, client, &back);
    }
    // The verification read's failures were told with the warning of a failed verify.
    if (report.outcome.verified != RadioOutcome::Verify::NotRun) report.failureTold = true;
    report.text = writeReport(report.outcome, name, timeOfDay(nowOf(setup)), keptBefore);
    return report;
}

}  // namespace tarn
