#include "setup/ini_text.h"

#include <algorithm>

#include "platform/folder_path.h"
#include "platform/text_encoding.h"
#include "platform/trimmed.h"

namespace selvane {
namespace {

// What the profile functions skip around lines, names and values: the
// controls from TAB to CR, Ctrl-Z (an old end-of-file mark) and the space.
bool IsProfileBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

std::string_view Trim(std::string_view text) { return Trimmed(text, IsProfileBlank); }

// Names and values are kept as C strings: a NUL ends them.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

bool SameName(std::string_view found, std::string_view wanted) {
    return CaseFolded(UpToNul(Trim(found))) == CaseFolded(Trim(wanted));
}

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
        return;
    }
    constexpr unsigned char kLeadBits[] = {0, 0xC0, 0xE0, 0xF0};
    const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    text += static_cast<char>(kLeadBits[continuations] | (c >> (6 * continuations)));
    for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
        text += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
    }
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    const auto unit = [&](std::size_t at) -> char32_t {
        return static_cast<unsigned char>(bytes[at + 1]) << 8 | static_cast<unsigned char>(bytes[at]);
    };
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendUtf8(text, c);
    }
    return text;
}

}  // namespace

std::string SettingsText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return Utf16LeToUtf8(bytes.substr(2));
    // Windows takes no other mark (Wine takes a big-endian one and skips a
    // UTF-8 one): a UTF-8 mark is ANSI characters before the first line's
    // text, and a big-endian file is ANSI text with a NUL before each
    // character, in which no header or key is found.
    return AnsiToUtf8(bytes);
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        lines.push_back(text.substr(0, end));
        const std::size_t next = text.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        text.remove_prefix(std::min(next, text.size()));
    }
    return lines;
}

IniEntry FindEntry(std::string_view text, std::string_view section, std::string_view key) {
    IniEntry entry;
    bool inSection = false;
    for (const std::string_view line : Lines(text)) {
        const std::string_view trimmed = Trim(line);
        // A header's name ends at its first ']', or at the line's end where
        // it has none; what follows the ']' is ignored (Wine differs on both).
        if (trimmed.starts_with('[')) {
            if (entry.sectionFound) break;
            inSection = SameName(trimmed.substr(1, trimmed.find(']') - 1), section);
            entry.sectionFound = inSection;
        } else if (inSection && SameName(trimmed.substr(0, trimmed.find('=')), key)) {
            entry.line = std::string(line);
            break;
        }
    }
    return entry;
}

std::string_view RawValue(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

std::optional<std::string> ProfileValue(std::string_view line) {
    if (line.find('=') == std::string_view::npos) return std::nullopt;
    std::string_view value = UpToNul(Trim(RawValue(line)));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace selvane
