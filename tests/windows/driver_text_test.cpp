// Text from the database driver, which speaks the ANSI code page (932 in
// these tests, as on the product's servers), reaches the log and the
// messages in UTF-8. mdbtools, the driver here, gives no Japanese of its
// own (its messages are English, its field text UTF-8), so the driver's
// bytes are handed in as the Access driver gives them.
#include <gtest/gtest.h>

#include "app/server_type.h"
#include "platform/odbc_handle.h"

namespace selvane {
namespace {

TEST(DriverText, AJapaneseDiagnosticReadsAsJapanese) {
    // "[Microsoft][ODBC Microsoft Access Driver] テーブル 'Type' が見つかりません。" in Shift-JIS.
    const OdbcDiagnostic diagnostic = DiagnosticFromDriver(
        "42S02",
        "[Microsoft][ODBC Microsoft Access Driver] \x83\x65\x81\x5B\x83\x75\x83\x8B 'Type' "
        "\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42",
        -1305);
    EXPECT_EQ(diagnostic.state, "42S02");
    EXPECT_EQ(diagnostic.message, "[Microsoft][ODBC Microsoft Access Driver] テーブル 'Type' が見つかりません。");
    EXPECT_EQ(diagnostic.nativeCode, -1305);
}

TEST(DriverText, AServerTypeThatIsNoNumberReadsAsJapanese) {
    const ServerTypeReading reading = ServerTypeOfField("\x93\xF1");  // "二"
    EXPECT_FALSE(reading.type);
    EXPECT_NE(reading.failure.find("\"二\""), std::string::npos) << reading.failure;
}

}  // namespace
}  // namespace selvane
