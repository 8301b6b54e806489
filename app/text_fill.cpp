#include "app/text_fill.h"

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
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view part = text.substr(start, end - start);
        if (!part.empty()) {
            if (!line.empty()) line += ' ';
            line += part;
        }
        start = end + 1;
    }
    return line;
}

}  // namespace selvane
