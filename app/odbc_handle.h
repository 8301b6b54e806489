#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
// The connection string is in the ANSI code page whatever UNICODE says, so
// the unsuffixed (ANSI) entry points are the ones wanted. They are also the
// ones every driver manager exports, where the "A" aliases are not.
#pragma push_macro("UNICODE")
#undef UNICODE
#include <sql.h>
#include <sqlext.h>
#pragma pop_macro("UNICODE")

#include <string>

namespace selvane {

// Owns one ODBC handle; freed on every path out of the server-type check.
class OdbcHandle {
public:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    bool valid() const { return handle_ != SQL_NULL_HANDLE; }
    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// Disconnects an open connection when it goes out of scope.
class OdbcConnection {
public:
    explicit OdbcConnection(const OdbcHandle& dbc) : dbc_(dbc) {}
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    SQLRETURN Open(const std::string& connectionString);

private:
    const OdbcHandle& dbc_;
    bool open_ = false;
};

// "SQLSTATE 08001: message (native 123)" for each diagnostic record of a handle.
std::string OdbcDiagnostics(const OdbcHandle& handle);

}  // namespace selvane
