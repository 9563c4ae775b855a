// Windows opens a port exclusively and has no serial console or lock files to honour.
#include "radio/port_rules.h"

namespace tarn {

PortUse portUse(const std::string&) {
    return {};
}

}  // namespace tarn
