#pragma once

#include <string>
#include <vector>

#include "model/client_record.h"

namespace tarn {

// One value that differs: its name, and its text in the client and in the radio (empty on
// the side where a channel does not exist).
struct FieldDifference {
    std::string field, client, radio;
};

// A channel that the radio lacks (Removed), only the radio has (Added), holds otherwise
// (Changed), or holds in a slot that is no valid channel (Damaged: a Read would empty it).
struct ChannelDifference {
    enum class Change { Added, Removed, Changed, Damaged };
    int channel = 0;
    Change change = Change::Changed;
    std::string label;  // the client's label of that number (labels live outside the radio)
    std::vector<FieldDifference> fields;  // Added and Removed: every field of the channel
};

// How a client and the image read from a radio differ, in the words of the lists: the
// header first, then the channels in number order. Every byte that differs shows in some
// line, so identical() holds exactly when the images are equal.
struct ImageComparison {
    std::vector<FieldDifference> header;
    std::vector<ChannelDifference> channels;
    int radioScanChannels = 0;  // channels of the radio with the scan flag (8 at most is valid)
    bool identical() const { return header.empty() && channels.empty(); }
    // One line per difference ("Power level: High -> Low", "Channel 4 'Harbour' added: RX
    // 3740.0 kHz, ..."), a note when the radio holds too many scan channels, or the single
    // line kIdenticalText.
    std::vector<std::string> lines() const;
};

inline constexpr const char* kIdenticalText = "The radio holds exactly this client.";
// The line above the differences: each shows the client's value, then the radio's.
inline constexpr const char* kDifferencesHeading = "Differences (client -> radio):";

// Compares a client with an image as it came from a radio, before any channel check, so
// that the comparison shows what the radio really holds (damaged slots included) and
// changes nothing. Only the image counts: name, serial and labels are not held by a radio.
ImageComparison compareWithImage(const ClientRecord& client, const RadioImage& radio);

// The whole comparison as text to save or print: a heading naming the client (8-bit record
// texts as they are), the heading line when there are differences, then lines().
std::string comparisonText(const ImageComparison& comparison, const std::string& clientName,
                           const std::string& serial);

// The text of a change ("added", "removed", "changed", "damaged").
const char* changeName(ChannelDifference::Change change);

}  // namespace tarn
