#pragma once

// The texts the radio exchanges show.
namespace tarn::radio_text {

inline constexpr const char* kConnectPrompt =
    "Connect the serial cable.\nPress both channel up and down keys for 2 seconds until "
    "RS-232 is displayed.\nThen press OK.";
inline constexpr const char* kOpenFailed = "Failed to open the serial port.";
inline constexpr const char* kContactFailed = "Failed to contact the radio.";
inline constexpr const char* kInvalidData = "Received invalid data from the radio.";
inline constexpr const char* kVerifyFailed =
    "Verify failed!\nThe data was not successfully written to the client.";
inline constexpr const char* kReadingCaption = "Reading radio";
inline constexpr const char* kVerifyingCaption = "Verifying radio";
inline constexpr const char* kProgrammingCaption = "Programming radio";
// The read before programming, which keeps what the radio held.
inline constexpr const char* kReadingBeforeWriteCaption = "Reading radio before programming";
inline constexpr const char* kRequesting = "Requesting data from radio...";
inline constexpr const char* kReceived = "Received %u bytes";
inline constexpr const char* kProcessing = "Processing data...";
inline constexpr const char* kSent = "Sent %u bytes";

// Radios programmed in a row, and a radio recognised by what it holds.
inline constexpr const char* kAlreadyHeld =
    "The radio already holds '%s': not programmed (%d bytes compared) at %s";
inline constexpr const char* kConnectRadioFor = "Connect the radio for '%s' (serial %s)";
inline constexpr const char* kQueueVerified = "verified";
inline constexpr const char* kQueueAlreadyHeld = "already held";
inline constexpr const char* kQueueFailed = "failed";
inline constexpr const char* kQueueSkipped = "skipped";
inline constexpr const char* kQueueNotReached = "not programmed";
inline constexpr const char* kQueueSummary = "%d of %d radios verified";
inline constexpr const char* kIdentifiedExactly = "The radio holds exactly '%s' (serial %s) of %s";
inline constexpr const char* kIdentifiedClosest =
    "The radio is closest to '%s' (serial %s) of %s: %s, %d channels differ";
inline constexpr const char* kSameSelcall = "same selcall";
inline constexpr const char* kOtherSelcall = "another selcall";
inline constexpr const char* kNoClientToMatch = "No open database holds a client to match.";

}  // namespace tarn::radio_text

// What probing a port found, and why a port did not open (the lines under kOpenFailed).
namespace tarn::probe_text {

inline constexpr const char* kAnswered = "The radio answered.";
inline constexpr const char* kNoAnswer = "No radio answered.";
inline constexpr const char* kCannotOpen = "The port cannot be opened.";
inline constexpr const char* kNoSuchDevice = "There is no such device.";
inline constexpr const char* kNotSerial = "The device is not a serial port.";
inline constexpr const char* kBusy = "The port is busy: another program is using it.";
inline constexpr const char* kLockedBy = "The port is busy: process %s holds its lock file %s.";
inline constexpr const char* kLockedByFile =
    "The port is busy: its lock file %s names no process; remove it if no program uses the port.";
inline constexpr const char* kPermissionGroup =
    "Permission denied: add your user to the group '%s' and log in again.";
inline constexpr const char* kJoinGroup = "To add it: sudo usermod -aG %s %s";
inline constexpr const char* kPermissionDenied =
    "Permission denied: this user may not open the port.";
inline constexpr const char* kConsole = "Left alone: it is the system console.";
inline constexpr const char* kSession =
    "Left alone: it is the terminal of a running session (process %s).";

}  // namespace tarn::probe_text

namespace tarn::radio_text {

// Every text above that a user meets, for the check that the manual explains each one.
inline constexpr const char* kEveryText[] = {
    kConnectPrompt,
    kOpenFailed,
    kContactFailed,
    kInvalidData,
    kVerifyFailed,
    kReadingCaption,
    kVerifyingCaption,
    kProgrammingCaption,
    kReadingBeforeWriteCaption,
    kRequesting,
    kReceived,
    kProcessing,
    kSent,
    kAlreadyHeld,
    kConnectRadioFor,
    kQueueVerified,
    kQueueAlreadyHeld,
    kQueueFailed,
    kQueueSkipped,
    kQueueNotReached,
    kQueueSummary,
    kIdentifiedExactly,
    kIdentifiedClosest,
    kSameSelcall,
    kOtherSelcall,
    kNoClientToMatch,
    probe_text::kAnswered,
    probe_text::kNoAnswer,
    probe_text::kCannotOpen,
    probe_text::kNoSuchDevice,
    probe_text::kNotSerial,
    probe_text::kBusy,
    probe_text::kLockedBy,
    probe_text::kLockedByFile,
    probe_text::kPermissionGroup,
    probe_text::kJoinGroup,
    probe_text::kPermissionDenied,
    probe_text::kConsole,
    probe_text::kSession,
};

}  // namespace tarn::radio_text
