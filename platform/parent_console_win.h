#pragma once

#include <string_view>

namespace selvane {

// Writes text to the console this program was started from, or to the
// standard output it was handed; never opens a console of its own. False
// when there is neither.
bool PrintToParentConsole(std::string_view utf8);

}  // namespace selvane
