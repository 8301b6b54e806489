#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// Converts UTF-8 text to the system's ANSI code page for the "A" functions.
// Returns nothing when a character has no exact form there: Windows would
// otherwise put "?" or a look-alike in its place and a path would silently
// name another file.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

// Text the "A" functions gave back, as UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace selvane
