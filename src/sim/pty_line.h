#pragma once

#include <cstdint>
#include <string>

namespace tarn {

// The radio's end of a pseudo-terminal. Clients open slavePath() as their serial port.
// The radio keeps a slave descriptor of its own, so the line survives a client's close.
class PtyLine {
  public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool open();    // false (with errno set) when no pseudo-terminal can be had
    void hangUp();  // drops the line: clients read end-of-file or an error from now on
    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace tarn
