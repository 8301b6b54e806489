#include "platform/odbc_handle.h"

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
        diagnostics.push_back({reinterpret_cast<const char*>(state), reinterpret_cast<const char*>(message), native});
    }
}

}  // namespace selvane
