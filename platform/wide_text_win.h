#pragma once

#include <string>
#include <string_view>

namespace selvane {

// The program keeps its text in UTF-8 and talks to the "W" functions in UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace selvane
