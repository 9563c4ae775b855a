#pragma once

#include <string>
#include <vector>

namespace tarn {

class SerialLink;

// What knocking on one port found, as data: the result, and the text to show for it.
struct PortProbe {
    enum class Result { Answered, NoAnswer, CannotOpen, PermissionDenied, Busy };
    std::string port;
    Result result = Result::CannotOpen;
    std::string message;
};

// Opens `port` on `link` and contacts the radio exactly as a Read does (a carriage
// return, 300 ms, a read, up to three times), then closes it. Nothing is shown.
PortProbe probePort(SerialLink& link, const std::string& port);

// The result as a word for machine-readable output ("answered", "no-answer", ...).
const char* probeResultName(PortProbe::Result result);

}  // namespace tarn
