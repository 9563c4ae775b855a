#include "model/services.h"

#include <cassert>

namespace tarn {
namespace {

int openGuards = 0;

Services& installed() {
    static Services current;
    return current;
}

}  // namespace

const Services& services() {
    return installed();
}

ScopedServices::ScopedServices() : saved_(installed()), depth_(++openGuards) {}

ScopedServices::ScopedServices(Services replacement) : ScopedServices() {
    installed() = std::move(replacement);
}

ScopedServices::~ScopedServices() {
    // Ending out of order would put back services that a newer guard still relies on.
    const bool innermost = depth_ == openGuards;
    assert(innermost && "ScopedServices must end in reverse order of creation");
    static_cast<void>(innermost);
    --openGuards;
    installed() = std::move(saved_);
}

Services* ScopedServices::operator->() const {
    return &installed();
}

Services& ScopedServices::operator*() const {
    return installed();
}

}  // namespace tarn
