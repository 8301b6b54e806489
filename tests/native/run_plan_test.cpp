#include "setup/run_plan.h"

#include <gtest/gtest.h>

#include "setup/ini_text.h"

namespace selvane {
namespace {

std::vector<std::string> Rows(const std::vector<ProfileWrite>& writes) {
    std::vector<std::string> rows;
    for (const auto& w : writes) rows.push_back(w.file + "|" + w.section + "|" + w.key + "=" + w.value + (w.isFolder ? " (folder)" : ""));
    return rows;
}

TEST(RunPlan, TwelveWritesInOrder) {
    const std::vector<std::string> expected = {
        "D:\\pkg\\orna_remote.ini|FILE|LOGIN=C:\\Selvane (folder)",
        "D:\\pkg\\orna_remote.ini|FILE|DB=C:\\Selvane (folder)",
        "D:\\pkg\\orna_remote.ini|FILE|BACKUP=C:\\Selvane\\BACKUP (folder)",
        "D:\\pkg\\orna_remote.ini|SERVICE|DNS_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|WEB_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|POP3_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|SMTP_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|FTP_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|OS=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|OPTIMIZE=0",
        "C:\\WINDOWS\\win.ini|ORNA|BASIC=C:\\Selvane (folder)",
        "C:\\WINDOWS\\win.ini|ORNA|CGI=D:\\pkg (folder)",
    };
    for (const char* box : {"D:\\pkg\\", "D:\\pkg"}) {
        EXPECT_EQ(Rows(PlanSetupRun(box, "C:\\Selvane", "C:\\WINDOWS", "C:\\WINDOWS\\system32").writes), expected);
    }
}

TEST(RunPlan, FolderBoxFormsGiveTheseFilesAndCgiValues) {
    struct Case {
        const char* box;
        const char* settingsFile;
        const char* cgi;
    };
    const Case cases[] = {
        {"C:\\", "C:\\orna_remote.ini", "C:"},
        {"D:\\pkg\\\\", "D:\\pkg\\\\orna_remote.ini", "D:\\pkg\\"},
        {"\\", "\\orna_remote.ini", ""},
        {"   ", "   \\orna_remote.ini", "   "},
        {"\\\\server\\share\\keva\\", "\\\\server\\share\\keva\\orna_remote.ini", "\\\\server\\share\\keva"},
        {"D:\\a=b;c", "D:\\a=b;c\\orna_remote.ini", "D:\\a=b;c"},
    };
    for (const auto& c : cases) {
        const RunPlan plan = PlanSetupRun(c.box, "C:\\app", "C:\\WINDOWS", "C:\\WINDOWS\\system32");
        EXPECT_EQ(plan.settingsFile, c.settingsFile) << c.box;
        EXPECT_EQ(plan.writes.front().file, c.settingsFile) << c.box;
        EXPECT_EQ(plan.writes.back().value, c.cgi) << c.box;
    }
}

TEST(RunPlan, FoldersAreJoinedWithoutLookingAtTheirEnd) {
    const RunPlan plan = PlanSetupRun("D:\\pkg", "C:\\", "C:\\WINDOWS\\", "C:\\WINDOWS\\system32");
    EXPECT_EQ(plan.writes[2].value, "C:\\\\BACKUP");
    EXPECT_EQ(plan.profileFile, "C:\\WINDOWS\\\\win.ini");
    EXPECT_EQ(plan.answerFile, "C:\\\\yes.txt");
    EXPECT_EQ(plan.ProgramOf(RunProgram::Installer).file, "C:\\\\service\\install.exe");
}

// Settings files as administrators and other programs leave them: the entry
// found as the profile functions find it, its line as it stands.
TEST(IniText, FindsTheLineAsTheProfileFunctionsFindTheKey) {
    const std::string text =
        "; LOGIN=commented\n[other]\nLOGIN=elsewhere\n [ File ] \r\nlogin =  \"C:\\old path\"  \r\nDB\r\n"
        "BACKUP='x'\r\n[FILE]\r\nOWN=second section\r\n";
    struct Case {
        const char* section;
        const char* key;
        bool sectionFound;
        std::optional<std::string> line;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"FILE", "LOGIN", true, "login =  \"C:\\old path\"  ", "C:\\old path"},
        {"file", "DB", true, "DB", std::nullopt},  // the line a write replaces; read, no value
        {"FILE", "BACKUP", true, "BACKUP='x'", "x"},
        {"FILE", "OWN", true, std::nullopt, std::nullopt},  // only the first section of a name counts
        {"OTHER", "login", true, "LOGIN=elsewhere", "elsewhere"},
        {"SERVICE", "OS", false, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const IniEntry entry = FindEntry(text, c.section, c.key);
        EXPECT_EQ(entry.sectionFound, c.sectionFound) << c.key;
        EXPECT_EQ(entry.line, c.line) << c.key;
        EXPECT_EQ(entry.line ? ProfileValue(*entry.line) : std::nullopt, c.value) << c.key;
    }
    EXPECT_EQ(RawValue("login =  \"C:\\old path\"  "), "  \"C:\\old path\"  ");
}

// The forms that hand-edited and tool-written files take, read as
// GetPrivateProfileString reads them.
TEST(IniText, ReadsEveryFormAsTheProfileFunctions) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        const char* value;  // null: LOGIN of [FILE] is not found
    };
    const Case cases[] = {
        {"[FILE]\rLOGIN=C:\\cr\rDB=x\r", "C:\\cr"},                // lone CRs end lines
        {"[FILE]\n\rLOGIN=C:\\lfcr\n", "C:\\lfcr"},                // so does LF CR
        {"[ FILE ]\r\nLOGIN=C:\\x\r\n", "C:\\x"},                     // blanks around the name go
        {"[FILE]\r\nLOGIN\r\nLOGIN=C:\\x\r\n", nullptr},               // a bare key: found, no value
        {"[FILE] ; note\r\nLOGIN=C:\\x\r\n", "C:\\x"},                // text after the ']' is ignored
        {"x[FILE]\r\nLOGIN=C:\\x\r\n", nullptr},                      // a header starts with '['
        {"[FILE]\r\nLOGIN=C:\\nul\0after\r\n"s, "C:\\nul"},           // a NUL ends the value
        {"[FILE]\r\nLOGIN=C:\\pad  \0after\r\n"s, "C:\\pad  "},       // blanks before it stay
        {"[FILE]\r\nLOGIN=\"C:\\q\"\0 \r\n"s, "C:\\q"},              // quotes before it go
        {"[FILE]\r\nLOGIN=C:\\eof\x1a\r\n\x1a", "C:\\eof"},           // Ctrl-Z is a blank
        {"\x1a[FILE]\x1a\r\n\vLOGIN\f=\tC:\\ctl\v\r\n", "C:\\ctl"},  // and so are TAB to CR
        {"[FILE]\r\nLOGIN=\"C:\\open\r\n", "\"C:\\open"},            // one quote stays
        {"[FILE]\r\nLOGIN x=C:\\x\r\nLOGIN=C:\\y\r\n", "C:\\y"},      // the name runs to the '='
        {"[FILE]\r\nLOGIN=C:\\first\r\nLOGIN=C:\\second\r\n", "C:\\first"},
    };
    for (const auto& c : cases) {
        const IniEntry entry = FindEntry(c.text, "FILE", "LOGIN");
        const auto value = entry.line ? ProfileValue(*entry.line) : std::nullopt;
        EXPECT_EQ(value.has_value(), c.value != nullptr) << c.text;
        if (value && c.value) {
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
    // The line as it stands, for the log and the put-back: up to its line end.
    EXPECT_EQ(FindEntry("[FILE]\rLOGIN = C:\\cr \rDB=x", "FILE", "LOGIN").line, "LOGIN = C:\\cr ");
    EXPECT_EQ(Lines("a\rb\r\nc\n\nd"), (std::vector<std::string_view>{"a", "b", "c", "", "d"}));
}

TEST(IniText, ReadsUtf16LittleEndianAfterItsByteOrderMark) {
    std::string little = "\xFF\xFE";  // as Notepad saves "Unicode"
    for (const char16_t c : std::u16string_view(u"[FILE]\r\nLOGIN=C:\\测试Ω😀")) {
        little += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    }
    EXPECT_EQ(SettingsText(little), "[FILE]\r\nLOGIN=C:\\测试Ω😀");
    EXPECT_EQ(SettingsText("[FILE]"), "[FILE]");
}

// Where Wine's profile functions read a file otherwise than Windows', the
// reader answers as Windows does. The answers are those recorded from the
// real functions on Windows 10 by the public IniFileFormatReverseEngineering
// suite (the test named beside each case); Wine answers the opposite.
TEST(IniText, ReadsAsWindowsWhereWineReadsOtherwise) {
    const auto bigEndian = [](std::string_view ascii) {
        std::string bytes = "\xFE\xFF";  // Notepad's "Unicode big endian"
        for (const char c : ascii) bytes += {'\0', c};
        return bytes;
    };
    struct Case {
        std::string bytes;
        const char* value;  // LOGIN of [FILE] as Windows reads it; null: not found
        const char* source;
    };
    const Case cases[] = {
        {"[FILE]]\r\nLOGIN=C:\\x\r\n", "C:\\x", "SquareBracket_Tests: the name stops at the first ']'"},
        {"[FILE] ]\r\nLOGIN=C:\\x\r\n", "C:\\x", "SquareBracket_Tests: the name stops at the first ']'"},
        {"[FILE]whoops]\r\nLOGIN=C:\\x\r\n", "C:\\x", "SquareBracket_Tests: [sec]whoops is the section sec"},
        {"[FILE   \r\nLOGIN=C:\\x\r\n", "C:\\x", "SquareBracket_Tests: no ']' needed, the line end ends the name"},
        {bigEndian("[FILE]\r\nLOGIN=C:\\x\r\n"), nullptr, "UTF16BE_Tests: a big-endian mark is not understood"},
        {bigEndian("\r\n[FILE]\r\nLOGIN=C:\\x\r\n"), nullptr, "UTF16BE_Tests: not after a first line either"},
        {"\xEF\xBB\xBF[FILE]\r\nLOGIN=C:\\x\r\n", nullptr, "UTF8_Tests: the mark breaks the first line's header"},
        {"\xEF\xBB\xBF\r\n[FILE]\r\nLOGIN=C:\\x\r\n", "C:\\x", "UTF8_Tests: a header on a later line is read"},
    };
    for (const auto& c : cases) {
        const IniEntry entry = FindEntry(SettingsText(c.bytes), "FILE", "LOGIN");
        const auto value = entry.line ? ProfileValue(*entry.line) : std::nullopt;
        EXPECT_EQ(value, c.value ? std::optional<std::string>(c.value) : std::nullopt) << c.source;
    }
}

}  // namespace
}  // namespace selvane
