#pragma once

#include <string>
#include <vector>

namespace selvane {

// The arguments this program was started with, UTF-8, as CommandLineToArgvW
// reads them, without the program's own name, however the launcher wrote
// that name: quoted, or unquoted with blanks in it.
std::vector<std::string> ProgramArguments();

}  // namespace selvane
