#include "model/client_edit.h"

namespace tarn {
namespace {

constexpr std::size_t kFieldLength = 127;  // what OK reads of a field

bool refused(const std::optional<std::string>& text, int (ClientRecord::*set)(const char*),
             ClientRecord& client) {
    if (!text) return false;
    return (client.*set)(text->substr(0, kFieldLength).c_str()) == 0;
}

}  // namespace

DroppedEdits applyClientEdits(ClientRecord& client, const ClientEdits& edits) {
    DroppedEdits dropped;
    dropped.name = refused(edits.name, &ClientRecord::setName, client);
    dropped.selcall = refused(edits.selcall, &ClientRecord::setSelcall, client);
    dropped.serial = refused(edits.serial, &ClientRecord::setSerial, client);
    client.setOption(ClientOption::FrontPanelProgramming, edits.program);
    client.setOption(ClientOption::ModeToggle, edits.modes);
    client.setOption(ClientOption::AutoTune, edits.autoTune);
    if (edits.high)
        client.setOption(ClientOption::PowerLevel,
                         *edits.high ? PowerLevel::High : PowerLevel::Low);
    return dropped;
}

}  // namespace tarn
