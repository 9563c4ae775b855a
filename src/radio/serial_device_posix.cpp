// The termios driver of the serial device seam.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "radio/port_lock.h"
#include "radio/port_name.h"
#include "radio/port_rules.h"
#include "radio/serial_device.h"

namespace tarn {
namespace {

class PosixSerialDevice final : public SerialDevice {
  public:
    ~PosixSerialDevice() override { close(); }

    bool open(const std::string& name) override {
        close();
        openError_ = OpenError::Missing;
        holder_ = {};
        const std::string path = posixDevicePath(name);
        struct stat info {};
        if (path.empty() || ::stat(path.c_str(), &info) != 0) {
            if (!path.empty()) openError_ = openErrorFromErrno(errno);
            return false;
        }
        // The lock file first, as every program using serial ports does.
        if (!lock_.take(portPlaces().lockFolder, path)) {
            openError_ = OpenError::Busy;
            holder_ = lock_.holder();
            return false;
        }
        // Non-blocking only for the open itself, so a port without carrier cannot hang it.
        // Close-on-exec: a program started meanwhile must not inherit the port and its lock.
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        openError_ = openErrorFromErrno(fd_ < 0 ? errno : 0);
        if (fd_ < 0 || !holdAlone()) {
            close();
            return false;
        }
        // Kept to be put back at close; a device that is no terminal has none.
        saved_ = ::tcgetattr(fd_, &settings_) == 0;
        savedLines_ = ::ioctl(fd_, TIOCMGET, &lines_) == 0;  // a pty has no modem lines
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            openError_ = OpenError::Other;
            close();
            return false;
        }
        // A freshly opened port holds no stale input, as on Windows.
        ::tcflush(fd_, TCIOFLUSH);
        return true;
    }

    bool applyLineSettings() override {
        termios tio{};
        if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0) return false;
        if (::cfsetispeed(&tio, B4800) != 0 || ::cfsetospeed(&tio, B4800) != 0) return false;
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        tio.c_cflag |= CS8 | CLOCAL | CREAD;
        // Binary: no character translation, no software flow control, no echo.
        tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                              ICRNL | IXON | IXOFF | IXANY);
        tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
        tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
        return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
    }

    bool applyTimeouts() override {
        termios tio{};
        if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0) return false;
        tio.c_cc[VMIN] = 0;   // return whatever is buffered at once,
        tio.c_cc[VTIME] = 1;  // else wait up to 100 ms for the first byte
        return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
    }

    void setModemLine(ModemLine line, bool raised) override {
        if (fd_ < 0) return;
        int bit = line == ModemLine::Rts ? TIOCM_RTS : TIOCM_DTR;
        ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bit);  // ENOTTY on a pty: fine
    }

    int read(std::uint8_t* buffer, int capacity) override {
        if (fd_ < 0 || capacity <= 0) return 0;
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(capacity));
            if (n >= 0) return static_cast<int>(n);
            if (errno != EINTR) return 0;
        }
    }

    int write(const std::uint8_t* bytes, int length) override {
        if (fd_ < 0 || length <= 0) return 0;
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + milliseconds(length + 1000);
        int done = 0;
        while (done < length) {
            const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
            pollfd pfd{fd_, POLLOUT, 0};
            const int ready =
                ::poll(&pfd, 1, static_cast<int>(left.count() > 0 ? left.count() : 0));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0 || (pfd.revents & (POLLERR | POLLHUP | POLLNVAL))) break;
            const ssize_t n = ::write(fd_, bytes + done, static_cast<size_t>(length - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<int>(n);
        }
        // Return only once the bytes have left the port, so gaps are gaps on the line.
        if (done > 0) ::tcdrain(fd_);
        return done;
    }

    OpenError lastOpenError() const override { return openError_; }
    void restoreModemLinesOnClose() override { restoreLines_ = true; }

    PortHolder lastOpenHolder() const override { return holder_; }

    void close() override {
        if (fd_ >= 0) {
            if (restoreLines_ && savedLines_) {
                int lines = 0;
                if (::ioctl(fd_, TIOCMGET, &lines) == 0) {
                    const int mask = TIOCM_RTS | TIOCM_DTR;
                    lines = (lines & ~mask) | (lines_ & mask);
                    ::ioctl(fd_, TIOCMSET, &lines);
                }
            }
            if (saved_) ::tcsetattr(fd_, TCSANOW, &settings_);
            if (exclusive_) ::ioctl(fd_, TIOCNXCL);  // the mark outlives us on a shared pty
            ::close(fd_);
        }
        fd_ = -1;
        saved_ = savedLines_ = exclusive_ = false;
        lock_.release();
    }

  private:
    // Exclusive: TIOCEXCL keeps other opens out, the lock keeps out any other program that
    // locks the port as well. Root passes another's TIOCEXCL, so it is looked at first.
    bool holdAlone() {
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            openError_ = openErrorFromErrno(errno);
            return false;
        }
        int taken = 0;
#ifdef TIOCGEXCL
        if (::ioctl(fd_, TIOCGEXCL, &taken) == 0 && taken) {
            openError_ = OpenError::Busy;
            return false;
        }
#endif
        exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
        return true;
    }

  private:
    int fd_ = -1;
    OpenError openError_ = OpenError::None;
    PortHolder holder_;
    PortLock lock_;
    termios settings_{};  // as open found them
    bool saved_ = false;
    int lines_ = 0;  // the modem lines as open found them
    bool savedLines_ = false;
    bool restoreLines_ = false;
    bool exclusive_ = false;  // TIOCEXCL is ours to clear
};

}  // namespace

std::unique_ptr<SerialDevice> makePlatformSerialDevice() {
    return std::make_unique<PosixSerialDevice>();
}

}  // namespace tarn
