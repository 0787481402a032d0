#pragma once
// A view that indexes a vector from 1, so that algorithms counted from 1
// (positions, station and vertex numbers, 0 = none) read as they are written.
// Indices are checked in debug and sanitizer builds.

#include <cassert>
#include <cstddef>
#include <vector>

namespace base {

template <typename T>
class OneBased {
  public:
    explicit OneBased(std::vector<T>& v) : v_(&v) {}
    T& operator()(std::ptrdiff_t i) const {
        assert(i >= 1 && static_cast<std::size_t>(i) <= v_->size());
        return (*v_)[static_cast<std::size_t>(i - 1)];
    }
    std::ptrdiff_t size() const { return static_cast<std::ptrdiff_t>(v_->size()); }

  private:
    std::vector<T>* v_;
};

template <typename T>
class OneBasedConst {
  public:
    explicit OneBasedConst(const std::vector<T>& v) : v_(&v) {}
    const T& operator()(std::ptrdiff_t i) const {
        assert(i >= 1 && static_cast<std::size_t>(i) <= v_->size());
        return (*v_)[static_cast<std::size_t>(i - 1)];
    }
    std::ptrdiff_t size() const { return static_cast<std::ptrdiff_t>(v_->size()); }

  private:
    const std::vector<T>* v_;
};

template <typename T>
OneBased<T> oneBased(std::vector<T>& v) {
    return OneBased<T>(v);
}
template <typename T>
OneBasedConst<T> oneBased(const std::vector<T>& v) {
    return OneBasedConst<T>(v);
}

}  // namespace base
