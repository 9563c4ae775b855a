#include "document/radio_workflow.h"

#include <algorithm>
#include <array>

#include "document/database_document.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/radio_texts.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"

namespace tarn {
namespace {

std::time_t nowOf(const RadioSetup& setup) {
    return setup.now ? setup.now() : std::time(nullptr);
}

std::string timeOfDay(std::time_t when) {
    char text[8] = "00:00";
    if (const std::tm* local = std::localtime(&when))
        std::strftime(text, sizeof text, "%H:%M", local);
    return text;
}

std::string nameOf(const ClientRecord& client) {
    char name[kNameSize] = {};
    client.getName(name, sizeof name);
    return name;
}

// The backups one command keeps, gathered in its report.
class Backups {
  public:
    Backups(const DatabaseDocument& document, const RadioSetup& setup, RadioReport& report)
        : document_(document), setup_(setup), report_(report) {}

    // Keeps `client` with `image` (or its own image) as a backup; a failure is remembered
    // once and stops nothing.
    void keep(BackupKind kind, const ClientRecord& client, const RadioImage* image = nullptr) {
        ClientRecord kept = client;
        if (image) kept.image() = *image;  // as it came: no channel check
        const std::filesystem::path database =
            document_.untitled() ? std::filesystem::path() : document_.fileName();
        const BackupResult result = keepBackupIn(folder(), kind, database, kept, nowOf(setup_));
        if (result.ok())
            report_.backups.push_back(result.file);
        else if (report_.backupFailure.empty())
            report_.backupFailure = result.failure;
    }

    std::filesystem::path folder() const {
        return setup_.backupFolder.empty() ? backupFolder() : setup_.backupFolder;
    }

  private:
    const DatabaseDocument& document_;
    const RadioSetup& setup_;
    RadioReport& report_;
};

// One command's run: its report, backups and link to the radio.
class Run {
  public:
    Run(DatabaseDocument& document, const RadioSetup& setup, RadioTask task)
        : backups_(document, setup, report_), link_(setup.port, setup.log) {
        report_.task = task;
        // Backups older than the "Backup Days" setting go before new ones come.
        pruneBackups(backups_.folder(), settings().backupDays(), nowOf(setup));
    }

    SerialLink& link() { return link_; }
    RadioReport& report() { return report_; }
    Backups& backups() { return backups_; }

    // Takes the outcome of the link's last exchange, noting whether a message box told
    // the user of its failure.
    void takeOutcome() {
        report_.outcome = link_.outcome();
        const RadioFailure f = report_.outcome.failure;
        report_.failureTold = f == RadioFailure::PortNotOpened || f == RadioFailure::NoContact ||
                              f == RadioFailure::InvalidData || f == RadioFailure::Incomplete;
    }

  private:
    RadioReport report_;
    Backups backups_;
    SerialLink link_;
};

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
    Run run(document, setup, RadioTask::Read);
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
    Backups backups(document, setup, report);
    report.task = RadioTask::Read;
    loadIntoClient(document, index, image, setup, backups, report);
}

RadioReport compareRadio(DatabaseDocument& document, int index, const RadioSetup& setup) {
    Run run(document, setup, RadioTask::Compare);
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
    Run run(document, setup, RadioTask::Write);
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
    if (!link.askToConnect(setup.owner)) {
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
