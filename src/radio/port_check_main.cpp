// tarn-port-check PORT: opens a port through the platform driver and probes for a radio.
#include <cstdio>
#include <cstring>

#include "radio/port_probe.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: tarn-port-check PORT\n"
                     "Opens PORT (COM1, COM12, or a device path) at 4800 baud 8N1 and sends\n"
                     "carriage returns until a radio in its RS-232 mode answers with \"#\".\n");
        return 2;
    }
    const tarn::PortProbe probe = tarn::probePort(argv[1]);
    const bool answered = probe.result == tarn::PortProbe::Result::Answered;
    std::fprintf(answered ? stdout : stderr, "%s: %s\n", argv[1], probe.message.c_str());
    return answered ? 0 : 1;
}
