#include "app/odbc_handle.h"

#include <vector>

namespace selvane {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) handle_ = SQL_NULL_HANDLE;
}

OdbcHandle::~OdbcHandle() {
    if (valid()) SQLFreeHandle(type_, handle_);
}

OdbcConnection::~OdbcConnection() {
    if (open_) SQLDisconnect(dbc_.get());
}

SQLRETURN OdbcConnection::Open(const std::string& connectionString) {
    std::vector<SQLCHAR> text(connectionString.begin(), connectionString.end());
    text.push_back(0);
    const SQLRETURN result =
        SQLDriverConnect(dbc_.get(), nullptr, text.data(), SQL_NTS, nullptr, 0, nullptr,
                         SQL_DRIVER_NOPROMPT);
    open_ = SQL_SUCCEEDED(result);
    return result;
}

std::string OdbcDiagnostics(const OdbcHandle& handle) {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLCHAR message[512] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRec(handle.type(), handle.get(), record, state, &native,
                                         message, sizeof message, &length))) {
            break;
        }
        if (!text.empty()) text += "; ";
        text += "SQLSTATE ";
        text += reinterpret_cast<const char*>(state);
        text += ": ";
        text += reinterpret_cast<const char*>(message);
        text += " (native " + std::to_string(native) + ")";
    }
    return text.empty() ? "no diagnostics" : text;
}

}  // namespace selvane
