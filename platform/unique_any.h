#pragma once

#include <utility>

namespace selvane {

template <typename T>
constexpr T NullValue() {
    return T{};
}

// Owns one handle and releases it with Close; not copyable, movable. Invalid
// gives the value that holds nothing (null, unless the handle type says
// otherwise).
template <typename T, auto Close, auto Invalid = &NullValue<T>>
class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    ~UniqueAny() { reset(); }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid(); }
    T release() { return std::exchange(value_, Invalid()); }
    void reset(T value = Invalid()) {
        if (value_ != Invalid()) Close(value_);
        value_ = value;
    }

private:
    T value_ = Invalid();
};

}  // namespace selvane
