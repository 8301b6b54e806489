#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
// Connection strings are in the ANSI code page whatever UNICODE says, so the
// unsuffixed (ANSI) entry points are the ones wanted. They are also the ones
// every driver manager exports, where the "A" aliases are not.
#pragma push_macro("UNICODE")
#undef UNICODE
#include <sql.h>
#include <sqlext.h>
#pragma pop_macro("UNICODE")

#include <string>
#include <vector>

#include "platform/unique_any.h"

namespace selvane {

inline void FreeOdbcEnvironment(SQLHANDLE handle) { SQLFreeHandle(SQL_HANDLE_ENV, handle); }
inline void FreeOdbcConnection(SQLHANDLE handle) { SQLFreeHandle(SQL_HANDLE_DBC, handle); }
inline void FreeOdbcStatement(SQLHANDLE handle) { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
inline void DisconnectOdbc(SQLHANDLE connection) { SQLDisconnect(connection); }

using OdbcEnvironment = UniqueAny<SQLHANDLE, FreeOdbcEnvironment>;
using OdbcConnection = UniqueAny<SQLHANDLE, FreeOdbcConnection>;
using OdbcStatement = UniqueAny<SQLHANDLE, FreeOdbcStatement>;
// An open connection, disconnected when it goes; its handle is freed apart.
using OdbcSession = UniqueAny<SQLHANDLE, DisconnectOdbc>;

// A new handle of the type, or an empty one when ODBC refuses.
template <typename Handle>
Handle AllocateOdbc(SQLSMALLINT type, SQLHANDLE parent) {
    SQLHANDLE handle = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle))) return Handle();
    return Handle(handle);
}

// In UTF-8, converted from the driver's ANSI code page.
struct OdbcDiagnostic {
    std::string state;
    std::string message;
    long nativeCode = 0;
};

std::vector<OdbcDiagnostic> OdbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle);
// One record as the driver gives it, in its ANSI code page.
OdbcDiagnostic DiagnosticFromDriver(const char* state, const char* message, long nativeCode);

}  // namespace selvane
