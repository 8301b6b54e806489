#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace selvane {

inline constexpr std::int16_t kSupportedServerType = 2;
inline constexpr char kDatabaseFileName[] = "ORNA.mdb";
inline constexpr char kServerTypeQuery[] = "SELECT Type FROM Type Where ID = 1";

// The connection string for ORNA.mdb in the application folder.
std::string BuildConnectionString(std::string_view appFolder);

// Reads a field's text as a 16-bit signed integer the way the product's
// tools always have: surrounding blanks ignored, a fraction to the nearest
// integer with an exact half to the even neighbour. Nothing for text that is
// no plain decimal number, or a number outside -32768..32767.
std::optional<std::int16_t> ToServerTypeValue(std::string_view text);

struct ServerTypeReading {
    std::optional<std::int16_t> type;  // set when the value could be read
    std::string failure;               // why it could not, with ODBC's diagnostics
};

ServerTypeReading ReadServerType(std::string_view appFolder);
// The field's text as the driver gives it, in its ANSI code page.
ServerTypeReading ServerTypeOfField(std::string_view text);

// Only a value that was read and is not 2 refuses the server.
bool PassesServerTypeCheck(const ServerTypeReading& reading);

}  // namespace selvane
