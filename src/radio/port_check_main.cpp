// tarn-port-check PORT: opens a port through the platform driver and probes for a radio.
#include <cstdio>
#include <cstring>

#include "radio/serial_link.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: tarn-port-check PORT\n"
                     "Opens PORT (COM1, COM12, or a device path) at 4800 baud 8N1 and sends\n"
                     "carriage returns until a radio in its RS-232 mode answers with \"#\".\n");
        return 2;
    }
    tarn::SerialLink link;
    link.usePort(argv[1]);
    if (!link.openPort()) {
        std::fprintf(stderr, "Failed to open the serial port.\n");
        return 1;
    }
    if (!link.contactRadio()) {
        std::fprintf(stderr, "Failed to contact the radio.\n");
        return 1;
    }
    std::printf("The radio answered on %s.\n", argv[1]);
    return 0;
}
