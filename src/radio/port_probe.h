#pragma once

#include <functional>
#include <string>
#include <vector>

#include "radio/serial_device.h"

namespace tarn {

// What knocking on one port found, as data: the result, and the text to show for it.
struct PortProbe {
    enum class Result { Answered, NoAnswer, CannotOpen, PermissionDenied, Busy, Skipped };
    std::string port;
    Result result = Result::CannotOpen;
    std::string message;
};

// Contacts the radio on `port` exactly as a Read does (a carriage return, 300 ms, a read,
// up to three times) and closes it again as it was: terminal settings and modem lines
// back as found. A console, a session's terminal and a port another program has locked
// are left alone (Skipped, Busy). Nothing is shown.
PortProbe probePort(const std::string& port, SerialConnection connection = makeSerialConnection());

// Probes `ports` in order and stops at the first where a radio answers (the last of the
// probes returned). `progress` hears of each port before it is tried (no probe yet) and
// after.
using ProbeProgress = std::function<void(const std::string& port, const PortProbe* probe)>;
std::vector<PortProbe> findRadio(const std::vector<std::string>& ports,
                                 const ProbeProgress& progress = {});

// Why `port` cannot be used now, empty when it opens (the port dialog's check on OK): it is
// opened and closed at once, and never when it is left alone as above.
std::string portUnavailableReason(const std::string& port,
                                  SerialConnection connection = makeSerialConnection());

// The result as a word for machine-readable output ("answered", "no-answer", ...).
const char* probeResultName(PortProbe::Result result);

}  // namespace tarn
