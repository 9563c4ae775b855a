#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Why a radio exchange stopped short (None when it went through).
enum class RadioFailure {
    None,
    Cancelled,      // the user answered Cancel at the connect prompt
    PortNotOpened,  // the port could not be opened or set up
    NoContact,      // no "#" prompt after three carriage returns
    InvalidData,    // too long a reply, or one that went on past the time limit
    NoData,         // nothing came back for the dump
    NotADump,       // a reply without one complete line, or too short to be one
    Incomplete,     // dump lines that did not cover the whole image
};

// What the last read or write of a link did, as data for a report. A Write's read-back
// fills `failure` and `received` as a Read does; `verified` tells the comparison.
struct RadioOutcome {
    enum class Verify { NotRun, Passed, Differs, ReadFailed };
    RadioFailure failure = RadioFailure::None;
    int received = 0;  // bytes of the last dump reply
    int sent = 0;      // bytes of the HEX records written
    Verify verified = Verify::NotRun;
    std::vector<int> differing;  // image offsets where the read-back differs
};

// The one-line reports of the radio commands (a Write always verifies). `client` is the
// client's name as shown, `time` the time of day to name (for example "10:32"),
// `repaired` the channels that the channel check changed after a Read, `unchanged` a Read
// that found the client already holding the radio's memory.
std::string readReport(const RadioOutcome& outcome, const std::string& client, int imageBytes,
                       int repaired, const std::string& time, bool unchanged = false);
// `keptBefore`: what the radio held before was read and kept; a Write whose read of it
// failed (`stoppedBefore`) programmed nothing.
std::string writeReport(const RadioOutcome& outcome, const std::string& client,
                        const std::string& time, bool keptBefore = false,
                        bool stoppedBefore = false);
// `differences`: the lines of the comparison when the radio answered.
std::string compareReport(const RadioOutcome& outcome, const std::string& client, int differences,
                          const std::string& time);

// The channels (1..255) that hold these image offsets, rising, each once; 0 stands for
// the header (bytes 0 to 7).
std::vector<int> channelsOfOffsets(const std::vector<int>& offsets);

// The channels (not the header) in which the stored image differs from the one read: what
// the channel check repaired after a Read. Both images are whole (kImageSize bytes).
int repairedChannels(const std::uint8_t* read, const std::uint8_t* stored);

}  // namespace tarn
