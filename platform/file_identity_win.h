#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/call_failure.h"

namespace selvane {

// The file a handle reaches, whatever name, hard or symbolic link or stream
// ("::$DATA") led to it: its volume and its index there.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
    // As text to keep, "VVVVVVVV-HHHHHHHHLLLLLLLL" in hexadecimal.
    std::string Text() const;
};

std::optional<FileIdentity> IdentityOf(HANDLE file);
// None when nothing is there (or it cannot be opened at all).
std::optional<FileIdentity> IdentityOfPath(const std::wstring& path);

// Where the path leads, every link and junction followed: "C:\\…" or "\\\\server\\share\\…".
Checked<std::wstring> FinalPath(const std::wstring& path);

}  // namespace selvane
