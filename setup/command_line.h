#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// Quotes one argument so that the Windows command-line parser
// (CommandLineToArgvW, the C runtime) gives it back unchanged: always in
// double quotes, backslashes doubled where they precede a quote.
std::string QuoteArgument(std::string_view argument);

// The command line that runs a batch file through cmd.exe, named by its full
// path in the system directory. "/s /c" with an outer pair of quotes makes
// cmd keep the quoted batch path exactly, blanks and parentheses included
// ("C:\Program Files (x86)\..."). Nothing when the path holds '%' (cmd would
// expand it as a variable) or a quote, which no file name may contain.
std::optional<std::string> BatchCommandLine(std::string_view systemDirectory,
                                            std::string_view batchFile);

}  // namespace selvane
