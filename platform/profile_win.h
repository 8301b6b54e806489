#pragma once

#include <windows.h>

#include <string>

// windows.h maps WriteProfileString to the win.ini-only API; ours takes a file.
#undef WriteProfileString

namespace selvane {

// Writes one key of an INI file in the ANSI code page. False when the write
// failed, or when a text cannot be expressed in the code page; GetLastError
// then tells why.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace selvane
