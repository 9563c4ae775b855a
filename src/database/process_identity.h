#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarn {

// Who this process is, as a lock file beside a database tells other programs (and other
// computers on a shared folder).
struct ProcessIdentity {
    std::string user;     // the user's login name
    std::string host;     // the computer's name
    std::string program;  // the program's file name, without folder
    std::int64_t pid = 0;
    std::uint64_t started = 0;  // when the process started, in the system's units
};
ProcessIdentity thisProcess();

// When the process with this id on this computer started; nothing when there is no such
// process; 0 when the system does not tell (then the id alone counts).
std::optional<std::uint64_t> processStart(std::int64_t pid);

}  // namespace tarn
