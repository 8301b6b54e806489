#include "setup/settings_plan.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

std::vector<std::string> Rows(const std::vector<ProfileWrite>& writes) {
    std::vector<std::string> rows;
    for (const auto& w : writes) rows.push_back(w.file + "|" + w.section + "|" + w.key + "=" + w.value);
    return rows;
}

TEST(SettingsPlan, TwelveWritesInOrder) {
    const std::vector<std::string> expected = {
        "D:\\pkg\\orna_remote.ini|FILE|LOGIN=C:\\Selvane",
        "D:\\pkg\\orna_remote.ini|FILE|DB=C:\\Selvane",
        "D:\\pkg\\orna_remote.ini|FILE|BACKUP=C:\\Selvane\\BACKUP",
        "D:\\pkg\\orna_remote.ini|SERVICE|DNS_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|WEB_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|POP3_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|SMTP_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|FTP_SERVICE=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|OS=0",
        "D:\\pkg\\orna_remote.ini|SERVICE|OPTIMIZE=0",
        "C:\\WINDOWS\\win.ini|ORNA|BASIC=C:\\Selvane",
        "C:\\WINDOWS\\win.ini|ORNA|CGI=D:\\pkg",
    };
    EXPECT_EQ(Rows(SettingsWrites("D:\\pkg\\", "C:\\Selvane", "C:\\WINDOWS")), expected);
    EXPECT_EQ(Rows(SettingsWrites("D:\\pkg", "C:\\Selvane", "C:\\WINDOWS")), expected);
}

struct FolderCase {
    const char* box;
    const char* settingsFile;
    const char* cgi;
};

TEST(SettingsPlan, FolderBoxFormsGiveTheseFilesAndCgiValues) {
    const FolderCase cases[] = {
        {"C:\\", "C:\\orna_remote.ini", "C:"},
        {"D:\\pkg\\\\", "D:\\pkg\\\\orna_remote.ini", "D:\\pkg\\"},
        {"\\", "\\orna_remote.ini", ""},
        {"   ", "   \\orna_remote.ini", "   "},
        {"\\\\server\\share\\keva\\", "\\\\server\\share\\keva\\orna_remote.ini", "\\\\server\\share\\keva"},
        {"D:\\a=b;c", "D:\\a=b;c\\orna_remote.ini", "D:\\a=b;c"},
    };
    for (const auto& c : cases) {
        const auto writes = SettingsWrites(c.box, "C:\\app", "C:\\WINDOWS");
        EXPECT_EQ(writes.front().file, c.settingsFile) << c.box;
        EXPECT_EQ(writes.back().key, "CGI");
        EXPECT_EQ(writes.back().value, c.cgi) << c.box;
    }
}

TEST(SettingsPlan, ApplicationFolderIsJoinedWithoutLookingAtItsEnd) {
    const auto writes = SettingsWrites("D:\\pkg", "C:\\", "C:\\WINDOWS\\");
    EXPECT_EQ(writes[2].value, "C:\\\\BACKUP");
    EXPECT_EQ(writes[10].file, "C:\\WINDOWS\\\\win.ini");
}

}  // namespace
}  // namespace selvane
