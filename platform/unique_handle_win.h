#pragma once

#include <windows.h>

#include <utility>

namespace selvane {

// Owns one Windows handle and releases it with Close; not copyable, movable.
template <typename T, auto Close, T Invalid = T{}>
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
    explicit operator bool() const { return value_ != Invalid; }
    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        if (value_ != Invalid) Close(value_);
        value_ = value;
    }

private:
    T value_ = Invalid;
};

inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteGdiFont(HFONT font) { DeleteObject(font); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { DestroyWindow(window); }

using UniqueHandle = UniqueAny<HANDLE, CloseKernelHandle>;
using UniqueFont = UniqueAny<HFONT, DeleteGdiFont>;
using UniqueIcon = UniqueAny<HICON, DestroyIconHandle>;
using UniqueWindow = UniqueAny<HWND, DestroyWindowHandle>;

}  // namespace selvane
