#pragma once

#include <string_view>

namespace selvane {

// The text after the program's name on a command line.
//
// A quoted name ends at its closing quote. An unquoted one is what a
// launcher passed on as it was (CreateProcess with an unquoted path, VB's
// Shell): Windows then started the shortest prefix ending at a blank that
// names a program file, so the name ends after the first prefix that names
// this program ("C:\Program Files\x\selvane-init.exe /WAIT"). When none
// does, the name ends at the first blank, as CommandLineToArgvW reads it.
template <typename Char, typename NamesThisProgram>
std::basic_string_view<Char> ArgumentText(std::basic_string_view<Char> commandLine,
                                          NamesThisProgram&& namesThisProgram) {
    using Text = std::basic_string_view<Char>;
    static constexpr Char kBlanksText[] = {' ', '\t', 0};
    constexpr Text kBlanks = kBlanksText;
    constexpr auto npos = Text::npos;
    std::size_t end = commandLine.find_first_of(kBlanks);
    if (commandLine.starts_with('"')) {
        end = commandLine.find('"', 1);
        end = end == npos ? npos : end + 1;
    } else if (end != npos) {
        // Each prefix up to a blank, then the whole line.
        for (std::size_t blank = end;; blank = commandLine.find_first_of(kBlanks, blank + 1)) {
            if (namesThisProgram(commandLine.substr(0, blank))) {
                end = blank;
                break;
            }
            if (blank == npos) break;
        }
    }
    const std::size_t start = end == npos ? npos : commandLine.find_first_not_of(kBlanks, end);
    return start == npos ? Text() : commandLine.substr(start);
}

}  // namespace selvane
