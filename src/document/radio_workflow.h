#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "database/client_compare.h"
#include "database/radio_backups.h"
#include "model/client_record.h"
#include "model/window_handle.h"
#include "radio/radio_outcome.h"

namespace tarn {

class DatabaseDocument;
class RadioLog;

// The radio commands of both programs: read a radio into a client, program a client into
// a radio and verify it, compare a radio with a client. Each runs the same steps in the
// same order wherever it is started: the prompt, the exchanges, the backups of what the
// radio sent (exactly as it arrived), the channel check, one undo step for a change, the
// report line and the transcript. The front ends only show and ask.
enum class RadioTask { Read, Write, Compare };

// What a radio command needs besides the document and the client.
struct RadioSetup {
    WindowHandle owner = nullptr;   // the window that asks and shows progress (none: tarn-cli)
    std::string port;               // the device to open (the "Port" setting, as a rule)
    RadioLog* log = nullptr;        // where the exchanges are recorded (null: nowhere)
    bool backupBeforeWrite = true;  // Write: read and keep what the radio holds first
    // When it is (backup names, the report's time of day); empty: the system clock.
    std::function<std::time_t()> now;
    std::filesystem::path backupFolder;  // empty: the user's backup folder
    bool askToConnect = true;            // false: the front end has asked for this radio already
    // Write: a radio found holding exactly the client (read before, byte for byte) is not
    // programmed again; that read counts as its verification.
    bool skipWhenHeld = false;
};

// What a radio command did.
struct RadioReport {
    RadioTask task = RadioTask::Read;
    RadioOutcome outcome;
    // The report line ("Read the radio into 'X' (2048 bytes) at 10:32"); empty when a
    // refusal's message said everything.
    std::string text;
    // Whether a message box told what went wrong (else a front end without a status line
    // should say `text`).
    bool failureTold = false;
    bool changed = false;                        // Read: the client took the radio's memory
    bool alreadyHeld = false;                    // Write: the radio held exactly this client before
    int repaired = 0;                            // Read: channels the channel check repaired
    std::optional<RadioImage> radioImage;        // as the radio sent it (a Write: the read-back)
    std::optional<ImageComparison> comparison;   // Compare
    std::vector<std::filesystem::path> backups;  // kept, in order
    std::string backupFailure;  // the first backup that could not be kept, in words

    bool succeeded() const;
    // tarn-cli's exit code: 0 done, 1 failed or cancelled, 3 programmed but verification
    // found a difference (or read nothing back), 4 the radio differs from the client.
    int exitCode() const;
};

// Reads the radio into client `index`: the radio's memory is kept as a backup as it came,
// the channel check runs on it (with its messages), and when it differs from the client
// the client as it was is kept too and replaced (one undo step, "Read radio into 'X'").
RadioReport readRadio(DatabaseDocument& document, int index, const RadioSetup& setup);
// Programs client `index` into the radio and verifies it, first reading and keeping what
// the radio holds (setup.backupBeforeWrite; a failed read then programs nothing). The
// read-back is kept as a backup. The document does not change. A client without channels
// is refused with its message.
RadioReport programRadio(DatabaseDocument& document, int index, const RadioSetup& setup);
// Reads the radio and compares it with client `index`, changing nothing but the backups.
RadioReport compareRadio(DatabaseDocument& document, int index, const RadioSetup& setup);
// After a Compare: the client takes the image the radio sent, as a Read would load it.
void replaceClientWithImage(DatabaseDocument& document, int index, const RadioImage& image,
                            const RadioSetup& setup, RadioReport& report);

}  // namespace tarn
