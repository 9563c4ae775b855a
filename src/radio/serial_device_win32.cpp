// The Win32 comm driver of the serial device seam.
#include <windows.h>

#include "radio/port_name.h"
#include "radio/serial_device.h"

namespace tarn {
namespace {

class Win32SerialDevice final : public SerialDevice {
  public:
    ~Win32SerialDevice() override { close(); }

    bool open(const std::string& name) override {
        close();
        const std::string path = win32DevicePath(name);
        handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
        if (handle_ != INVALID_HANDLE_VALUE) {
            openError_ = OpenError::None;
            return true;
        }
        // A port another program holds answers "access denied" on Windows.
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                openError_ = OpenError::Missing;
                break;
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
                openError_ = OpenError::Busy;
                break;
            default:
                openError_ = OpenError::Other;
        }
        return false;
    }

    OpenError lastOpenError() const override { return openError_; }

    bool applyLineSettings() override {
        DCB dcb{};
        dcb.DCBlength = sizeof(dcb);
        if (!GetCommState(handle_, &dcb)) return false;
        dcb.BaudRate = CBR_4800;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        // No hardware handshake either, whatever the driver had.
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        return SetCommState(handle_, &dcb) != 0;
    }

    bool applyTimeouts() override {
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = 100;
        timeouts.WriteTotalTimeoutMultiplier = 1;
        timeouts.WriteTotalTimeoutConstant = 1000;
        return SetCommTimeouts(handle_, &timeouts) != 0;
    }

    void setModemLine(ModemLine line, bool raised) override {
        DWORD function = 0;
        if (line == ModemLine::Rts)
            function = raised ? SETRTS : CLRRTS;
        else
            function = raised ? SETDTR : CLRDTR;
        EscapeCommFunction(handle_, function);
    }

    int read(std::uint8_t* buffer, int capacity) override {
        DWORD n = 0;
        if (capacity <= 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(capacity), &n, nullptr))
            return 0;
        return static_cast<int>(n);
    }

    int write(const std::uint8_t* bytes, int length) override {
        DWORD n = 0;
        if (length <= 0 || !WriteFile(handle_, bytes, static_cast<DWORD>(length), &n, nullptr))
            return 0;
        FlushFileBuffers(handle_);  // return once the bytes have left the port
        return static_cast<int>(n);
    }

    void close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return;
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    OpenError openError_ = OpenError::None;
};

}  // namespace

std::unique_ptr<SerialDevice> makePlatformSerialDevice() {
    return std::make_unique<Win32SerialDevice>();
}

}  // namespace tarn
