#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarn {

// FNV-1a over 64-bit words of a byte stream, the same however the stream is cut into
// pieces: cheap enough to run over every byte a load reads or a save writes, so that a
// file's identity never costs a second reading.
class ContentHash {
  public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        size_ += size;
        while (size > 0) {
            const std::size_t take = size < 8 - used_ ? size : 8 - used_;
            std::memcpy(word_ + used_, bytes, take);
            used_ += take;
            bytes += take;
            size -= take;
            if (used_ == 8) mix(8);
        }
    }
    // The hash of everything added so far.
    std::uint64_t value() const {
        ContentHash rest = *this;
        if (rest.used_ > 0) rest.mix(rest.used_);
        return (rest.hash_ ^ size_) * kPrime;
    }
    std::uint64_t size() const { return size_; }

  private:
    static constexpr std::uint64_t kPrime = 1099511628211ull;
    void mix(std::size_t count) {
        std::uint64_t word = 0;
        std::memcpy(&word, word_, count);
        hash_ = (hash_ ^ word) * kPrime;
        used_ = 0;
    }

    std::uint64_t hash_ = 14695981039346656037ull;
    std::uint64_t size_ = 0;
    std::uint8_t word_[8] = {};
    std::size_t used_ = 0;
};

}  // namespace tarn
