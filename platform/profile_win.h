#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/call_failure.h"

// windows.h maps WriteProfileString to the win.ini-only API; ours takes a file.
#undef WriteProfileString

namespace selvane {

// Writes one key of an INI file in the ANSI code page. False when the write
// failed, or when a text cannot be expressed in the code page; GetLastError
// then tells why.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// Deletes one key, or with an empty key the whole section. False as above.
bool DeleteProfileString(const std::string& file, const std::string& section, const std::string& key);

// What an INI file holds for one key, as the profile functions read it:
// names compared without regard to case, the value in UTF-8. A path with
// nothing there, nothing reachable, or a folder holds nothing.
struct ProfileEntry {
    bool fileExists = false;
    bool sectionExists = false;
    std::optional<std::string> value;  // none: no such key
};

// A failure when the file is there but cannot be read (held open without
// sharing, access denied): the profile functions would read it as empty.
Checked<ProfileEntry> ReadProfileString(const std::string& file, const std::string& section, const std::string& key);

}  // namespace selvane
