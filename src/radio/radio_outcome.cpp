#include "radio/radio_outcome.h"

#include <algorithm>

#include "model/client_record.h"

namespace tarn {
namespace {

constexpr std::size_t kChannelsNamed = 10;  // a longer list ends in "..."

std::string reason(RadioFailure failure) {
    switch (failure) {
        case RadioFailure::PortNotOpened:
            return "the serial port could not be opened";
        case RadioFailure::NoContact:
            return "the radio did not answer";
        case RadioFailure::InvalidData:
            return "the radio sent invalid data";
        case RadioFailure::NoData:
            return "the radio sent no data";
        case RadioFailure::NotADump:
            return "the radio's reply held no memory dump";
        case RadioFailure::Incomplete:
            return "the radio's memory dump was incomplete";
        default:
            return "cancelled";
    }
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string channelList(const std::vector<int>& offsets) {
    std::vector<int> channels = channelsOfOffsets(offsets);
    const bool header = !channels.empty() && channels.front() == 0;
    if (header) channels.erase(channels.begin());
    std::string text = header ? "header" : "";
    if (channels.empty()) return text;
    text += header ? ", " : "";
    text += channels.size() == 1 ? "channel " : "channels ";
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i > 0) text += ", ";
        if (i + (header ? 1 : 0) == kChannelsNamed) return text + "...";
        text += std::to_string(channels[i]);
    }
    return text;
}

}  // namespace

std::vector<int> channelsOfOffsets(const std::vector<int>& offsets) {
    std::vector<int> channels;
    for (int offset : offsets) channels.push_back(offset / kSlotSize);
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

int repairedChannels(const std::uint8_t* read, const std::uint8_t* stored) {
    std::vector<int> offsets;
    for (int i = kSlotSize; i < kImageSize; ++i)
        if (read[i] != stored[i]) offsets.push_back(i);
    return static_cast<int>(channelsOfOffsets(offsets).size());
}

std::string readReport(const RadioOutcome& outcome, const std::string& client, int imageBytes,
                       int repaired, const std::string& time, bool unchanged) {
    if (outcome.failure == RadioFailure::Cancelled) return "Read cancelled";
    if (outcome.failure != RadioFailure::None) return "Read failed: " + reason(outcome.failure);
    std::string detail = plural(imageBytes, "byte", "bytes");
    if (repaired > 0) detail += ", " + plural(repaired, "channel", "channels") + " repaired";
    if (unchanged) detail += ", no change";
    return "Read the radio into '" + client + "' (" + detail + ") at " + time;
}

std::string writeReport(const RadioOutcome& outcome, const std::string& client,
                        const std::string& time, bool keptBefore, bool stoppedBefore) {
    using Verify = RadioOutcome::Verify;
    // Nothing reached the radio: when it was reached, what it held could not be read.
    const bool reached = outcome.failure != RadioFailure::Cancelled &&
                         outcome.failure != RadioFailure::PortNotOpened &&
                         outcome.failure != RadioFailure::NoContact;
    if (stoppedBefore && reached)
        return "Write stopped: what the radio holds could not be read first (" +
               reason(outcome.failure) + ")";
    const std::string kept = keptBefore ? "; what it held before is kept" : "";
    switch (outcome.verified) {
        case Verify::Passed:
            return "Programmed and verified '" + client + "' at " + time + kept;
        case Verify::ReadFailed:
            return "Verify failed: " + reason(outcome.failure);
        case Verify::Differs: {
            const auto n = static_cast<int>(outcome.differing.size());
            return "Verify failed: " + plural(n, "byte differs", "bytes differ") + " (" +
                   channelList(outcome.differing) + ")" + kept;
        }
        default:
            break;
    }
    if (outcome.failure == RadioFailure::Cancelled) return "Write cancelled";
    return "Write failed: " + reason(outcome.failure);
}

std::string compareReport(const RadioOutcome& outcome, const std::string& client, int differences,
                          const std::string& time) {
    if (outcome.failure == RadioFailure::Cancelled) return "Compare cancelled";
    if (outcome.failure != RadioFailure::None) return "Compare failed: " + reason(outcome.failure);
    return "Compared '" + client + "' with the radio: " +
           (differences == 0 ? std::string("identical")
                             : plural(differences, "difference", "differences")) +
           " at " + time;
}

}  // namespace tarn
