#include "app/server_type.h"

#include "app/messages.h"
#include "app/text_fill.h"
#include "platform/folder_path.h"
#include "platform/odbc_handle.h"
#include "platform/text_encoding.h"
#include "platform/trimmed.h"

namespace selvane {
namespace {

constexpr char kDriver[] = "Driver={Microsoft Access Driver (*.mdb)};";
constexpr char kUser[] = "admin";
constexpr char kPassword[] = "Qm4rVx8LpT2wNc6HsZkA";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

ServerTypeReading Failed(std::string why) { return {std::nullopt, std::move(why)}; }

// "SQLDriverConnect が失敗しました: SQLSTATE …", with what the handle's diagnostics say.
ServerTypeReading OdbcCallFailed(const char* call, SQLSMALLINT type = 0, SQLHANDLE handle = SQL_NULL_HANDLE) {
    std::string diagnostics;
    if (handle != SQL_NULL_HANDLE) {
        for (const auto& record : OdbcDiagnostics(type, handle)) {
            diagnostics += diagnostics.empty() ? ": " : "; ";
            diagnostics += Fill(messages::kOdbcDiagnostic, {record.state, record.message, std::to_string(record.nativeCode)});
        }
        if (diagnostics.empty()) diagnostics = std::string(": ") + messages::kOdbcNoDiagnostics;
    }
    return Failed(Fill(messages::kOdbcCallFailed, {call, diagnostics}));
}

}  // namespace

std::string BuildConnectionString(std::string_view appFolder) {
    return kDriver + ("DBQ=" + JoinPath(appFolder, kDatabaseFileName)) + ";UID=" + kUser + ";PWD=" + kPassword;
}

// Rounded on the digits themselves: exact for every text, and without
// strtod, which would bring MinGW's whole floating-point reader along.
std::optional<std::int16_t> ToServerTypeValue(std::string_view text) {
    text = Trimmed(text, IsBlank);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    // The digits with the point taken out, and how many of them stand before
    // the point once the exponent is applied.
    std::string digits;
    long whole = -1;
    std::size_t at = 0;
    for (; at < text.size() && (IsDigit(text[at]) || (text[at] == '.' && whole < 0)); ++at) {
        if (text[at] == '.') whole = static_cast<long>(digits.size()); else digits += text[at];
    }
    if (digits.empty()) return std::nullopt;
    if (whole < 0) whole = static_cast<long>(digits.size());
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        const bool exponentNegative = ++at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        const std::size_t first = at;
        long exponent = 0;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            if (exponent < 100000) exponent = exponent * 10 + (text[at] - '0');
        }
        if (at == first) return std::nullopt;
        whole += exponentNegative ? -exponent : exponent;
    }
    if (at != text.size()) return std::nullopt;

    const std::size_t significant = digits.find_first_not_of('0');
    if (significant == std::string::npos) return 0;
    digits.erase(0, significant);
    whole -= static_cast<long>(significant);
    if (whole > 5) return std::nullopt;  // 100000 or more
    long value = 0;
    for (long i = 0; i < whole; ++i) {
        value = value * 10 + (i < static_cast<long>(digits.size()) ? digits[static_cast<std::size_t>(i)] - '0' : 0);
    }
    // What follows the whole digits decides: more than a half rounds up, an
    // exact half goes to the even neighbour. Below 0.1 nothing can round up.
    if (whole >= 0 && whole < static_cast<long>(digits.size())) {
        const std::string_view fraction = std::string_view(digits).substr(static_cast<std::size_t>(whole));
        const bool moreThanHalf =
            fraction[0] > '5' || (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string_view::npos);
        if (moreThanHalf || (fraction[0] == '5' && value % 2 == 1)) ++value;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

ServerTypeReading ReadServerType(std::string_view appFolder) {
    const auto connectionString = Utf8ToAnsi(BuildConnectionString(appFolder));
    if (!connectionString) return Failed(messages::kDatabasePathNotInCodePage);

    const auto environment = AllocateOdbc<OdbcEnvironment>(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!environment) return OdbcCallFailed("SQLAllocHandle(SQL_HANDLE_ENV)");
    SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

    const auto connection = AllocateOdbc<OdbcConnection>(SQL_HANDLE_DBC, environment.get());
    if (!connection) return OdbcCallFailed("SQLAllocHandle(SQL_HANDLE_DBC)", SQL_HANDLE_ENV, environment.get());

    std::string text = *connectionString;
    if (!SQL_SUCCEEDED(SQLDriverConnect(connection.get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                                        nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
        return OdbcCallFailed("SQLDriverConnect", SQL_HANDLE_DBC, connection.get());
    }
    const OdbcSession session(connection.get());

    const auto statement = AllocateOdbc<OdbcStatement>(SQL_HANDLE_STMT, connection.get());
    if (!statement) return OdbcCallFailed("SQLAllocHandle(SQL_HANDLE_STMT)", SQL_HANDLE_DBC, connection.get());

    std::string query = kServerTypeQuery;
    if (!SQL_SUCCEEDED(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS))) {
        return OdbcCallFailed("SQLExecDirect", SQL_HANDLE_STMT, statement.get());
    }

    const SQLRETURN fetched = SQLFetch(statement.get());
    if (fetched == SQL_NO_DATA) return Failed(messages::kNoRowWithId1);
    if (!SQL_SUCCEEDED(fetched)) return OdbcCallFailed("SQLFetch", SQL_HANDLE_STMT, statement.get());

    SQLCHAR value[64] = {};
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLGetData(statement.get(), 1, SQL_C_CHAR, value, sizeof value, &indicator))) {
        return OdbcCallFailed("SQLGetData", SQL_HANDLE_STMT, statement.get());
    }
    if (indicator == SQL_NULL_DATA) return Failed(messages::kTypeIsNull);
    if (indicator >= static_cast<SQLLEN>(sizeof value)) return Failed(messages::kTypeTooLong);

    return ServerTypeOfField(reinterpret_cast<const char*>(value));
}

ServerTypeReading ServerTypeOfField(std::string_view text) {
    const auto type = ToServerTypeValue(text);
    if (!type) return Failed(Fill(messages::kTypeNotInt16, {AnsiToUtf8(text)}));
    return {type, {}};
}

bool PassesServerTypeCheck(const ServerTypeReading& reading) {
    return !reading.type || *reading.type == kSupportedServerType;
}

}  // namespace selvane
