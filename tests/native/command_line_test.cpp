#include "setup/command_line.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(CommandLine, QuotingFollowsTheWindowsParserRules) {
    EXPECT_EQ(QuoteArgument("C:\\Program Files\\a.bat"), "\"C:\\Program Files\\a.bat\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
    EXPECT_EQ(QuoteArgument("C:\\dir\\"), "\"C:\\dir\\\\\"");
    EXPECT_EQ(QuoteArgument("\\\\server\\share"), "\"\\\\server\\share\"");
}

TEST(CommandLine, BatchFileRunsThroughCmdByFullPathKeepingBlanksAndParentheses) {
    EXPECT_EQ(BatchCommandLine("C:\\Windows\\system32", "C:\\Program Files (x86)\\Selvane\\acl.bat"),
              "\"C:\\Windows\\system32\\cmd.exe\" /d /s /c "
              "\"\"C:\\Program Files (x86)\\Selvane\\acl.bat\"\"");
}

TEST(CommandLine, BatchPathThatCmdWouldRewriteIsRefused) {
    EXPECT_FALSE(BatchCommandLine("C:\\Windows\\system32", "C:\\100%\\acl.bat"));
    EXPECT_FALSE(BatchCommandLine("C:\\Windows\\system32", "C:\\%PATH%\\acl.bat"));
}

}  // namespace
}  // namespace selvane
