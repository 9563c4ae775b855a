#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/window_handle.h"

namespace tarn {

// The two private clipboard formats: "Tarn_RadioData" (whole clients) and
// "Tarn_ChanData" (channels with their labels).
enum class ClipboardFormat { Clients, Channels };

// The clipboard seam, shaped after the platform's open/empty/set/get/close cycle.
// The shell implements it on QClipboard; tests use an in-memory fake.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // False when the format could not be registered at start-up: its operations then do nothing.
    virtual bool isRegistered(ClipboardFormat format) const = 0;
    virtual bool open(WindowHandle owner) = 0;
    virtual bool empty() = 0;
    // Hands a block over; false when the clipboard refuses it.
    virtual bool setData(ClipboardFormat format, std::vector<std::uint8_t> block) = 0;
    virtual bool isAvailable(ClipboardFormat format) const = 0;
    virtual std::optional<std::vector<std::uint8_t>> getData(ClipboardFormat format) const = 0;
    virtual void close() = 0;
};

// The installed one (Services::clipboard); never null (else an in-memory clipboard).
Clipboard& clipboard();

// One open-to-close use of the clipboard for one format: opened by the constructor when
// the format is registered, closed by the destructor, so no return path leaves it open.
class ClipboardSession {
  public:
    ClipboardSession(ClipboardFormat format, WindowHandle owner)
        : board_(clipboard()), open_(board_.isRegistered(format) && board_.open(owner)) {}
    ~ClipboardSession() {
        if (open_) board_.close();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    // False when the format is unregistered or the clipboard could not be opened.
    explicit operator bool() const { return open_; }
    Clipboard* operator->() const { return &board_; }

  private:
    Clipboard& board_;
    bool open_;
};

}  // namespace tarn
