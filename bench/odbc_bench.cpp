// The server-type check on the type-2 sample against a minimal ODBC program
// doing the same open, query and close. Native, through unixODBC and mdbtools.
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/server_type.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

bool MinimalCheck(const std::string& connectionString) {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLHSTMT statement = nullptr;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string text = connectionString;
    SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0, nullptr,
                     SQL_DRIVER_NOPROMPT);
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement);
    std::string query = "SELECT Type FROM Type Where ID = 1";
    SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS);
    SQLFetch(statement);
    SQLINTEGER type = 0;
    SQLLEN indicator = 0;
    SQLGetData(statement, 1, SQL_C_LONG, &type, sizeof type, &indicator);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return type == 2;
}

template <typename Check>
double Microseconds(Check check) {
    const auto start = Clock::now();
    if (!check()) std::fprintf(stderr, "unexpected answer\n");
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: odbc-bench TYPE2.MDB\n");
        return 2;
    }
    // "<folder>\ORNA.mdb" is one file name on Linux (see tests/native).
    const fs::path root = fs::temp_directory_path() / "selvane-odbc-bench";
    fs::create_directories(root);
    const std::string folder = (root / "app").string();
    fs::copy_file(argv[1], folder + "\\ORNA.mdb", fs::copy_options::overwrite_existing);
    const std::string connection = selvane::BuildConnectionString(folder);

    std::vector<double> program, minimal;
    for (int run = 0; run < 200; ++run) {
        program.push_back(Microseconds([&] { return selvane::PassesServerTypeCheck(selvane::ReadServerType(folder)); }));
        minimal.push_back(Microseconds([&] { return MinimalCheck(connection); }));
    }
    std::printf("%-44s selvane-init %8.1f us    minimal %8.1f us    ratio %.2f\n",
                "server-type check on type2.mdb (median)", Median(program), Median(minimal),
                Median(program) / Median(minimal));
    fs::remove_all(root);
    return 0;
}
