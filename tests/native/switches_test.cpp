#include "app/switches.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

ParsedSwitches Parse(std::vector<std::string> arguments) { return ParseSwitches(arguments); }

TEST(Switches, NoArgumentsMeanTheWindow) {
    const auto parsed = Parse({});
    EXPECT_FALSE(parsed.error);
    EXPECT_EQ(parsed.switches.mode, RunMode::Window);
    EXPECT_FALSE(parsed.switches.help || parsed.switches.dir || parsed.switches.log);
}

// The mode is decided here, once: whether a window shows, a log is kept
// without /LOG, and an event is recorded.
TEST(Switches, TheCommandLineDecidesTheRunsMode) {
    struct Case {
        std::vector<std::string> arguments;
        RunMode mode;
        bool window, log, event;
    };
    const Case cases[] = {
        {{}, RunMode::Window, true, false, true},
        {{"/LOG=C:\\l.log"}, RunMode::Window, true, true, true},
        {{"/VERYSILENT", "/DIR=D:\\pkg"}, RunMode::Unattended, false, true, true},
        {{"/VERYSILENT", "/WHATIF", "/DIR=D:\\pkg"}, RunMode::WhatIf, false, true, false},
        {{"/VERIFY", "/DIR=D:\\pkg"}, RunMode::Verify, false, false, false},
        {{"/VERIFY", "/DIR=D:\\pkg", "/LOG=C:\\l.log"}, RunMode::Verify, false, true, false},
        // Refused: no window, a log (not for /VERIFY), an event as the mode records one.
        {{"/VERYSLIENT"}, RunMode::Window, false, true, true},
        {{"/WHATIF"}, RunMode::WhatIf, false, true, false},
        {{"/VERIFY"}, RunMode::Verify, false, false, false},
    };
    for (const Case& c : cases) {
        const ParsedSwitches parsed = Parse(c.arguments);
        const std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(parsed.switches.mode, c.mode) << what;
        EXPECT_EQ(parsed.ShowsWindow(), c.window) << what;
        EXPECT_EQ(parsed.KeepsLog(), c.log) << what;
        EXPECT_EQ(parsed.switches.Traits().recordsEvent, c.event) << what;
    }
}

TEST(Switches, NamesIgnoreCaseAndTakeEitherPrefixAndTheirValueFollowsTheFirstEquals) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"/VERYSILENT", "/DIR=D:\\a=b", "/LOG=x.log", "/WAIT", "/WHATIF"},
             {"-verysilent", "-Dir=D:\\a=b", "/log=x.log", "-wait", "/WhatIf"},
             {"/SILENT", "/DIR=D:\\a=b", "/LOG=x.log", "/WAIT", "/WHATIF"}}) {
        const auto parsed = Parse(arguments);
        ASSERT_FALSE(parsed.error) << *parsed.error;
        EXPECT_EQ(parsed.switches.mode, RunMode::WhatIf);
        EXPECT_TRUE(parsed.switches.wait);
        EXPECT_EQ(parsed.switches.dir, "D:\\a=b");
        EXPECT_EQ(parsed.switches.log, "x.log");
    }
}

TEST(Switches, RefusedCommandLinesSayWhy) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;  // what the reason names
    };
    const Case cases[] = {
        {{"/VERYSLIENT", "/DIR=D:\\pkg"}, "/VERYSLIENT"},
        {{"/VERYSILENT", "D:\\pkg"}, "D:\\pkg"},
        // "D:\pkg\" as CommandLineToArgvW splits it: the quote stays in the value.
        {{"/VERYSILENT", "/DIR=D:\\pkg\""}, "D:\\pkg\""},
        {{"/VERYSILENT", "/DIR="}, "/DIR"},
        {{"/VERYSILENT", "/DIR"}, "/DIR"},
        {{"/VERYSILENT", "/DIR=D:\\a", "/DIR=D:\\b"}, "/DIR"},
        {{"/VERYSILENT", "/DIR=D:\\a", "/WAIT=1"}, "/WAIT"},
        {{"/VERYSILENT"}, "/DIR"},
        {{"/DIR=D:\\pkg"}, "/VERYSILENT"},
        {{"/WHATIF"}, "/WHATIF"},
        {{"/VERIFY"}, "/DIR"},
        {{"/VERIFY", "/DIR=D:\\pkg", "/WAIT"}, "/WAIT"},
        {{"/VERIFY", "/VERYSILENT", "/DIR=D:\\pkg", "/WHATIF"}, "/WHATIF"},
    };
    for (const auto& c : cases) {
        const auto parsed = Parse(c.arguments);
        ASSERT_TRUE(parsed.error) << c.arguments.back();
        EXPECT_NE(parsed.error->find(c.named), std::string::npos) << *parsed.error;
    }
}

TEST(Switches, VerifyNeedsNoVerySilentAndDirTakesForwardSlashes) {
    const auto parsed = Parse({"/VERIFY", "/DIR=D:/pkg/keva/"});
    ASSERT_FALSE(parsed.error) << *parsed.error;
    EXPECT_EQ(parsed.switches.mode, RunMode::Verify);
    EXPECT_EQ(parsed.switches.dir, "D:\\pkg\\keva\\");
    EXPECT_FALSE(Parse({"/VERIFY", "/VERYSILENT", "/DIR=D:\\pkg", "/LOG=v.log"}).error);
}

TEST(Switches, HelpWinsAndALogMayGoWithTheWindow) {
    EXPECT_TRUE(Parse({"/?"}).switches.help);
    EXPECT_TRUE(Parse({"/Help", "/bogus"}).switches.help);
    const auto logged = Parse({"/LOG=C:\\setup.log"});
    EXPECT_FALSE(logged.error);
    EXPECT_EQ(logged.switches.mode, RunMode::Window);
}

TEST(Switches, DirMustBeAnAbsolutePath) {
    for (const char* path : {"D:\\", "D:\\pkg", "\\\\server\\share", "\\\\server\\share\\keva"}) {
        EXPECT_TRUE(IsAbsoluteFolderPath(path)) << path;
    }
    for (const char* path : {"pkg", "D:", "D:pkg", "\\pkg", "D:/pkg", "\\\\server", "\\\\server\\", "\\\\\\share",
                             "\\\\?\\C:\\pkg", "\\\\.\\C:"}) {
        EXPECT_FALSE(IsAbsoluteFolderPath(path)) << path;
    }
}

// A log is never written into a file the run writes or starts, whatever
// folder it names and however its name is spelt.
TEST(Switches, ALogBearingTheNameOfARunFileIsRefused) {
    // As start-up names them for a window run: KEVA's folder not yet known.
    const std::vector<std::string> kRunFiles = {"C:\\app\\acl.bat", "C:\\app\\service\\install.exe",
                                                "C:\\app\\ORNA.mdb", "C:\\app\\selvane-init.exe",
                                                "\\orna_remote.ini", "C:\\Windows\\win.ini", "C:\\app\\yes.txt"};
    for (const char* log : {"D:\\pkg\\orna_remote.ini", "C:\\Windows\\WIN.INI", "E:\\elsewhere\\yes.txt",
                            "acl.bat", "C:\\app\\service\\Install.exe", "C:/app/orna.MDB", "D:\\setup\\Selvane-Init.exe"}) {
        EXPECT_TRUE(NamesARunFile(log, kRunFiles)) << log;
    }
    for (const char* log : {"C:\\Logs\\selvane.log", "D:\\pkg\\orna_remote.ini.log", "C:\\win.ini\\setup.log"}) {
        EXPECT_FALSE(NamesARunFile(log, kRunFiles)) << log;
    }
}

}  // namespace
}  // namespace selvane
