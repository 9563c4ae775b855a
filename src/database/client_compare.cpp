#include "database/client_compare.h"

#include <algorithm>
#include <cstdio>

#include "database/client_database.h"
#include "model/khz_text.h"

namespace tarn {
namespace {

constexpr int kHeaderSize = 8;

std::string hexBytes(const std::uint8_t* bytes, int count) {
    std::string text;
    char two[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(two, sizeof two, i ? " %02X" : "%02X", bytes[i]);
        text += two;
    }
    return text;
}

void compareField(std::vector<FieldDifference>& out, const char* field, std::string client,
                  std::string radio) {
    if (client != radio) out.push_back({field, std::move(client), std::move(radio)});
}

const char* yesNo(int flag) {
    return flag ? "yes" : "no";
}

// The displayed fields of a valid channel, in the order the lines name them.
std::vector<FieldDifference> channelFields(const ClientRecord& r, int n, bool inClient) {
    const auto side = [&](std::string text) {
        return inClient ? FieldDifference{{}, std::move(text), {}}
                        : FieldDifference{{}, {}, std::move(text)};
    };
    const std::pair<const char*, std::string> values[] = {
        {"RX", formatKhz(r.getFrequency(n, 0)) + " kHz"},
        {"TX", formatKhz(r.getFrequency(n, 1)) + " kHz"},
        {"Mode", r.getChannelFlag(n, ChannelFlag::Usb) ? "USB" : "LSB"},
        {"Scan", yesNo(r.getChannelFlag(n, ChannelFlag::Scan))},
        {"SelCall", yesNo(r.getChannelFlag(n, ChannelFlag::Selcall))},
        {"Alarm", yesNo(r.getChannelFlag(n, ChannelFlag::Alarm))},
    };
    std::vector<FieldDifference> fields;
    for (const auto& [name, text] : values) {
        fields.push_back(side(text));
        fields.back().field = name;
    }
    return fields;
}

std::string labelOf(const ClientRecord& client, int n) {
    const std::uint8_t* bytes = client.labelBytes(n);
    std::size_t length = 0;
    while (length < kLabelSize && bytes[length]) ++length;
    return {reinterpret_cast<const char*>(bytes), length};
}

std::string fieldList(const std::vector<FieldDifference>& fields, bool added) {
    std::string text;
    for (const auto& f : fields) {
        if (!text.empty()) text += ", ";
        text += f.field + " " + (added ? f.radio : f.client);
    }
    return text;
}

}  // namespace

const char* changeName(ChannelDifference::Change change) {
    switch (change) {
        case ChannelDifference::Change::Added:
            return "added";
        case ChannelDifference::Change::Removed:
            return "removed";
        case ChannelDifference::Change::Changed:
            break;
    }
    return "changed";
}

ImageComparison compareWithImage(const ClientRecord& client, const ClientRecord& radio) {
    ImageComparison result;
    const ClientSummary a = summarizeClient(client), b = summarizeClient(radio);
    auto& header = result.header;
    compareField(header, "Type", a.type, b.type);
    compareField(header, "Program", a.program, b.program);
    compareField(header, "Mode", a.mode, b.mode);
    compareField(header, "Tune", a.tune, b.tune);
    compareField(header, "Power level", a.power, b.power);
    compareField(header, "Selcall", a.selcall, b.selcall);
    compareField(header, "Power toggle", yesNo(client.getOption(ClientOption::PowerToggle)),
                 yesNo(radio.getOption(ClientOption::PowerToggle)));
    compareField(header, "Base master", yesNo(client.getOption(ClientOption::BaseMaster)),
                 yesNo(radio.getOption(ClientOption::BaseMaster)));
    // The reserved bytes and selcall nibbles above 9 show only as bytes.
    if (header.empty())
        compareField(header, "Header bytes", hexBytes(client.image().data(), kHeaderSize),
                     hexBytes(radio.image().data(), kHeaderSize));

    for (int n = 1; n <= kChannelCount; ++n) {
        const std::uint8_t* mine = client.image().data() + kSlotSize * n;
        const std::uint8_t* theirs = radio.image().data() + kSlotSize * n;
        if (std::equal(mine, mine + kSlotSize, theirs)) continue;
        ChannelDifference channel{n, ChannelDifference::Change::Changed, labelOf(client, n), {}};
        const bool inClient = !client.isChannelFree(n), inRadio = !radio.isChannelFree(n);
        if (inClient && inRadio) {
            auto before = channelFields(client, n, true);
            const auto after = channelFields(radio, n, false);
            for (std::size_t i = 0; i < before.size(); ++i)
                compareField(channel.fields, before[i].field.c_str(), before[i].client,
                             after[i].radio);
            if (channel.fields.empty())
                compareField(channel.fields, "Bytes", hexBytes(mine, kSlotSize),
                             hexBytes(theirs, kSlotSize));
        } else if (inRadio) {
            channel.change = ChannelDifference::Change::Added;
            channel.fields = channelFields(radio, n, false);
        } else if (inClient) {
            channel.change = ChannelDifference::Change::Removed;
            channel.fields = channelFields(client, n, true);
        } else {
            // Two free slots that differ: only an image that skipped the channel check.
            compareField(channel.fields, "Bytes", hexBytes(mine, kSlotSize),
                         hexBytes(theirs, kSlotSize));
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
        if (c.change == ChannelDifference::Change::Changed) {
            std::string list;
            for (const auto& f : c.fields)
                list += (list.empty() ? "" : ", ") + f.field + " " + f.client + " -> " + f.radio;
            line += list;
        } else {
            line += fieldList(c.fields, c.change == ChannelDifference::Change::Added);
        }
        out.push_back(std::move(line));
    }
    return out;
}

}  // namespace tarn
