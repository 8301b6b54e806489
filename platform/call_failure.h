#pragma once

#include <optional>
#include <string>

namespace selvane {

// A system call that failed: the function's name and the system's error
// code. Words for it are made where it is shown (SystemErrorText).
struct CallFailure {
    const char* function = "";
    unsigned long code = 0;
};

// Nothing when the call succeeded.
using CallResult = std::optional<CallFailure>;

// A call's result, or why there is none.
template <typename T>
struct Checked {
    T value{};
    CallResult failure;
    explicit operator bool() const { return !failure; }
};

// The system's own words for an error code, with the code: "… (5)". A place
// the text leaves for a caller's insert ("%1") shows as "…": the caller
// names the file in its own words. Where there are no words, the code alone.
std::string SystemErrorText(unsigned long code);

// "CreateMutexW: … (5)"
inline std::string CallText(const CallFailure& failure) {
    return std::string(failure.function) + ": " + SystemErrorText(failure.code);
}

}  // namespace selvane
