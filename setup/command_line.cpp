#include "setup/command_line.h"

#include "platform/folder_path.h"

namespace selvane {

std::string QuoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Those before the closing quote are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::optional<std::string> BatchCommandLine(std::string_view systemDirectory,
                                            std::string_view batchFile) {
    if (batchFile.find_first_of("%\"") != std::string_view::npos) return std::nullopt;
    return QuoteArgument(JoinPath(systemDirectory, "cmd.exe")) + " /d /s /c \"" +
           QuoteArgument(batchFile) + "\"";
}

}  // namespace selvane
