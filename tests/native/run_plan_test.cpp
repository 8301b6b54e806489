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
    EXPECT_EQ(plan.installer, "C:\\\\service\\install.exe");
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
        std::string value;
    };
    const Case cases[] = {
        {"FILE", "LOGIN", true, "login =  \"C:\\old path\"  ", "C:\\old path"},
        {"file", "DB", true, "DB", ""},
        {"FILE", "BACKUP", true, "BACKUP='x'", "x"},
        {"FILE", "OWN", true, std::nullopt, ""},  // only the first section of a name counts
        {"OTHER", "login", true, "LOGIN=elsewhere", "elsewhere"},
        {"SERVICE", "OS", false, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const IniEntry entry = FindEntry(text, c.section, c.key);
        EXPECT_EQ(entry.sectionFound, c.sectionFound) << c.key;
        EXPECT_EQ(entry.line, c.line) << c.key;
        EXPECT_EQ(ProfileValue(entry.line.value_or("")), c.value) << c.key;
    }
    EXPECT_EQ(RawValue("login =  \"C:\\old path\"  "), "  \"C:\\old path\"  ");
}

TEST(IniText, ReadsUtf16AndUtf8AfterTheirByteOrderMarks) {
    std::string utf16 = "\xFF\xFE";  // as Notepad saves "Unicode"
    for (const char16_t c : std::u16string_view(u"[FILE]\r\nLOGIN=C:\\测试Ω😀")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    EXPECT_EQ(SettingsText(utf16), "[FILE]\r\nLOGIN=C:\\测试Ω😀");
    EXPECT_EQ(SettingsText("\xEF\xBB\xBF[FILE]"), "[FILE]");
    EXPECT_EQ(SettingsText("[FILE]"), "[FILE]");
}

}  // namespace
}  // namespace selvane
