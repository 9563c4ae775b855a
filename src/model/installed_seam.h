#pragma once

namespace tarn {

// A process-wide seam: the one the shell, the tool or a test installed, else a
// harmless fallback, so callers never see a null.
template <class Seam>
class InstalledSeam {
  public:
    constexpr explicit InstalledSeam(Seam& fallback) : fallback_(fallback) {}
    Seam& get() const { return installed_ ? *installed_ : fallback_; }
    void install(Seam* seam) { installed_ = seam; }  // nullptr restores the fallback

  private:
    Seam& fallback_;
    Seam* installed_ = nullptr;
};

}  // namespace tarn
