#include "setup/run_plan.h"

#include <gtest/gtest.h>

#include <cctype>

#include "platform/command_line_text.h"

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

// The program's own name, however a launcher wrote it, and what follows it.
TEST(CommandLine, ArgumentsFollowTheProgramsNameHoweverItWasWritten) {
    // What Windows resolves to this program when started from its folder
    // C:\Program Files\k1 app: the long path in any case, the short path,
    // the bare name or a relative path, with or without ".exe".
    const auto namesThisProgram = [](std::string_view name) {
        std::string upper(name);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const char* form : {"C:\\PROGRAM FILES\\K1 APP\\SELVANE-INIT.EXE", "C:\\PROGRA~1\\K1APP~1\\SELVAN~1.EXE",
                                 "SELVANE-INIT.EXE", "SELVANE-INIT", ".\\SELVANE-INIT.EXE", "K1 APP\\SELVANE-INIT"}) {
            if (upper == form) return true;
        }
        return false;
    };
    struct Case {
        std::string_view commandLine;
        std::string_view arguments;
    };
    const Case cases[] = {
        {"C:\\Program Files\\k1 app\\selvane-init.exe", ""},
        {"c:\\program files\\K1 APP\\Selvane-Init.exe  ", ""},
        {"C:\\Program Files\\k1 app\\selvane-init.exe /VERYSILENT /DIR=D:\\pkg", "/VERYSILENT /DIR=D:\\pkg"},
        {"C:\\PROGRA~1\\K1APP~1\\SELVAN~1.EXE\t/WAIT", "/WAIT"},
        {"selvane-init /?", "/?"},
        {".\\selvane-init.exe /?", "/?"},
        {"k1 app\\selvane-init /?", "/?"},
        {"\"C:\\Program Files\\k1 app\\selvane-init.exe\"", ""},
        {"\"C:\\Program Files\\k1 app\\selvane-init.exe\" /LOG=a b", "/LOG=a b"},
        // Named some other way (CreateProcess with a program and any line): as CommandLineToArgvW splits it.
        {"setup /VERYSILENT", "/VERYSILENT"},
        {"C:\\Other Place\\x.exe /WAIT", "Place\\x.exe /WAIT"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentText(c.commandLine, namesThisProgram), c.arguments) << c.commandLine;
}

}  // namespace
}  // namespace selvane
