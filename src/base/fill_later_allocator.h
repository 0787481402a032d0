#pragma once
// An allocator for storage that is filled in whole right after it is sized
// (a file read into it): growing a container with it leaves the new bytes as
// the system gives them instead of zeroing them first, so each page is
// touched once, by the filling, not twice.

#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace base {

template <typename T>
class FillLaterAllocator : public std::allocator<T> {
  public:
    using value_type = T;

    FillLaterAllocator() noexcept = default;
    template <typename U>
    FillLaterAllocator(const FillLaterAllocator<U>&) noexcept {}  // NOLINT: rebinding

    template <typename U>
    struct rebind {
        using other = FillLaterAllocator<U>;
    };

    // A new entry without a value keeps what the memory held.
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

template <typename T, typename U>
bool operator==(const FillLaterAllocator<T>&, const FillLaterAllocator<U>&) noexcept {
    return true;
}

}  // namespace base
