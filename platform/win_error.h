#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <type_traits>

#include "platform/call_failure.h"
#include "platform/unique_handle_win.h"

namespace selvane {

// The failure of a function that has just set GetLastError.
inline CallFailure LastErrorFailure(const char* function) { return {function, GetLastError()}; }

template <typename Result>
CallResult CheckBool(Result result, const char* function) {
    static_assert(std::is_same_v<Result, BOOL>, "CHECK_BOOL is for functions that return BOOL");
    if (result) return std::nullopt;
    return LastErrorFailure(function);
}

template <typename Handle>
Checked<Handle> CheckHandle(Handle handle, const char* function) {
    static_assert(std::is_pointer_v<Handle>, "CHECK_HANDLE is for functions that return a handle");
    if (handle) return {handle, std::nullopt};
    return {handle, LastErrorFailure(function)};
}

// CreateFile and its kin, which answer INVALID_HANDLE_VALUE.
inline Checked<UniqueFile> CheckFile(HANDLE file, const char* function) {
    if (file != INVALID_HANDLE_VALUE) return {UniqueFile(file), std::nullopt};
    return {UniqueFile(), LastErrorFailure(function)};
}

}  // namespace selvane

// A Windows function that reports failure with FALSE and GetLastError:
// nothing when it succeeded, otherwise its name and the system's reason.
#define CHECK_BOOL(function, ...) ::selvane::CheckBool(function(__VA_ARGS__), #function)
// One that reports failure with a null handle: the handle, or the failure.
#define CHECK_HANDLE(function, ...) ::selvane::CheckHandle(function(__VA_ARGS__), #function)
// One that reports failure with INVALID_HANDLE_VALUE: the owned file, or the failure.
#define CHECK_FILE(function, ...) ::selvane::CheckFile(function(__VA_ARGS__), #function)
