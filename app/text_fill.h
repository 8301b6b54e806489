#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace selvane {

// A text of messages.h with its "{}" replaced by the values, in order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values);

// The lines of a message as one line of a log or a console.
std::string OneLine(std::string_view text);

}  // namespace selvane
