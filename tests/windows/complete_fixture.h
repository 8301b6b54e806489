#pragma once

// A product folder with stand-ins for acl.bat and service\install.exe, the
// setup window started in it, and what it takes to press Complete and read
// what happened.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver.h"
#include "resources/resource_ids.h"

namespace selvane::testing {

namespace fs = std::filesystem;

inline const std::wstring kKeva = L"C:\\selvane-tests\\keva";

inline std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

inline std::string Ansi(const std::wstring& text) {
    std::string bytes(text.size() * 2 + 1, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

inline std::wstring WinIni() {
    wchar_t directory[MAX_PATH] = {};
    GetWindowsDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\win.ini";
}

inline std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 1024, file.c_str());
    return value;
}

// What the profile functions write for the ten settings of a new file.
inline std::string ExpectedSettingsFile(const std::wstring& appFolder) {
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

// Another program's hold on a file: a backup agent or a virus scanner that
// reads it and lets others only read (FILE_SHARE_READ), or one that lets
// nobody in (0).
class HeldOpen {
public:
    HeldOpen(const std::wstring& path, DWORD share)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        EXPECT_NE(file_, INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() { CloseHandle(file_); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE file_;
};

class Complete : public ::testing::Test {
protected:
    explicit Complete(const std::wstring& appFolder = L"C:\\selvane-tests\\p4", const std::wstring& sample = L"type2.mdb")
        : product_(appFolder, sample), winIniBefore_(ReadBytes(WinIni())) {
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
    // Everything a run completed into kKeva leaves behind; then OK ends it with 0.
    void ExpectWholeRunDone() {
        const std::string settings = ReadBytes(kKeva + L"\\orna_remote.ini");
        EXPECT_EQ(settings, ExpectedSettingsFile(product_.path()));
        const std::string app = Ansi(product_.path());
        EXPECT_NE(settings.find("[FILE]\r\nLOGIN=" + app + "\r\nDB=" + app + "\r\nBACKUP=" + app + "\\BACKUP\r\n"),
                  std::string::npos) << settings;
        EXPECT_NE(settings.find("[SERVICE]\r\nDNS_SERVICE=0\r\nWEB_SERVICE=0\r\nPOP3_SERVICE=0\r\nSMTP_SERVICE=0\r\n"
                                "FTP_SERVICE=0\r\nOS=0\r\nOPTIMIZE=0\r\n"), std::string::npos) << settings;
        EXPECT_EQ(Profile(WinIni(), L"ORNA", L"BASIC"), product_.path());
        EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
        EXPECT_EQ(ReadBytes(product_.File(L"yes.txt")), "y\r\n");
        EXPECT_EQ(AclRecord(), app + "\r\ny\r\n");
        ASSERT_TRUE(InstallerRan());
        EXPECT_EQ(InstallerDirectory(), product_.File(L"service"));
        EXPECT_TRUE(InstallerWasHidden()) << InstallerRecord();
        Dismiss();
        EXPECT_EQ(program_->WaitForExit(), 0u);
    }
    bool InstallerRan(std::chrono::milliseconds timeout = Patience(10s)) {
        return WaitFor([&] { return fs::exists(product_.File(L"service\\install-ran.txt")); }, timeout);
    }
    // Nothing of the run's effects happened: no settings, no answer file, no program started.
    void ExpectNothingWritten() {
        EXPECT_TRUE(fs::is_empty(kKeva)) << "orna_remote.ini was written";
        EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_) << "win.ini changed";
        EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
        EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
        EXPECT_FALSE(InstallerRan(0ms));
    }
    // The message was dismissed and the window waits for another try.
    void ExpectWindowStays() {
        ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, Patience(5s)));
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_TRUE(program_->Running());
    }
    // How many times the installer stand-in ran.
    size_t InstallerRuns() {
        const std::wstring record = InstallerRecord();
        size_t runs = 0;
        for (size_t at = record.find(L"show="); at != std::wstring::npos; at = record.find(L"show=", at + 1)) ++runs;
        return runs;
    }
    // What the installer stand-in recorded: its directory, then "show=N", a record a run.
    std::wstring InstallerRecord() {
        const std::string bytes = ReadBytes(product_.File(L"service\\install-ran.txt"));
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }
    std::wstring InstallerDirectory() { return InstallerRecord().substr(0, InstallerRecord().find(L"\r\n")); }
    bool InstallerWasHidden() { return InstallerRecord().find(L"\r\nshow=0\r\n") != std::wstring::npos; }
    std::string AclRecord() {
        WaitFor([&] { return ReadBytes(product_.File(L"acl-ran.txt")).find("y\r\n") != std::string::npos; },
                Patience(10s));
        return ReadBytes(product_.File(L"acl-ran.txt"));
    }

    ProductFolder product_;
    std::string winIniBefore_;
    std::optional<RunningProgram> program_;
    HWND window_ = nullptr;
    HWND lastBox_ = nullptr;
};

}  // namespace selvane::testing
