#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarn {

class ClientDatabase;

// The two fixed heading lines of every client block, without their line end.
inline constexpr std::string_view kCsvClientHeading =
    "serial,selcall,mode toggle,power toggle,autotune,base master,f/p programable,advanced,power";
inline constexpr std::string_view kCsvChannelHeading =
    "channel,rx,tx,alarm,selcall,scan,usb,txeqrx,label";

// The export's whole text, as exportCsv writes it.
std::string csvText(const ClientDatabase& database);

// Writes the whole database as comma-separated 8-bit text with CR LF line ends.
// True when the file was created and written; false after a message otherwise ("Failed to
// create/open csv file", "Failed to write csv file" when the data did not all arrive, or
// the output guard's refusal: see ReplacingFile). An existing file is replaced only once
// the new one is complete.
bool exportCsv(const ClientDatabase& database, const std::filesystem::path& path);

}  // namespace tarn
