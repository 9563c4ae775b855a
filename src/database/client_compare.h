#pragma once

#include <string>
#include <vector>

#include "model/client_record.h"

namespace tarn {

// One value that differs: its display name, and its text in the client and in the radio
// (empty on the side where a channel does not exist).
struct FieldDifference {
    std::string field, client, radio;
};

// A channel that the radio lacks (Removed), only the radio has (Added), or holds otherwise.
struct ChannelDifference {
    enum class Change { Added, Removed, Changed };
    int channel = 0;
    Change change = Change::Changed;
    std::string label;  // the client's label of that number (labels live outside the radio)
    std::vector<FieldDifference> fields;  // Added and Removed: every field of the channel
};

// What writing the radio's image into the client would change, in the words the lists
// show: the header first, then the channels in number order.
struct ImageComparison {
    std::vector<FieldDifference> header;
    std::vector<ChannelDifference> channels;
    bool identical() const { return header.empty() && channels.empty(); }
    // One line per difference ("Power level: High -> Low", "Channel 4 'Harbour' added: RX
    // 3740.0 kHz, ..."), or the single line kIdenticalText.
    std::vector<std::string> lines() const;
};

inline constexpr const char* kIdenticalText = "The radio holds exactly this client.";
// The line above the differences: each shows the client's value, then the radio's.
inline constexpr const char* kDifferencesHeading = "Differences (client -> radio):";

// Compares the radio images of two records: `client` as stored, `radio` the image read from
// a radio (after the channel check, in a copy of the client so that the labels match). Only
// the image counts: name, serial and labels are not held by a radio. Every byte that
// differs shows in some line, so identical() holds exactly when the images are equal.
ImageComparison compareWithImage(const ClientRecord& client, const ClientRecord& radio);

// The text of a change ("added", "removed", "changed").
const char* changeName(ChannelDifference::Change change);

}  // namespace tarn
