#pragma once

#include <optional>
#include <string>

#include "model/client_record.h"

namespace tarn {

// What the edit client dialog's fields hold when OK is pressed: the texts the user edited
// (8-bit, as typed; none for a field left alone), the three check boxes, and the power level
// chosen (none when no power button was clicked, so Mid1 and Mid2 survive).
struct ClientEdits {
    std::optional<std::string> name, selcall, serial;
    bool program = false, modes = false, autoTune = false;
    std::optional<bool> high;
};

// What OK could not store: a value the client refused (a selcall that is not four digits),
// dropped so that the stored one stays.
struct DroppedEdits {
    bool name = false, selcall = false, serial = false;
    bool any() const { return name || selcall || serial; }
};

// Stores the edits in the dialog's order: name, selcall, serial, the options, the power
// level. Each text counts up to its 127th character.
DroppedEdits applyClientEdits(ClientRecord& client, const ClientEdits& edits);

}  // namespace tarn
