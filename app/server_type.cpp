#include "app/server_type.h"

#include <cmath>
#include <cstdlib>

#include "app/messages.h"
#include "app/odbc_handle.h"
#include "app/text_fill.h"
#include "platform/folder_path.h"
#include "platform/text_encoding.h"

namespace selvane {
namespace {

constexpr char kDriver[] = "Driver={Microsoft Access Driver (*.mdb)};";
constexpr char kUser[] = "admin";
constexpr char kPassword[] = "Qm4rVx8LpT2wNc6HsZkA";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

ServerTypeReading Failed(std::string why) { return {std::nullopt, std::move(why)}; }

// "SQLDriverConnect が失敗しました: SQLSTATE …", with what the handle's diagnostics say.
ServerTypeReading CallFailed(const char* call, const OdbcHandle* handle = nullptr) {
    return Failed(Fill(messages::kOdbcCallFailed, {call, handle ? ": " + OdbcDiagnostics(*handle) : ""}));
}

}  // namespace

std::string BuildConnectionString(std::string_view appFolder) {
    std::string text = kDriver;
    text += "DBQ=" + JoinPath(appFolder, "ORNA.mdb") + ";";
    text += std::string("UID=") + kUser + ";";
    text += std::string("PWD=") + kPassword;
    return text;
}

std::optional<std::int16_t> ToServerTypeValue(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;

    // A plain decimal number only: no hexadecimal, no "inf" or "nan".
    if (text.find_first_not_of("0123456789.eE+-") != std::string_view::npos) return std::nullopt;
    // The program never changes the C locale, so the decimal point is ".".
    const std::string digits(text);
    char* stop = nullptr;
    const double number = std::strtod(digits.c_str(), &stop);
    if (stop != digits.c_str() + digits.size() || !std::isfinite(number)) return std::nullopt;

    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(number);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

ServerTypeReading ReadServerType(std::string_view appFolder) {
    const auto connectionString = Utf8ToAnsi(BuildConnectionString(appFolder));
    if (!connectionString) {
        return Failed(messages::kDatabasePathNotInCodePage);
    }

    OdbcHandle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!env.valid()) return CallFailed("SQLAllocHandle(SQL_HANDLE_ENV)");
    SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);

    OdbcHandle dbc(SQL_HANDLE_DBC, env.get());
    if (!dbc.valid()) return CallFailed("SQLAllocHandle(SQL_HANDLE_DBC)", &env);

    OdbcConnection connection(dbc);
    if (!SQL_SUCCEEDED(connection.Open(*connectionString))) {
        return CallFailed("SQLDriverConnect", &dbc);
    }

    OdbcHandle statement(SQL_HANDLE_STMT, dbc.get());
    if (!statement.valid()) return CallFailed("SQLAllocHandle(SQL_HANDLE_STMT)", &dbc);

    std::string query = kServerTypeQuery;
    if (!SQL_SUCCEEDED(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(query.data()),
                                     SQL_NTS))) {
        return CallFailed("SQLExecDirect", &statement);
    }

    const SQLRETURN fetched = SQLFetch(statement.get());
    if (fetched == SQL_NO_DATA) return Failed(messages::kNoRowWithId1);
    if (!SQL_SUCCEEDED(fetched)) return CallFailed("SQLFetch", &statement);

    SQLCHAR value[64] = {};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement.get(), 1, SQL_C_CHAR, value, sizeof value,
                                  &indicator))) {
        return CallFailed("SQLGetData", &statement);
    }
    if (indicator == SQL_NULL_DATA) return Failed(messages::kTypeIsNull);
    if (indicator >= static_cast<SQLLEN>(sizeof value)) return Failed(messages::kTypeTooLong);

    const std::string text(reinterpret_cast<const char*>(value));
    const auto type = ToServerTypeValue(text);
    if (!type) return Failed(Fill(messages::kTypeNotInt16, {text}));
    return {type, {}};
}

bool PassesServerTypeCheck(const ServerTypeReading& reading) {
    return !reading.type || *reading.type == kSupportedServerType;
}

bool CheckServerTypeIn(const std::string& appFolder) {
    return PassesServerTypeCheck(ReadServerType(appFolder));
}

}  // namespace selvane
