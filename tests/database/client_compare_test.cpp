// The comparison of a client with a radio image: each kind of difference and its line.
#include <gtest/gtest.h>

#include <functional>

#include "database/client_compare.h"
#include "database/client_database.h"

namespace tarn {
namespace {

TEST(CompareWithImage, NamesEveryDifferenceAndOnlyEqualImagesAreIdentical) {
    const ClientDatabase demo(true);  // channels 1..7, 3740.0 kHz first
    ClientRecord client = *demo.client(0);
    client.setLabel(2, "Harbour");
    const struct {
        const char* what;
        std::function<void(ClientRecord&)> radio;
        std::vector<std::string> lines;
    } cases[] = {
        {"same image, other name",
         [](ClientRecord& r) { r.setName("Other"); },
         {"The radio holds exactly this client."}},
        {"header options",
         [](ClientRecord& r) {
             r.setOption(ClientOption::PowerLevel, PowerLevel::Low);
             r.setOption(ClientOption::Advanced, 0);
             r.setSelcall("4321");
         },
         {"Type: Advanced -> Standard", "Power level: High -> Low", "Selcall: 1234 -> 4321"}},
        {"reserved header byte",
         [](ClientRecord& r) { r.image()[7] = 0x00; },
         {"Header bytes: CD 00 77 FF FF 12 34 FF -> CD 00 77 FF FF 12 34 00"}},
        {"changed channel keeps its label",
         [](ClientRecord& r) {
             r.setFrequency(2, 0, 50600);
             r.setChannelFlag(2, ChannelFlag::Usb, 0);
             r.setChannelFlag(2, ChannelFlag::Scan, 1);
         },
         {"Channel 2 'Harbour' changed: RX 5058.0 kHz -> 5060.0 kHz, Mode USB -> LSB, "
          "Scan no -> yes"}},
        {"added and removed",
         [](ClientRecord& r) {
             r.deleteChannel(3);
             r.image()[8 * 20] = ChannelFlag::Alarm;
             r.setFrequency(20, 0, 20000);
             r.setFrequency(20, 1, 20001);
         },
         {"Channel 3 removed: RX 9326.0 kHz, TX 9326.0 kHz, Mode USB, Scan no, SelCall no, "
          "Alarm no",
          "Channel 20 added: RX 2000.0 kHz, TX 2000.1 kHz, Mode LSB, Scan no, SelCall no, "
          "Alarm yes"}},
        {"a byte no field shows",
         [](ClientRecord& r) { r.image()[8 + 7] = 0x5A; },
         {"Channel 1 changed: Bytes 18 18 92 80 21 09 01 00 -> 18 18 92 80 21 09 01 5A"}},
    };
    for (const auto& c : cases) {
        ClientRecord radio = client;
        c.radio(radio);
        const ImageComparison comparison = compareWithImage(client, radio);
        EXPECT_EQ(comparison.lines(), c.lines) << c.what;
        EXPECT_EQ(comparison.identical(), client.image() == radio.image()) << c.what;
    }
}

}  // namespace
}  // namespace tarn
