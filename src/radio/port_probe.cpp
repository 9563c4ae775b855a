#include "radio/port_probe.h"

#include "radio/port_problem.h"
#include "radio/port_rules.h"
#include "radio/radio_texts.h"
#include "radio/serial_link.h"

namespace tarn {
namespace {

std::unique_ptr<SerialDevice> deviceOf(SerialConnection& connection) {
    return connection.device ? std::move(connection.device) : makePlatformSerialDevice();
}

}  // namespace

PortProbe probePort(const std::string& port, SerialConnection connection) {
    using Result = PortProbe::Result;
    const PortUse use = portUse(port);
    if (use.kind != PortUse::Kind::Free)
        return {port, use.kind == PortUse::Kind::Locked ? Result::Busy : Result::Skipped,
                portUseText(use)};
    std::unique_ptr<SerialDevice> owned = deviceOf(connection);
    SerialDevice& device = *owned;
    device.restoreModemLinesOnClose();
    SerialLink link(std::move(owned), std::move(connection.clock));
    link.usePort(port);
    if (!link.openPort()) {
        const OpenError error = link.openError();
        const Result result = error == OpenError::PermissionDenied ? Result::PermissionDenied
                              : error == OpenError::Busy           ? Result::Busy
                                                                   : Result::CannotOpen;
        return {port, result, portOpenFailureText(port, error, device.lastOpenHolder())};
    }
    const bool answered = link.contactRadio();
    link.closePort();
    return answered ? PortProbe{port, Result::Answered, probe_text::kAnswered}
                    : PortProbe{port, Result::NoAnswer, probe_text::kNoAnswer};
}

std::vector<PortProbe> findRadio(const std::vector<std::string>& ports,
                                 const ProbeProgress& progress) {
    std::vector<PortProbe> probes;
    for (const std::string& port : ports) {
        if (progress) progress(port, nullptr);
        probes.push_back(probePort(port));
        if (progress) progress(port, &probes.back());
        if (probes.back().result == PortProbe::Result::Answered) break;
    }
    return probes;
}

std::string portUnavailableReason(const std::string& port, SerialConnection connection) {
    const PortUse use = portUse(port);
    if (use.kind != PortUse::Kind::Free) return portUseText(use);
    const std::unique_ptr<SerialDevice> device = deviceOf(connection);
    if (!device->open(port))
        return portOpenFailureText(port, device->lastOpenError(), device->lastOpenHolder());
    device->close();
    return {};
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
        case PortProbe::Result::Skipped:
            return "skipped";
    }
    return "";
}

}  // namespace tarn
