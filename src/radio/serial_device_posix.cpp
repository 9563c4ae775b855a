// The termios driver of the serial device seam.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "radio/port_name.h"
#include "radio/serial_device.h"

namespace tarn {
namespace {

class PosixSerialDevice final : public SerialDevice {
  public:
    ~PosixSerialDevice() override { close(); }

    bool open(const std::string& name) override {
        close();
        openError_ = OpenError::Missing;
        const std::string path = posixDevicePath(name);
        if (path.empty()) return false;
        // Non-blocking only for the open itself, so a port without carrier cannot hang it.
        // Close-on-exec: a program started meanwhile must not inherit the port and its lock.
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        openError_ = openErrorFromErrno(fd_ < 0 ? errno : 0);
        if (fd_ < 0) return false;
        // Exclusive: TIOCEXCL keeps other opens out (root passes it), the lock keeps
        // out any other program that locks the port as well.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            openError_ = openErrorFromErrno(errno);
            close();
            return false;
        }
        ::ioctl(fd_, TIOCEXCL);
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

    void close() override {
        if (fd_ < 0) return;
        ::ioctl(fd_, TIOCNXCL);  // the exclusive mark outlives us on a shared pty
        ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
    OpenError openError_ = OpenError::None;
};

}  // namespace

std::unique_ptr<SerialDevice> makePlatformSerialDevice() {
    return std::make_unique<PosixSerialDevice>();
}

}  // namespace tarn
