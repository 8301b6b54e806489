#pragma once

#include <windows.h>

#include <string>

#include "platform/call_failure.h"

// windows.h maps WriteProfileString to the win.ini-only API; ours takes a file.
#undef WriteProfileString

namespace selvane {

// Writes one key of an INI file in the ANSI code page, or with no value
// deletes it; with no key either, deletes the whole section. A text the
// code page cannot hold is refused, never written as "?".
CallResult WriteProfileString(const std::string& file, const std::string& section,
                              const std::optional<std::string>& key, const std::optional<std::string>& value);

}  // namespace selvane
