#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// A settings file's text as the profile functions read it, in UTF-8: UTF-16
// or UTF-8 after their byte-order marks, otherwise the ANSI code page.
std::string SettingsText(std::string_view bytes);

// The text's lines, without their line ends.
std::vector<std::string_view> Lines(std::string_view text);

// Where a key stands, found as the profile functions find it: in the first
// section of that name, names compared without regard to case and the
// blanks around them ignored.
struct IniEntry {
    bool sectionFound = false;
    std::optional<std::string> line;  // the key's line as it stands, quotes and blanks included
};
IniEntry FindEntry(std::string_view text, std::string_view section, std::string_view key);

// What follows a key line's first '=', exactly as it stands.
std::string_view RawValue(std::string_view line);
// The value as the profile functions give it: blanks around it trimmed and
// one pair of enclosing quotes removed.
std::string ProfileValue(std::string_view line);

}  // namespace selvane
