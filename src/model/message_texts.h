#pragma once

// The texts of the messages the desktop program and tarn-cli show, each written once. The
// dealer's manual explains every one of them, and kEveryText lists them for that check: a
// text added here goes into the list too. %d and %s mark what a message fills in
// (formatMessage); tarn-cli's own texts are printf formats.
namespace tarn::msg {

// Copying clients or channels to the clipboard.
inline constexpr const char* kClipboardNoMemory = "Failed to allocate clipboard memory.";
inline constexpr const char* kClipboardNotSet = "Failed to set clipboard data.";
inline constexpr const char* kClipboardError = "Error in clipboard data.";
inline constexpr const char* kClipboardChannelsInvalid =
    "Clipboard channel data appears to be invalid.";
inline constexpr const char* kChannelInUseOverwrite =
    "Channel %d is already in use, do you want to overwrite it?";

// Reading a radio into a client and programming a radio from one.
inline constexpr const char* kNoClientsToRead =
    "There are no clients to read the data to. Please create a new client first using the "
    "'client', 'new' menu item.";
inline constexpr const char* kNoClientsToWrite =
    "There are no clients to write to the radio. Please create a new client first using the "
    "'client', 'new' menu item.";
inline constexpr const char* kNoClientsToCompare =
    "There are no clients to compare with the radio. Please create a new client first using "
    "the 'client', 'new' menu item.";
inline constexpr const char* kNoChannelsDefined = "There are no channels defined.";
inline constexpr const char* kNoClientToRead =
    "There is no client highlighted to read the data too.";
inline constexpr const char* kNoClientToWrite =
    "There is no client highlighted to write to the radio.";
inline constexpr const char* kNoClientToCompare =
    "There is no client highlighted to compare with the radio.";
inline constexpr const char* kChannelsCorrupted =
    "%d channels appear to be corrupted and have been deleted";
inline constexpr const char* kScanChannelsCleared =
    "There were %d scan channels, this is more than the limit of %d.\nAll scan "
    "channels have been deselected";
inline constexpr const char* kPortUnavailable =
    "Port '%s' is either busy or unavailable.\n\nAre you sure you want to use this port?";

// Commands on the clients of the list.
inline constexpr const char* kNoClientsSelected = "There are no clients selected.";
inline constexpr const char* kNoClientsToEdit =
    "There are no clients to edit, would you like to create one?.";
inline constexpr const char* kNoClientToEdit = "There is no client selected to edit.";
inline constexpr const char* kNoClientsToPrint =
    "There are no clients to print, would you like to create one?.";
inline constexpr const char* kNoClientToPrint = "There is no client selected to print.";
inline constexpr const char* kNoClientsToCopy = "There are no clients to copy";
inline constexpr const char* kNoClientToCopy = "There is no client selected to copy.";
inline constexpr const char* kDeleteClients =
    "You are about to delete the selected client(s).\n\nDo you want to continue?";

// Editing a client's channels.
inline constexpr const char* kReceiveInvalid = "Receive frequancy is invalid.";
inline constexpr const char* kTransmitInvalid = "Transmit frequancy is invalid.";
inline constexpr const char* kChannelOutOfRange = "Channel number is out of range (1-255).";
inline constexpr const char* kChannelInUse = "Channel number is already in use.";
inline constexpr const char* kScanListFull = "There are already %d scan channels selected.";
inline constexpr const char* kDeleteChannels =
    "Are you sure you want to delete all %d selected channels?";
inline constexpr const char* kNoFreeChannel =
    "All 255 channels of this client are in use. Delete a channel to make room for a new one.";
inline constexpr const char* kSelcallNotStored =
    "The selcall '%s' is not four digits and was not stored: the client keeps its selcall.";
inline constexpr const char* kDealerTextCut =
    "The dealer text holds at most 99 characters. Characters cut from its end: %d.";

// Database files.
inline constexpr const char* kCannotOpenDatabase = "Could not open database file";
inline constexpr const char* kNotADatabase = "File does not appear to be a database file";
inline constexpr const char* kDatabaseEmpty = "Database file does not contain any information";
inline constexpr const char* kDatabaseInvalid = "Database file is invalid/corrupted";
inline constexpr const char* kDatabaseCorrupted = "Database file is corrupted";
inline constexpr const char* kNoDataToSave = "No data to save";
inline constexpr const char* kCannotCreateDatabase = "Failed to create/open database file";
inline constexpr const char* kCannotWriteDatabase = "Failed to write database file";
inline constexpr const char* kChangedSinceOpened =
    "The file '%s' has been changed by another program since it was opened.\n\n"
    "Do you want to replace it?";
inline constexpr const char* kChangedSinceOpenedRefused =
    "The file '%s' has been changed by another program since it was opened; it was not "
    "replaced.";
inline constexpr const char* kReplaceFile =
    "The file '%s' already exists.\n\nDo you want to replace it?";
inline constexpr const char* kSaveChanges = "Do you want to save changes to '%s'?";
inline constexpr const char* kPathTooLong =
    "The path '%s' is too long.\n\nA database path must be shorter than 260 characters.";
inline constexpr const char* kOpenManyFiles = "Do you really want to open %d files?";
inline constexpr const char* kOutputIsOpenDatabase =
    "'%s' is a database file open in this program; it is never replaced.";

// The save dialog's own checks of the name chosen (titled as the dialog).
inline constexpr const char* kPathNotFound =
    "%s\nPath does not exist.\nCheck the path and try again.";
inline constexpr const char* kFileReadOnly =
    "%s\nThis file is set to read-only.\nTry again with a different file name.";
inline constexpr const char* kCreateFile =
    "%s\nThis file does not exist.\nDo you want to create it?";

// Files another program, another user or the system has a say in.
inline constexpr const char* kNotAFile = "'%s' is not a regular file; it is never replaced.";
inline constexpr const char* kUnsafeLink =
    "'%s' is a link another user made in a shared folder; it is not followed.";
inline constexpr const char* kKeptBeside =
    "'%s' could not be written completely. Its new content is in '%s'.";
inline constexpr const char* kLockHolder = "%s on %s since %s (%s)";
inline constexpr const char* kBeingEdited = "The database '%s' is being edited by %s.";
inline constexpr const char* kOpenReadOnly =
    "The database '%s' is being edited by %s.\n\nDo you want to open it read-only?";
inline constexpr const char* kNotSavedInUse = "'%s' was not saved: it is being edited by %s.";

// CSV export and import; the reasons name one line of the file.
inline constexpr const char* kCannotCreateCsv = "Failed to create/open csv file";
inline constexpr const char* kCannotWriteCsv = "Failed to write csv file";
inline constexpr const char* kCannotOpenCsv = "Could not open csv file";
inline constexpr const char* kCsvTooLarge = "The csv file is too large: it has more than %d MB.";
inline constexpr const char* kUnreadableLines = "%d lines of the file cannot be read:";
inline constexpr const char* kMoreUnreadableLines = "... and %d more";
inline constexpr const char* kImportTotals = "The file holds %d readable clients with %d channels.";
inline constexpr const char* kImportNoClients = "The file holds no clients. Nothing was imported.";
inline constexpr const char* kImportNothingReadable =
    "Nothing was imported: no client of the file can be read.";
inline constexpr const char* kImportUnreadable =
    "Nothing was imported: the file has lines that cannot be read.";
inline constexpr const char* kImportDatabaseFull =
    "The database already holds %d clients. Nothing was imported.";
inline constexpr const char* kImportTooMany =
    "The file holds %d clients; the database has room for %d more (it holds at most %d).";
inline constexpr const char* kImportFirstOnes = "\n\nImport the first %d?";
inline constexpr const char* kImportDealerText =
    "The database's dealer text is \"%s\".\n\nReplace it with the file's first line, \"%s\"?";
inline constexpr const char* kCsvTooLong = "the %s has more than %d characters";
inline constexpr const char* kCsvCannotHold = "the %s cannot hold the character \"%s\"";
inline constexpr const char* kCsvLineBreak = "the %s holds a line break";
inline constexpr const char* kCsvLineTooLong = "the line has more than %d characters";
inline constexpr const char* kCsvNoName = "the client has no name";
inline constexpr const char* kCsvExtraEmptyLine =
    "an empty line too many: the next client's name belongs here";
inline constexpr const char* kCsvClientFields = "a client line needs 9 fields";
inline constexpr const char* kCsvSelcall = "the selcall is not four digits";
inline constexpr const char* kCsvFlag = "\"%s\" must be 1 or empty";
inline constexpr const char* kCsvPower = "\"power\" must be low, mid or high";
inline constexpr const char* kCsvChannelFields = "a channel line needs 9 fields";
inline constexpr const char* kCsvChannelNumber = "the channel number must be 1 to 255";
inline constexpr const char* kCsvChannelTwice = "channel %d appears twice";
inline constexpr const char* kCsvFrequency = "\"%s\" must be a frequency in kHz, such as 7000.0";
inline constexpr const char* kCsvDecimals = "\"%s\" must have at most one decimal";
inline constexpr const char* kCsvRange = "\"%s\" must be from %s to %s kHz";
inline constexpr const char* kCsvScanLimit = "the client has more than %d scan channels";
inline constexpr const char* kCsvNulByte = "the line holds a NUL byte";
inline constexpr const char* kCsvGapExpected = "expected an empty line before the next client";
inline constexpr const char* kCsvHeadingExpected = "expected \"%s\"";
inline constexpr const char* kCsvEndsInClient = "the file ends inside this client";

// Typed text the records cannot hold.
inline constexpr const char* kCannotHoldCharacter = "The %s cannot hold the character \"%s\".";

// Printing.
inline constexpr const char* kNothingToPrint = "Nothing to print.";
inline constexpr const char* kPrinterFont = "Printer font error.";
inline constexpr const char* kPrinterPageSize = "Printer page size error.";
inline constexpr const char* kPrinterDocument = "Printer document error.";
inline constexpr const char* kPrinterPage = "Printer page error.";

// Help, the web site, the backup folder and the radio log.
inline constexpr const char* kFailedToOpen = "Failed to open \"%s\".";
// Under 'Failed to open "Tarn.pdf".' when the file is there but nothing can show it.
inline constexpr const char* kNoXdgOpen =
    "This computer has no xdg-open, which opens a file with its program: install the "
    "package xdg-utils and a PDF viewer. The manual is '%s'.";
inline constexpr const char* kNoPdfViewer =
    "No program is set to open PDF files: install a PDF viewer, such as evince or okular. "
    "The manual is '%s'.";
inline constexpr const char* kNoBackupFolder =
    "The backup folder is unknown: this user has no data folder.";
inline constexpr const char* kBackupFolderNotCreated = "The backup folder '%s' cannot be created";
inline constexpr const char* kBackupNoDataFolder =
    "Backup not kept: the user's data folder is unknown.";
inline constexpr const char* kBackupFolderNotKept =
    "Backup not kept: the backup folder cannot be made (%s).";
inline constexpr const char* kBackupFolderNotPrivate =
    "Backup not kept: other users can reach the backup folder.";
inline constexpr const char* kBackupNotWritten = "Backup not kept: the file cannot be written.";
inline constexpr const char* kFolderNotPrivate = "other users can reach it";
inline constexpr const char* kRadioLogNotWritten = "The radio log could not be written to '%s'.";
inline constexpr const char* kNoRadioExchanges = "No radio exchanges yet.";
inline constexpr const char* kComparisonNotWritten = "The comparison could not be written to '%s'.";

// Fleets: one channel plan for many clients, selcalls without clashes, printing a choice.
inline constexpr const char* kPlanClientNoChannels = "The client %s has no channels to apply.";
inline constexpr const char* kPlanFileNoClient =
    "The file '%s' holds no client whose channels could be applied.";
inline constexpr const char* kPlanNothingApplied = "\n\nNo channels were applied.";
inline constexpr const char* kPlanNoTargets = "Select the clients to apply the channels to first.";
inline constexpr const char* kSelcallsNoAdvanced =
    "None of the selected clients is an advanced client; only advanced clients get selcalls.";
inline constexpr const char* kSelcallsLeftOver =
    "%d of the selected clients got no selcall: none is free up to 9999.";
inline constexpr const char* kSelcallClash = "Selcall %s is used by %d clients: %s";
inline constexpr const char* kSerialClash = "Serial %s is used by %d clients: %s";
inline constexpr const char* kClientNoChannels = "Client %d %s has no channels.";
inline constexpr const char* kPrintEachReplace =
    "%d of the files already exist in '%s'.\n\nDo you want to replace them?";
inline constexpr const char* kPrintEachNotWritten = "The file '%s' could not be written.";
inline constexpr const char* kCliBadList =
    "tarn-cli: \"%s\" is no list of client indexes (like 3,5-12).\n";
inline constexpr const char* kCliSelcallStart = "tarn-cli: the start selcall must be 0 to 9999.\n";
inline constexpr const char* kCliNoFindings = "No findings.";

// tarn-cli's own texts.
// Status bar reports of the database window.
inline constexpr const char* kClientLimitReached =
    "A database holds at most %d clients: no client was added.";
inline constexpr const char* kExportedOneClient = "Exported 1 client to '%s'";
inline constexpr const char* kExportedClients = "Exported %d clients to '%s'";
inline constexpr const char* kCliUsage = "usage: tarn-cli %s\n";
inline constexpr const char* kCliUnknownCommand = "tarn-cli: unknown command \"%s\"\n";
inline constexpr const char* kCliUnknownOption = "tarn-cli: unknown option \"%s\"\n";
inline constexpr const char* kCliOptionNeedsValue = "tarn-cli: option \"%s\" needs a value\n";
inline constexpr const char* kCliNoSuchClient = "There is no client %d; the database holds %d.\n";
inline constexpr const char* kCliOutputExists =
    "The file '%s' already exists. Add --force to replace it.\n";
inline constexpr const char* kCliConfirm =
    "Press Enter to continue, or type anything else to cancel: ";
inline constexpr const char* kCliNoMatch = "No client matches.";
inline constexpr const char* kCliSkipBad = "Add --skip-bad to import the %d readable clients.";
inline constexpr const char* kCliFirstOnes =
    " Nothing was imported. Add --skip-bad to import the first %d.";
inline constexpr const char* kCliReadKept = "The radio's memory was kept in '%s'.\n";
inline constexpr const char* kCliReadNotKept = "The radio's memory could not be kept.\n";
inline constexpr const char* kCliReadInBackup = "The radio's memory is kept in the backup '%s'.\n";
inline constexpr const char* kCliNoPorts = "No serial ports were found.";
inline constexpr const char* kCliRadioFoundOn = "The radio answered on %s.\n";
inline constexpr const char* kCliNoPrint =
    "tarn-cli: print is not available in this build (it was built without Qt).\n";

// A radio's history.
inline constexpr const char* kBackupUnreadable = "The backup %s cannot be read.";
inline constexpr const char* kNoHistory = "No backups of '%s' were found.";
// tarn-cli write with a list of clients, between radios.
inline constexpr const char* kCliQueueAsk = "%s, then press Enter (s: skip, q: stop): ";
inline constexpr const char* kCliQueueRetry = "Enter: try again, s: skip, q: stop: ";

inline constexpr const char* kEveryText[] = {
    kClipboardNoMemory,
    kClipboardNotSet,
    kClipboardError,
    kClipboardChannelsInvalid,
    kChannelInUseOverwrite,
    kNoClientsToRead,
    kNoClientsToWrite,
    kNoClientsToCompare,
    kNoChannelsDefined,
    kNoClientToRead,
    kNoClientToWrite,
    kNoClientToCompare,
    kChannelsCorrupted,
    kScanChannelsCleared,
    kPortUnavailable,
    kNoClientsSelected,
    kNoClientsToEdit,
    kNoClientToEdit,
    kNoClientsToPrint,
    kNoClientToPrint,
    kNoClientsToCopy,
    kNoClientToCopy,
    kDeleteClients,
    kReceiveInvalid,
    kTransmitInvalid,
    kChannelOutOfRange,
    kChannelInUse,
    kScanListFull,
    kDeleteChannels,
    kNoFreeChannel,
    kSelcallNotStored,
    kDealerTextCut,
    kCannotOpenDatabase,
    kNotADatabase,
    kDatabaseEmpty,
    kDatabaseInvalid,
    kDatabaseCorrupted,
    kNoDataToSave,
    kCannotCreateDatabase,
    kCannotWriteDatabase,
    kChangedSinceOpened,
    kChangedSinceOpenedRefused,
    kReplaceFile,
    kSaveChanges,
    kPathTooLong,
    kOpenManyFiles,
    kOutputIsOpenDatabase,
    kPathNotFound,
    kFileReadOnly,
    kCreateFile,
    kNotAFile,
    kUnsafeLink,
    kKeptBeside,
    kLockHolder,
    kBeingEdited,
    kOpenReadOnly,
    kNotSavedInUse,
    kCannotCreateCsv,
    kCannotWriteCsv,
    kCannotOpenCsv,
    kCsvTooLarge,
    kUnreadableLines,
    kMoreUnreadableLines,
    kImportTotals,
    kImportNoClients,
    kImportNothingReadable,
    kImportUnreadable,
    kImportDatabaseFull,
    kImportTooMany,
    kImportFirstOnes,
    kImportDealerText,
    kCsvTooLong,
    kCsvCannotHold,
    kCsvLineBreak,
    kCsvLineTooLong,
    kCsvNoName,
    kCsvExtraEmptyLine,
    kCsvClientFields,
    kCsvSelcall,
    kCsvFlag,
    kCsvPower,
    kCsvChannelFields,
    kCsvChannelNumber,
    kCsvChannelTwice,
    kCsvFrequency,
    kCsvDecimals,
    kCsvRange,
    kCsvScanLimit,
    kCsvNulByte,
    kCsvGapExpected,
    kCsvHeadingExpected,
    kCsvEndsInClient,
    kCannotHoldCharacter,
    kNothingToPrint,
    kPrinterFont,
    kPrinterPageSize,
    kPrinterDocument,
    kPrinterPage,
    kFailedToOpen,
    kNoXdgOpen,
    kNoPdfViewer,
    kNoBackupFolder,
    kBackupFolderNotCreated,
    kBackupNoDataFolder,
    kBackupFolderNotKept,
    kBackupFolderNotPrivate,
    kBackupNotWritten,
    kFolderNotPrivate,
    kRadioLogNotWritten,
    kNoRadioExchanges,
    kComparisonNotWritten,
    kClientLimitReached,
    kExportedOneClient,
    kExportedClients,
    kCliUsage,
    kCliUnknownCommand,
    kCliUnknownOption,
    kCliOptionNeedsValue,
    kCliNoSuchClient,
    kCliOutputExists,
    kCliConfirm,
    kCliNoMatch,
    kCliSkipBad,
    kCliFirstOnes,
    kCliReadKept,
    kCliReadNotKept,
    kCliReadInBackup,
    kCliNoPorts,
    kCliRadioFoundOn,
    kCliNoPrint,
    kPlanClientNoChannels,
    kPlanFileNoClient,
    kPlanNothingApplied,
    kPlanNoTargets,
    kSelcallsNoAdvanced,
    kSelcallsLeftOver,
    kSelcallClash,
    kSerialClash,
    kClientNoChannels,
    kPrintEachReplace,
    kPrintEachNotWritten,
    kCliBadList,
    kCliSelcallStart,
    kCliNoFindings,
    kBackupUnreadable,
    kNoHistory,
    kCliQueueAsk,
    kCliQueueRetry,
};

}  // namespace tarn::msg
