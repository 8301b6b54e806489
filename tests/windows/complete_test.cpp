// Complete, driven on the real window: the settings files, the answer file,
// the two started programs, and every way the run can stop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver.h"
#include "resources/resource_ids.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

const std::wstring kKeva = L"C:\\selvane-tests\\keva";

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

std::string Ansi(const std::wstring& text) {
    std::string bytes(text.size() * 2 + 1, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::wstring WinIni() {
    wchar_t directory[MAX_PATH] = {};
    GetWindowsDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\win.ini";
}

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 1024, file.c_str());
    return value;
}

// What the profile functions write for the ten settings of a new file.
std::string ExpectedSettingsFile(const std::wstring& appFolder) {
    const std::wstring reference = L"C:\\selvane-tests\\reference.ini";
    DeleteFileW(reference.c_str());
    const std::string app = Ansi(appFolder);
    const std::string file = Ansi(reference);
    WritePrivateProfileStringA("FILE", "LOGIN", app.c_str(), file.c_str());
    WritePrivateProfileStringA("FILE", "DB", app.c_str(), file.c_str());
    WritePrivateProfileStringA("FILE", "BACKUP", (app + "\\BACKUP").c_str(), file.c_str());
    for (const char* key : {"DNS_SERVICE", "WEB_SERVICE", "POP3_SERVICE", "SMTP_SERVICE", "FTP_SERVICE", "OS", "OPTIMIZE"}) {
        WritePrivateProfileStringA("SERVICE", key, "0", file.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the cache
    std::string bytes = ReadBytes(reference);
    DeleteFileW(reference.c_str());
    return bytes;
}

class Complete : public ::testing::Test {
protected:
    explicit Complete(const std::wstring& appFolder = L"C:\\selvane-tests\\p4") : product_(appFolder, L"type2.mdb") {
        RemoveKeva();
        fs::create_directories(kKeva);
        WriteBytes(product_.File(L"acl.bat"),
                   "@echo off\r\necho %CD%> \"%~dp0acl-ran.txt\"\r\ntype \"%~dp0yes.txt\">> \"%~dp0acl-ran.txt\"\r\n");
        fs::create_directories(product_.File(L"service"));
        fs::copy_file(WindowsPath(SELVANE_INSTALL_STAND_IN), product_.File(L"service\\install.exe"));
    }
    ~Complete() override { RemoveKeva(); }
    static void RemoveKeva() {
        std::error_code ignored;
        fs::remove_all(kKeva, ignored);
    }

    void Start(const std::wstring& currentDirectory = L"") {
        program_.emplace(product_.program(), currentDirectory.empty() ? product_.path() : currentDirectory);
        window_ = FindSetupWindow(program_->id());
        ASSERT_NE(window_, nullptr);
    }
    void PressComplete(const std::wstring& folderBoxText) {
        SendMessageW(GetDlgItem(window_, IDC_TXT_COMMON), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folderBoxText.c_str()));
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window_, IDC_CMD_COMPLETE)));
    }
    // The message the run ends or stops with.
    MessageBoxContent Outcome() {
        HWND box = FindMessageBox(program_->id());
        if (!box) return {};
        const MessageBoxContent content = ReadMessageBox(box);
        lastBox_ = box;
        return content;
    }
    void Dismiss() { CloseMessageBox(lastBox_); }
    void ExpectCompletion() {
        const MessageBoxContent content = Outcome();
        EXPECT_EQ(content.text, L"初期設定が完了しました。");
        EXPECT_EQ(content.caption, L"Selvane");
        EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_TRUE(content.informationIcon);
    }
    bool InstallerRan() { return WaitFor([&] { return fs::exists(product_.File(L"service\\install-ran.txt")); }, 10s); }
    std::wstring InstallerDirectory() {
        const std::string bytes = ReadBytes(product_.File(L"service\\install-ran.txt"));
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        return text.substr(0, text.find(L"\r\n"));
    }
    std::string AclRecord() {
        WaitFor([&] { return ReadBytes(product_.File(L"acl-ran.txt")).find("y\r\n") != std::string::npos; }, 10s);
        return ReadBytes(product_.File(L"acl-ran.txt"));
    }

    ProductFolder product_;
    std::optional<RunningProgram> program_;
    HWND window_ = nullptr;
    HWND lastBox_ = nullptr;
};

TEST_F(Complete, EmptyFolderBoxIsRefusedAndNothingIsWritten) {
    Start();
    PressComplete(L"");
    const MessageBoxContent content = Outcome();
    EXPECT_EQ(content.text, L"KEVAのインストールフォルダを選択してください。");
    EXPECT_EQ(content.caption, L"Selvane");
    EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(content.informationIcon);
    Dismiss();
    ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
    EXPECT_TRUE(fs::is_empty(kKeva));
}

class CompleteWithFolder : public Complete, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(CompleteWithFolder, WritesBothFilesRunsBothProgramsAndEnds) {
    WriteBytes(product_.File(L"yes.txt"), "an older answer file\r\nwith two lines\r\n");
    Start();
    PressComplete(GetParam());
    ExpectCompletion();

    const std::string settings = ReadBytes(kKeva + L"\\orna_remote.ini");
    EXPECT_EQ(settings, ExpectedSettingsFile(product_.path()));
    EXPECT_NE(settings.find("[FILE]\r\nLOGIN=C:\\selvane-tests\\p4\r\nDB=C:\\selvane-tests\\p4\r\n"
                            "BACKUP=C:\\selvane-tests\\p4\\BACKUP\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[SERVICE]\r\nDNS_SERVICE=0\r\nWEB_SERVICE=0\r\nPOP3_SERVICE=0\r\nSMTP_SERVICE=0\r\n"
                            "FTP_SERVICE=0\r\nOS=0\r\nOPTIMIZE=0\r\n"), std::string::npos) << settings;
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"BASIC"), product_.path());
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
    EXPECT_EQ(ReadBytes(product_.File(L"yes.txt")), "y\r\n");
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
    ASSERT_TRUE(InstallerRan());
    EXPECT_EQ(InstallerDirectory(), product_.File(L"service"));

    Dismiss();
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(TrailingBackslashOrNot, CompleteWithFolder,
                         ::testing::Values(L"C:\\selvane-tests\\keva\\", L"C:\\selvane-tests\\keva"));

TEST_F(Complete, FolderBoxFormsGiveTheirPaths) {
    struct Case {
        std::wstring box, settingsFile, cgi;
    };
    const Case cases[] = {
        {L"C:\\", L"C:\\orna_remote.ini", L"C:"},
        {kKeva + L"\\\\", kKeva + L"\\orna_remote.ini", kKeva + L"\\"},
        // A lone backslash names the root of the current drive (the product's, C:).
        {L"\\", L"C:\\orna_remote.ini", L""},
    };
    for (const auto& c : cases) {
        DeleteFileW(c.settingsFile.c_str());
        Start();
        PressComplete(c.box);
        ExpectCompletion();
        Dismiss();
        EXPECT_EQ(program_->WaitForExit(), 0u);
        EXPECT_EQ(Profile(c.settingsFile, L"FILE", L"LOGIN"), product_.path()) << c.box;
        EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), c.cgi) << c.box;
        DeleteFileW(c.settingsFile.c_str());
    }
}

TEST_F(Complete, RunningAgainReplacesTheValuesAndKeepsEverythingElse) {
    WriteBytes(kKeva + L"\\orna_remote.ini",
               "[FILE]\r\nLOGIN=old\r\nKEEP=file-value\r\n[OTHER]\r\nx=1\r\n[SERVICE]\r\nOS=1\r\nMINE=2\r\n");
    WritePrivateProfileStringW(L"ORNA", L"BASIC", L"old", WinIni().c_str());
    WritePrivateProfileStringW(L"ORNA", L"KEEP", L"win-value", WinIni().c_str());
    WritePrivateProfileStringW(L"SELVANE-TEST", L"x", L"y", WinIni().c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, WinIni().c_str());
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    Dismiss();
    ASSERT_EQ(program_->WaitForExit(), 0u);

    const std::wstring settings = kKeva + L"\\orna_remote.ini";
    EXPECT_EQ(Profile(settings, L"FILE", L"LOGIN"), product_.path());
    EXPECT_EQ(Profile(settings, L"FILE", L"KEEP"), L"file-value");
    EXPECT_EQ(Profile(settings, L"OTHER", L"x"), L"1");
    EXPECT_EQ(Profile(settings, L"SERVICE", L"OS"), L"0");
    EXPECT_EQ(Profile(settings, L"SERVICE", L"MINE"), L"2");
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"BASIC"), product_.path());
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"KEEP"), L"win-value");
    EXPECT_EQ(Profile(WinIni(), L"SELVANE-TEST", L"x"), L"y");
}

class CompleteInJapaneseFolder : public Complete {
protected:
    CompleteInJapaneseFolder() : Complete(L"C:\\selvane-tests\\製品 フォルダ") {}
};

TEST_F(CompleteInJapaneseFolder, ApplicationFolderIsWrittenInCodePage932) {
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    const std::string expected = "LOGIN=C:\\selvane-tests\\\x90\xbb\x95\x69 \x83\x74\x83\x48\x83\x8b\x83\x5f\r\n";
    EXPECT_NE(ReadBytes(kKeva + L"\\orna_remote.ini").find(expected), std::string::npos);
    EXPECT_EQ(ReadBytes(kKeva + L"\\orna_remote.ini"), ExpectedSettingsFile(product_.path()));
    EXPECT_TRUE(InstallerRan()) << "the blank in the folder does not stop the installer";
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
}

// A write that fails stops the run with a message naming the file; the window stays.
class CompleteFails : public Complete {
protected:
    void ExpectStoppedAt(const std::wstring& file) {
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(L"設定を書き込めませんでした。"), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(file), std::wstring::npos) << content.text;
        EXPECT_EQ(content.caption, L"Selvane");
        Dismiss();
        ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_TRUE(program_->Running());
        EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
        EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
    }
};

TEST_F(CompleteFails, WhenTheFolderDoesNotExist) {
    Start();
    PressComplete(L"C:\\selvane-tests\\nowhere");
    ExpectStoppedAt(L"C:\\selvane-tests\\nowhere\\orna_remote.ini");
}

TEST_F(CompleteFails, WhenTheSettingsFileCannotBeWritten) {
    fs::create_directories(kKeva + L"\\orna_remote.ini");
    Start();
    PressComplete(kKeva);
    ExpectStoppedAt(kKeva + L"\\orna_remote.ini");
}

TEST_F(CompleteFails, WhenWinIniCannotBeWritten) {
    const std::wstring winIni = WinIni();
    const std::string original = ReadBytes(winIni);
    fs::rename(winIni, winIni + L".saved");
    fs::create_directories(winIni);
    Start();
    PressComplete(kKeva);
    ExpectStoppedAt(winIni);
    fs::remove(winIni);
    fs::rename(winIni + L".saved", winIni);
    EXPECT_EQ(ReadBytes(winIni), original);
    EXPECT_EQ(Profile(kKeva + L"\\orna_remote.ini", L"FILE", L"LOGIN"), product_.path()) << "earlier writes stay";
}

TEST_F(Complete, TextOutsideTheCodePageIsRefusedBeforeAnyWrite) {
    Start();
    PressComplete(kKeva + L"\\café");
    const MessageBoxContent content = Outcome();
    EXPECT_NE(content.text.find(L"文字コード"), std::wstring::npos) << content.text;
    EXPECT_NE(content.text.find(L"café"), std::wstring::npos) << content.text;
    Dismiss();
    ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(fs::is_empty(kKeva));
}

}  // namespace
}  // namespace selvane::testing
