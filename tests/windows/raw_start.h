#pragma once

#include <windows.h>

#include <string>

namespace selvane::testing {

// Starts the image with this command line passed through unchanged, as
// Windows' CreateProcess passes an unquoted path with blanks, in the given
// current directory. Throws when the system refuses.
PROCESS_INFORMATION StartWithCommandLineAsGiven(const std::wstring& image, const std::wstring& commandLine,
                                                const std::wstring& currentDirectory);

}  // namespace selvane::testing
