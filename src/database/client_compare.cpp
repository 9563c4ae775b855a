#include "database/client_compare.h"

#include <algorithm>
#include <cstdio>

#include "database/client_database.h"
#include "model/channel_order.h"
#include "model/channel_slot.h"
#include "model/khz_text.h"

namespace tarn {
namespace {

std::string hexBytes(const std::uint8_t* bytes, int count) {
    std::string text;
    char two[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(two, sizeof two, i ? " %02X" : "%02X", bytes[i]);
        text += two;
    }
    return text;
}

void compareField(std::vector<FieldDifference>& out, std::string field, std::string client,
                  std::string radio) {
    if (client != radio) out.push_back({std::move(field), std::move(client), std::move(radio)});
}

// The bytes first..last of both sides, when any of them differs ("Reserved bytes 1-4").
void compareBytes(std::vector<FieldDifference>& out, const std::string& field,
                  const std::uint8_t* client, const std::uint8_t* radio, int first, int last) {
    const int count = last - first + 1;
    if (std::equal(client + first, client + last + 1, radio + first)) return;
    // Built piece by piece: GCC 12 at -O3 warns falsely about a literal plus a string.
    std::string name = field;
    name.append(first == last ? " " : "s ").append(std::to_string(first));
    if (first != last) name.append("-").append(std::to_string(last));
    compareField(out, name, hexBytes(client + first, count), hexBytes(radio + first, count));
}

const char* onOff(unsigned flag) {
    return flag ? "on" : "off";
}

const char* yesNo(unsigned flag) {
    return flag ? "yes" : "no";
}

// The fields of a slot in the order the lines name them; `valid` slots only.
std::vector<std::pair<std::string, std::string>> slotFields(const std::uint8_t* s) {
    const unsigned flags = s[slot::Flags];
    return {
        {"RX", formatKhz(slotRx(s)) + " kHz"},
        {"TX", formatKhz(slotTx(s)) + " kHz"},
        {"Mode", flags & ChannelFlag::Usb ? "USB" : "LSB"},
        {"Scan", yesNo(flags & ChannelFlag::Scan)},
        {"SelCall", yesNo(flags & ChannelFlag::Selcall)},
        {"Alarm", yesNo(flags & ChannelFlag::Alarm)},
        {"TX=RX", yesNo(flags & ChannelFlag::TxEqualsRx)},
    };
}

// Every field of a channel that only one side holds.
std::vector<FieldDifference> wholeChannel(const std::uint8_t* s, bool inClient) {
    std::vector<FieldDifference> fields;
    for (auto& [name, text] : slotFields(s))
        fields.push_back(inClient ? FieldDifference{name, text, {}}
                                  : FieldDifference{name, {}, text});
    return fields;
}

// Two valid slots: each field in words, then what no field shows.
std::vector<FieldDifference> changedFields(const std::uint8_t* mine, const std::uint8_t* theirs) {
    std::vector<FieldDifference> fields;
    const auto a = slotFields(mine), b = slotFields(theirs);
    for (std::size_t i = 0; i < a.size(); ++i)
        compareField(fields, a[i].first, a[i].second, b[i].second);
    constexpr unsigned kSpareFlags = 0xE0;
    char bits[8];
    std::snprintf(bits, sizeof bits, "%02X", mine[slot::Flags] & kSpareFlags);
    std::string clientBits = bits;
    std::snprintf(bits, sizeof bits, "%02X", theirs[slot::Flags] & kSpareFlags);
    compareField(fields, "Unused flag bits", clientBits, bits);
    compareField(fields, "Stored number", std::to_string(mine[slot::Number]),
                 std::to_string(theirs[slot::Number]));
    compareField(fields, "Spare byte", hexBytes(mine + slot::Spare, 1),
                 hexBytes(theirs + slot::Spare, 1));
    return fields;
}

void compareHeader(std::vector<FieldDifference>& header, const ClientRecord& client,
                   const RadioImage& radio) {
    ClientRecord radioClient;
    std::copy(radio.begin(), radio.begin() + kSlotSize, radioClient.image().begin());
    const ClientSummary a = summarizeClient(client), b = summarizeClient(radioClient);
    compareField(header, "Type", a.type, b.type);
    compareField(header, "Program", a.program, b.program);
    compareField(header, "Mode", a.mode, b.mode);
    compareField(header, "Tune", a.tune, b.tune);
    compareField(header, "Power level", a.power, b.power);
    const auto option = [](const ClientRecord& r, int mask) { return r.getOption(mask); };
    compareField(header, "Power toggle", onOff(option(client, ClientOption::PowerToggle)),
                 onOff(option(radioClient, ClientOption::PowerToggle)));
    compareField(header, "Base master", onOff(option(client, ClientOption::BaseMaster)),
                 onOff(option(radioClient, ClientOption::BaseMaster)));
    const std::uint8_t* mine = client.image().data();
    const std::uint8_t* theirs = radio.data();
    // Digits above 9 show as 9: the stored digits tell the rest.
    if (a.selcall != b.selcall)
        compareField(header, "Selcall", a.selcall, b.selcall);
    else
        compareBytes(header, "Selcall byte", mine, theirs, 5, 6);
    compareBytes(header, "Reserved header byte", mine, theirs, 1, 4);
    compareBytes(header, "Reserved header byte", mine, theirs, 7, 7);
}

}  // namespace

const char* changeName(ChannelDifference::Change change) {
    switch (change) {
        case ChannelDifference::Change::Added:
            return "added";
        case ChannelDifference::Change::Removed:
            return "removed";
        case ChannelDifference::Change::Damaged:
            return "damaged";
        case ChannelDifference::Change::Changed:
            break;
    }
    return "changed";
}

ImageComparison compareWithImage(const ClientRecord& client, const RadioImage& radio) {
    ImageComparison result;
    compareHeader(result.header, client, radio);
    for (int n = 1; n <= kChannelCount; ++n) {
        const std::uint8_t* mine = slotBytes(client.image(), n);
        const std::uint8_t* theirs = slotBytes(radio, n);
        const bool inRadio = slotIsValid(theirs);
        if (inRadio && (theirs[slot::Flags] & ChannelFlag::Scan)) ++result.radioScanChannels;
        if (std::equal(mine, mine + kSlotSize, theirs)) continue;
        ChannelDifference channel{n, ChannelDifference::Change::Changed, labelText(client, n), {}};
        const bool inClient = slotIsValid(mine);
        const bool radioEmpty = std::all_of(theirs, theirs + kSlotSize, [](auto b) { return !b; });
        if (inClient && inRadio) {
            channel.fields = changedFields(mine, theirs);
        } else if (inRadio) {
            channel.change = ChannelDifference::Change::Added;
            channel.fields = wholeChannel(theirs, false);
        } else if (radioEmpty) {
            channel.change = ChannelDifference::Change::Removed;
            channel.fields = wholeChannel(mine, true);
        } else {
            // No valid channel in the radio's slot, yet not empty: shown as it is.
            channel.change = ChannelDifference::Change::Damaged;
            channel.fields = {{"Bytes", hexBytes(mine, kSlotSize), hexBytes(theirs, kSlotSize)}};
        }
        result.channels.push_back(std::move(channel));
    }
    return result;
}

std::vector<std::string> ImageComparison::lines() const {
    if (identical()) return {kIdenticalText};
    std::vector<std::string> out;
    for (const auto& f : header) out.push_back(f.field + ": " + f.client + " -> " + f.radio);
    for (const auto& c : channels) {
        std::string line = "Channel " + std::to_string(c.channel);
        if (!c.label.empty()) line += " '" + c.label + "'";
        line += std::string(" ") + changeName(c.change) + ": ";
        std::string list;
        for (const auto& f : c.fields) {
            list += list.empty() ? "" : ", ";
            if (c.change == ChannelDifference::Change::Added)
                list += f.field + " " + f.radio;
            else if (c.change == ChannelDifference::Change::Removed)
                list += f.field + " " + f.client;
            else
                list += f.field + " " + f.client + " -> " + f.radio;
        }
        out.push_back(line + list);
    }
    if (radioScanChannels > kScanLimit)
        out.push_back("The radio has " + std::to_string(radioScanChannels) +
                      " scan channels, more than the limit of " + std::to_string(kScanLimit) + ".");
    return out;
}

std::string comparisonText(const ImageComparison& comparison, const std::string& clientName,
                           const std::string& serial) {
    std::string text = "Compare with radio: '" + clientName + "' (serial " + serial + ")\n";
    if (!comparison.identical()) text += std::string(kDifferencesHeading) + "\n";
    for (const std::string& line : comparison.lines()) text += line + "\n";
    return text;
}

}  // namespace tarn
