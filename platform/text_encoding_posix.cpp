#include "platform/text_encoding.h"

namespace selvane {

// unixODBC and the file system take UTF-8 bytes as they are.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8) { return std::string(utf8); }

std::string AnsiToUtf8(std::string_view ansi) { return std::string(ansi); }

}  // namespace selvane
