#include "setup/ini_text.h"

#include "platform/folder_path.h"
#include "platform/text_encoding.h"

namespace selvane {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
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
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t c = static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
        if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = static_cast<unsigned char>(bytes[at + 2]) | static_cast<unsigned char>(bytes[at + 3]) << 8;
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
    if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    return AnsiToUtf8(bytes);
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

IniEntry FindEntry(std::string_view text, std::string_view section, std::string_view key) {
    IniEntry entry;
    bool inSection = false;
    for (const std::string_view line : Lines(text)) {
        const std::string_view trimmed = Trim(line);
        if (trimmed.starts_with('[')) {
            if (entry.sectionFound) break;
            inSection = CaseFolded(Trim(trimmed.substr(1, trimmed.find(']') - 1))) == CaseFolded(section);
            entry.sectionFound = inSection;
        } else if (inSection && !trimmed.starts_with(';') && CaseFolded(Trim(trimmed.substr(0, trimmed.find('=')))) == CaseFolded(key)) {
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

std::string ProfileValue(std::string_view line) {
    std::string_view value = Trim(RawValue(line));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace selvane
