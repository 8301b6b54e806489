#include "platform/folder_path.h"

#include <gtest/gtest.h>

namespace selvane {

TEST(FolderPath, JoinNeverLooksAtTheFoldersLastCharacter) {
    EXPECT_EQ(JoinPath("D:\\pkg", "orna_remote.ini"), "D:\\pkg\\orna_remote.ini");
    EXPECT_EQ(JoinPath("C:\\", "ORNA.mdb"), "C:\\\\ORNA.mdb");
    EXPECT_EQ(JoinPath("", "orna_remote.ini"), "\\orna_remote.ini");
}

TEST(FolderPath, RemovesExactlyOneTrailingBackslash) {
    EXPECT_EQ(RemoveOneTrailingBackslash("D:\\pkg\\"), "D:\\pkg");
    EXPECT_EQ(RemoveOneTrailingBackslash("D:\\pkg"), "D:\\pkg");
    EXPECT_EQ(RemoveOneTrailingBackslash("D:\\pkg\\\\"), "D:\\pkg\\");
    EXPECT_EQ(RemoveOneTrailingBackslash("C:\\"), "C:");
    EXPECT_EQ(RemoveOneTrailingBackslash("\\"), "");
    EXPECT_EQ(RemoveOneTrailingBackslash("   "), "   ");
}

TEST(FolderPath, TrailingBackslashIsAddedOnlyWhenMissing) {
    EXPECT_EQ(EnsureTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(EnsureTrailingBackslash("C:\\Program Files"), "C:\\Program Files\\");
    EXPECT_EQ(EnsureTrailingBackslash("\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(EnsureTrailingBackslash(""), "") << "the folder dialog chose nothing usable";
}

TEST(FolderPath, FolderOfFileKeepsTheBackslashOfADriveRoot) {
    EXPECT_EQ(FolderOfFile("C:\\Selvane\\selvane-init.exe"), "C:\\Selvane");
    EXPECT_EQ(FolderOfFile("C:\\selvane-init.exe"), "C:\\");
    EXPECT_EQ(FolderOfFile("\\\\server\\share\\app\\x.exe"), "\\\\server\\share\\app");
    EXPECT_EQ(FolderOfFile("\\\\?\\C:\\Selvane"), "\\\\?\\C:\\");
    EXPECT_EQ(FolderOfFile("\\\\?\\Volume{1b3c}\\Selvane"), "\\\\?\\Volume{1b3c}\\");
}

// The walk up from a folder ends at the drive's, share's or volume's root, in any of their forms.
TEST(FolderPath, RootsInEveryForm) {
    for (const char* root : {"C:\\", "\\\\server\\share", "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share",
                             "\\\\?\\UNC\\server\\share\\", "\\\\?\\Volume{1b3c}\\"}) {
        EXPECT_TRUE(IsRootFolder(root)) << root;
    }
    for (const char* folder : {"C:\\Selvane", "\\\\server\\share\\app", "\\\\?\\C:\\Selvane",
                               "\\\\?\\UNC\\server\\share\\app"}) {
        EXPECT_FALSE(IsRootFolder(folder)) << folder;
    }
}

}  // namespace selvane
