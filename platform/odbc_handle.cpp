#include "platform/odbc_handle.h"

#include "platform/text_encoding.h"

namespace selvane {

std::vector<OdbcDiagnostic> OdbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<OdbcDiagnostic> diagnostics;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLCHAR message[512] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, record, state, &native, message, sizeof message, &length))) {
            return diagnostics;
        }
        diagnostics.push_back(
            DiagnosticFromDriver(reinterpret_cast<const char*>(state), reinterpret_cast<const char*>(message), native));
    }
}

OdbcDiagnostic DiagnosticFromDriver(const char* state, const char* message, long nativeCode) {
    // The driver speaks the ANSI code page: Japanese on a Japanese server.
    return {AnsiToUtf8(state), AnsiToUtf8(message), nativeCode};
}

}  // namespace selvane
