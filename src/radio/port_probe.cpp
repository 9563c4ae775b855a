#include "radio/port_probe.h"

#include "radio/radio_texts.h"
#include "radio/serial_link.h"
#include "radio/serial_ports.h"

namespace tarn {

PortProbe probePort(SerialLink& link, const std::string& port) {
    using Result = PortProbe::Result;
    link.usePort(port);
    if (!link.openPort()) {
        switch (link.openError()) {
            case OpenError::PermissionDenied:
                return {port, Result::PermissionDenied, permissionDeniedText(port)};
            case OpenError::Busy:
                return {port, Result::Busy, probe_text::kBusy};
            default:
                return {port, Result::CannotOpen, probe_text::kCannotOpen};
        }
    }
    const bool answered = link.contactRadio();
    link.closePort();
    return answered ? PortProbe{port, Result::Answered, probe_text::kAnswered}
                    : PortProbe{port, Result::NoAnswer, probe_text::kNoAnswer};
}

const char* probeResultName(PortProbe::Result result) {
    switch (result) {
        case PortProbe::Result::Answered:
            return "answered";
        case PortProbe::Result::NoAnswer:
            return "no-answer";
        case PortProbe::Result::CannotOpen:
            return "cannot-open";
        case PortProbe::Result::PermissionDenied:
            return "permission-denied";
        case PortProbe::Result::Busy:
            return "busy";
    }
    return "";
}

}  // namespace tarn
