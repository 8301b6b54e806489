#pragma once

#include <string>

namespace selvane {

// The folder that holds this program, UTF-8, without a trailing backslash
// except at a drive root.
std::string ProgramFolder();

}  // namespace selvane
