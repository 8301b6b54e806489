#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// A settings file's text as Windows' profile functions read it, in UTF-8:
// UTF-16 little-endian after its byte-order mark, otherwise the ANSI code
// page (a big-endian or UTF-8 mark included).
std::string SettingsText(std::string_view bytes);

// The text's lines, without their line ends: LF, CR LF and a lone CR each
// end a line.
std::vector<std::string_view> Lines(std::string_view text);

// Where a key stands, found as the profile functions find it: in the first
// section of that name (a line whose first character is '[', up to its first
// ']' or the line's end), names compared without regard to case, blanks and Ctrl-Z around
// lines, keys and values ignored, a NUL ending a name or a value.
struct IniEntry {
    bool sectionFound = false;
    std::optional<std::string> line;  // the key's line as it stands, quotes and blanks included
};
IniEntry FindEntry(std::string_view text, std::string_view section, std::string_view key);

// What follows a key line's first '=', exactly as it stands.
std::string_view RawValue(std::string_view line);
// The value as the profile functions give it: blanks around it trimmed, cut
// at a NUL, and one pair of enclosing quotes removed. A key line without
// '=' holds no value: the profile functions read it as missing (and a write
// replaces it).
std::optional<std::string> ProfileValue(std::string_view line);

}  // namespace selvane
