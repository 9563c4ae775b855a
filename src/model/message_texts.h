#pragma once

// Message texts that more than one place shows: the desktop program and tarn-cli tell the
// same failure in the same words, so each text is written here once.
namespace tarn::msg {

// Copying clients or channels to the clipboard.
inline constexpr const char* kClipboardNoMemory = "Failed to allocate clipboard memory.";
inline constexpr const char* kClipboardNotSet = "Failed to set clipboard data.";

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

// Commands on the selected clients.
inline constexpr const char* kNoClientsSelected = "There are no clients selected.";

}  // namespace tarn::msg
