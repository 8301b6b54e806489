#include "app/text_fill.h"

#include "setup/ini_text.h"

namespace selvane {

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    auto value = values.begin();
    for (std::size_t at = 0; at < pattern.size();) {
        const std::size_t mark = pattern.find("{}", at);
        if (mark == std::string_view::npos || value == values.end()) {
            text += pattern.substr(at);
            break;
        }
        text += pattern.substr(at, mark - at);
        text += *value++;
        at = mark + 2;
    }
    return text;
}

std::string OneLine(std::string_view text) {
    std::string line;
    for (const std::string_view part : Lines(text)) {
        if (part.empty()) continue;
        if (!line.empty()) line += ' ';
        line += part;
    }
    return line;
}

}  // namespace selvane
