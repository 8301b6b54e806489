#pragma once

#include <string>
#include <vector>

#include "platform/call_failure.h"

namespace selvane {

Checked<std::wstring> ProgramPath();

// The arguments this program was started with, UTF-8, as CommandLineToArgvW
// reads them, without the program's own name, however the launcher wrote
// that name: quoted, or unquoted with blanks in it.
std::vector<std::string> ProgramArguments();

// A path as Windows resolves it: made absolute from the current directory,
// trailing dots and blanks dropped, short (8.3) names made long as far as
// the path exists. The path as given when it cannot be resolved.
std::wstring ResolvedPath(const std::wstring& path);

}  // namespace selvane
