#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "database/client_database.h"
#include "model/client_record.h"
#include "printing/print_clients.h"
#include "printing/recording_surface.h"
#include "printing/recording_ui.h"

namespace tarn::test {

// A database, a recording printer and a recording user interface for one print job.
class PrintFixture : public ::testing::Test {
  protected:
    struct Channel {
        int number;
        std::uint32_t rx = 37400;
        std::uint32_t tx = 37400;
        int flags = 0;
        const char* label = "";
    };

    // Appends a client with exactly the given channels; returns its index.
    int addClient(const char* name, const std::vector<Channel>& channels = {}) {
        const int index = db.addClient();
        ClientRecord& client = *db.client(index);
        client.setName(name);
        for (int n = 1; n <= kChannelCount; ++n) client.deleteChannel(n);
        for (const Channel& c : channels) {
            client.setFrequency(c.number, 0, c.rx);
            client.setFrequency(c.number, 1, c.tx);
            for (int bit = 1; bit <= 0x80; bit <<= 1)
                client.setChannelFlag(c.number, bit, c.flags & bit);
            client.setLabel(c.number, c.label);
        }
        return index;
    }

    // Channels first..last with default values.
    static std::vector<Channel> channelRange(int first, int last) {
        std::vector<Channel> out;
        for (int n = first; n <= last; ++n) out.push_back({n});
        return out;
    }

    void setDealer(const char* text) {
        db.dealerText().fill('\0');
        std::memcpy(db.dealerText().data(), text, std::strlen(text));
    }

    // Line height 10; lines per page = height / 10 - 1.
    void setLinesPerPage(int lines) { backend.setup.height = (lines + 1) * 10; }

    bool print(bool summary, int index = -1) {
        return printClients(db, owner, summary, "C:\\Fleet\\harbour.tdb", index);
    }

    RecordingUi ui;
    RecordingBackend backend;
    ClientDatabase db{false};
    int ownerWindow = 0;
    WindowHandle owner = &ownerWindow;
};

}  // namespace tarn::test
