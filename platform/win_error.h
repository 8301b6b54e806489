#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace selvane {

// The system's own text for an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);

// A failed Windows call: names the call and carries the system's reason.
class WinError : public std::exception {
public:
    WinError(const std::string& what, DWORD code);
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

[[noreturn]] void ThrowLastError(const char* call);

template <typename T>
T CheckWin32(T result, const char* call) {
    if (!result) ThrowLastError(call);
    return result;
}

}  // namespace selvane

// Wraps a Windows call whose failure is a zero/null result and GetLastError.
#define WIN32_CHECK(call) ::selvane::CheckWin32((call), #call)
