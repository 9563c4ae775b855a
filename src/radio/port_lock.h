#pragma once

#include <filesystem>
#include <string>

#include "radio/serial_device.h"

namespace tarn {

// The UUCP lock file of a serial device, which programs that use serial ports agree on:
// "LCK..ttyUSB0" in the lock folder (normally /var/lock) names the process using
// /dev/ttyUSB0, as ten ASCII digits and a line feed. A lock whose process is gone is
// stale and is taken over. Where the folder is not writable the port is used without a
// lock of our own, but a live lock of another program is still honoured. (POSIX only.)
class PortLock {
  public:
    PortLock() = default;
    ~PortLock() { release(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // Takes the lock of `device` in `folder`; false when another process holds it, which
    // holder() then names.
    bool take(const std::filesystem::path& folder, const std::string& device);
    // Removes the lock file, if it is still ours.
    void release();
    const PortHolder& holder() const { return holder_; }
    bool held() const { return !file_.empty(); }

  private:
    std::filesystem::path file_;  // the lock file this object created
    PortHolder holder_;
};

// The lock file `folder` holds for `device` (the name with symbolic links resolved).
std::filesystem::path lockFileOf(const std::filesystem::path& folder, const std::string& device);

// Who holds `device`'s lock in `folder` now, without taking it: nobody when there is no
// lock or a stale one; a lock file that names no process holds the port for an unknown one.
PortHolder portLockHolder(const std::filesystem::path& folder, const std::string& device);

}  // namespace tarn
