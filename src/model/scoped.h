#pragma once

#include <cassert>
#include <utility>

namespace tarn {

// One process-wide value of type T (a set of seams) that a program installs once at
// start-up and tests replace for one scope. A Scoped<T> remembers the value as it was when
// it was made and puts exactly that back when it ends, on every path out of the scope (an
// early return or a failed test check included). Changes made through it take effect at
// once. Guards nest and end in reverse order of creation.
template <class T>
class Scoped {
  public:
    Scoped() : saved_(current()), depth_(++guards()) {}
    explicit Scoped(T replacement) : Scoped() { current() = std::move(replacement); }
    ~Scoped() {
        // Ending out of order would put back a value that a newer guard still relies on.
        assert(depth_ == guards() && "Scoped guards must end in reverse order of creation");
        --guards();
        current() = std::move(saved_);
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    T* operator->() const { return &current(); }
    T& operator*() const { return current(); }

    // The value installed now (T's defaults before any guard).
    static T& current() {
        static T value;
        return value;
    }

  private:
    static int& guards() {
        static int open = 0;
        return open;
    }

    T saved_;
    int depth_;
};

}  // namespace tarn
