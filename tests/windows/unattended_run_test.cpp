// The program run from a script: switches, exit codes, the log, and no window.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <thread>

#include "complete_fixture.h"
#include "platform/wide_text_win.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

class Silent : public Complete {
protected:
    explicit Silent(const std::wstring& sample = L"type2.mdb") : Complete(L"C:\\selvane-tests\\p4", sample) {}
    ~Silent() override {
        std::error_code ignored;
        fs::remove(kOutput, ignored);
    }

    // Runs the program with these arguments to its end, its standard output
    // redirected; it must show no window meanwhile.
    DWORD Run(const std::wstring& arguments, const std::wstring& programPath = L"", const std::wstring& directory = L"") {
        RunningProgram program(programPath.empty() ? product_.program() : programPath,
                               directory.empty() ? product_.path() : directory, arguments, kOutput);
        bool showedWindow = false;
        std::optional<DWORD> exitCode;
        WaitFor(
            [&] {
                showedWindow |= !TopLevelWindows(program.id()).empty();
                exitCode = program.WaitForExit(0ms);
                return exitCode.has_value();
            },
            Patience(60s));
        EXPECT_FALSE(showedWindow) << "for " << Narrow(arguments);
        return exitCode.value_or(~0u);
    }
    std::string Log(const std::wstring& path = L"") const {
        return ReadBytes(path.empty() ? product_.File(L"selvane-init.log") : path);
    }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
    std::wstring Output() const {
        const std::string bytes = ReadBytes(kOutput);
        std::wstring text(bytes.size(), L'\0');
        text.resize(static_cast<size_t>(MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             text.data(), static_cast<int>(text.size()))));
        return text;
    }
    std::string App() const { return Narrow(product_.path()); }
    static size_t Count(const std::string& text, const std::string& part) {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
        return count;
    }

    const std::wstring kOutput = L"C:\\selvane-tests\\output.txt";
};

TEST_F(Silent, WritesWhatAWindowRunWritesStartsBothProgramsAndLogsEachStep) {
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
    EXPECT_EQ(ReadBytes(kKeva + L"\\orna_remote.ini"), ExpectedSettingsFile(product_.path()));
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"BASIC"), product_.path());
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
    EXPECT_EQ(ReadBytes(product_.File(L"yes.txt")), "y\r\n");
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
    ASSERT_TRUE(InstallerRan());
    EXPECT_TRUE(InstallerWasHidden());
    EXPECT_NE(Output().find(L"初期設定が完了しました。 (終了コード 0)"), std::wstring::npos) << Narrow(Output());

    const std::string log = Log();
    EXPECT_TRUE(log.starts_with("\xEF\xBB\xBF")) << "UTF-8 with a byte-order mark";
    const std::string lineShape = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] (INFO|WARN|ERROR) [^\r\n]+\r\n)";
    EXPECT_TRUE(std::regex_match(log.substr(3), std::regex("(" + lineShape + ")+"))) << log;
    EXPECT_NE(log.find("INFO Selvane 初期設定 1.0.0 開始 コマンドライン: "), std::string::npos);
    EXPECT_NE(log.find("INFO サーバ種別: 2\r\n"), std::string::npos);
    EXPECT_NE(log.find("INFO 設定 C:\\selvane-tests\\keva\\orna_remote.ini [FILE] LOGIN=" + App() +
                       " (変更前: なし): 完了\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("INFO 設定 " + Narrow(WinIni()) + " [ORNA] CGI=C:\\selvane-tests\\keva (変更前: "),
              std::string::npos);
    EXPECT_EQ(Count(log, ": 完了\r\n"), 15u) << "twelve settings, the answer file, two programs";
    EXPECT_EQ(Count(log, " pid="), 2u);
    EXPECT_TRUE(log.ends_with(" INFO exit=0\r\n")) << log;

    // Again, over a changed value, with the folder as Browse would give it.
    WritePrivateProfileStringW(L"FILE", L"LOGIN", L"old", (kKeva + L"\\orna_remote.ini").c_str());
    EXPECT_EQ(Run(L"/SILENT \"/DIR=" + kKeva + L"\\\\\""), 0u) << Narrow(Output());
    EXPECT_EQ(Profile(kKeva + L"\\orna_remote.ini", L"FILE", L"LOGIN"), product_.path());
    EXPECT_EQ(Count(Log(), " INFO exit=0\r\n"), 2u);
    EXPECT_EQ(Count(Log(), "\xEF\xBB\xBF"), 1u);
}

TEST_F(Silent, CommandLinesItCannotUseAre1639AndChangeNothing) {
    struct Case {
        std::wstring arguments;
        std::string logged;
    };
    const Case cases[] = {
        {L"/VERYSILENT", "/DIR=フォルダ が必要です"},
        {L"/VERYSILENT /DIR=keva", "絶対パス"},
        {L"/VERYSILENT /DIR=C:\\selvane-tests\\nowhere", "/DIR のフォルダが見つかりません: C:\\selvane-tests\\nowhere"},
        // The classic trap: \" ends no quote, so the value keeps a quote.
        {L"/VERYSILENT \"/DIR=" + kKeva + L"\\\"", "/DIR の値に \" が含まれています"},
        {L"/VERYSLIENT /DIR=" + kKeva, "不明なスイッチです: /VERYSLIENT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.arguments), 1639u) << Narrow(c.arguments);
        EXPECT_TRUE(Logged(c.logged)) << Narrow(c.arguments) << "\n" << Log();
        EXPECT_FALSE(Output().empty()) << "the reason is printed too";
    }
    EXPECT_EQ(Count(Log(), "INFO exit=1639\r\n"), std::size(cases));
    ExpectNothingWritten();
}

TEST_F(Silent, MissingPiecesAre1603AndChangeNothing) {
    const std::wstring acl = product_.File(L"acl.bat");
    const std::wstring service = product_.File(L"service");
    const std::wstring saved = L"C:\\selvane-tests\\saved";
    for (const auto& [piece, place] : {std::pair{acl, saved}, std::pair{service, saved},
                                       std::pair{service + L"\\install.exe", saved}}) {
        fs::rename(piece, place);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u) << Narrow(piece);
        EXPECT_TRUE(Logged(Narrow(piece))) << Log();
        fs::rename(place, piece);
    }
    ExpectNothingWritten();
}

TEST_F(Silent, FolderInPlaceOfWinIniIs1603BeforeAnyWrite) {
    const std::wstring winIni = WinIni();
    fs::rename(winIni, winIni + L".saved");
    fs::create_directories(winIni);
    const DWORD exitCode = Run(L"/VERYSILENT /DIR=" + kKeva);
    fs::remove(winIni);
    fs::rename(winIni + L".saved", winIni);
    EXPECT_EQ(exitCode, 1603u);
    EXPECT_TRUE(Logged(Narrow(winIni) + " を読み取れませんでした。 理由: ファイルではなくフォルダです")) << Log();
    ExpectNothingWritten();
}

TEST_F(Silent, LogInAMissingFolderIs1622) {
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + L" /LOG=C:\\selvane-tests\\nowhere\\setup.log"), 1622u);
    EXPECT_NE(Output().find(L"C:\\selvane-tests\\nowhere\\setup.log"), std::wstring::npos) << Narrow(Output());
    // A command line refused anyway is refused as such.
    EXPECT_EQ(Run(L"/VERYSLIENT /LOG=C:\\selvane-tests\\nowhere\\setup.log"), 1639u) << Narrow(Output());
    ExpectNothingWritten();
}

// A deployment tool counts an installer's 3010 and 1641 as done, with a
// restart to come; any other code but 0 fails the run.
TEST_F(Silent, WaitPassesTheInstallersRestartCodesOnAndFailsOnOthers) {
    struct Case {
        const char* installerExit;
        DWORD exitCode;
        std::string logged;
        std::wstring console;
    };
    const Case cases[] = {
        {"3010", 3010, "WARN 初期設定が完了しました。サーバを再起動してください。\r\n",
         L"初期設定が完了しました。サーバを再起動してください。 (終了コード 3010)"},
        {"1641", 1641, "WARN 初期設定が完了しました。サービスインストーラがサーバの再起動を開始しました。\r\n",
         L"サービスインストーラがサーバの再起動を開始しました。 (終了コード 1641)"},
        {"5", 1603, "理由: 終了コード 5", L"(終了コード 1603)"},
    };
    for (const auto& c : cases) {
        WriteBytes(product_.File(L"service\\install-exit.txt"), c.installerExit);
        EXPECT_EQ(Run(L"/VERYSILENT /WAIT /DIR=" + kKeva), c.exitCode) << c.installerExit;
        EXPECT_TRUE(Logged(c.logged)) << Log();
        EXPECT_TRUE(Logged("WARN 終了 " + App() + "\\service\\install.exe 終了コード=" + c.installerExit + "\r\n")) << Log();
        EXPECT_NE(Output().find(c.console), std::wstring::npos) << Narrow(Output());
        EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva) << "the settings stay written";
    }
    EXPECT_TRUE(Logged("INFO 終了 " + App() + "\\acl.bat 終了コード=0\r\n")) << Log();
}

// The registry is real under Wine: what reg.exe shows of the record, and
// what /VERIFY makes of it after a run that completed and one that failed.
TEST_F(Silent, TheRecordSaysHowTheRunEndedAndVerifyReadsIt) {
    const auto registry = [&] {
        RunningProgram query(L"C:\\windows\\system32\\reg.exe", L"",
                             L"query HKLM\\SOFTWARE\\Selvane\\InitialSetup /reg:32", kOutput);
        query.WaitForExit();
        return Narrow(Output());
    };
    // Waited for, acl.bat's cmd.exe no longer holds the output file that reg.exe writes to.
    EXPECT_EQ(Run(L"/VERYSILENT /WAIT /DIR=" + kKeva), 0u);
    std::string shown = registry();
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(State\s+REG_SZ\s+completed)"))) << shown;
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(KevaFolder\s+REG_SZ\s+C:\\selvane-tests\\keva)"))) << shown;
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(Installer\s+REG_SZ\s+0)"))) << shown;
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva), 0u) << Narrow(Output());

    WriteBytes(product_.File(L"service\\install-exit.txt"), "1603");
    EXPECT_EQ(Run(L"/VERYSILENT /WAIT /DIR=" + kKeva), 1603u);
    shown = registry();
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(State\s+REG_SZ\s+failed)"))) << shown;
    EXPECT_TRUE(std::regex_search(shown, std::regex(R"(Installer\s+REG_SZ\s+1603)"))) << shown;
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva), 1u) << "the twelve entries hold, the installer failed";
    EXPECT_NE(Output().find(L"前回の初期設定は失敗しました (終了コード 1603、失敗した手順 RunInstaller)"), std::wstring::npos)
        << Narrow(Output());
}

// A run cut off while the installer runs (a deployment tool's time limit,
// Task Manager): /VERIFY says not set up, and the next start says so, then
// runs as usual.
TEST_F(Silent, ARunCutOffIsFoundByTheNextStart) {
    const std::wstring hold = product_.File(L"service\\install-hold.txt");
    WriteBytes(hold, "");
    {
        RunningProgram run(product_.program(), product_.path(), L"/VERYSILENT /WAIT /DIR=" + kKeva);
        ASSERT_TRUE(InstallerRan(Patience(20s))) << "the run is waiting for the installer";
        TerminateProcess(run.handle(), 9);
        run.WaitForExit();
    }
    fs::remove(hold);
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva), 1u) << "the twelve entries hold, the run did not end";
    EXPECT_NE(Output().find(L"は途中で中断されました"), std::wstring::npos) << Narrow(Output());

    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
    EXPECT_TRUE(std::regex_search(Log(), std::regex("WARN 前回の初期設定 \\(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d に開始、"
                                                    "KEVA のフォルダ C:\\\\selvane-tests\\\\keva\\) は途中で中断されました。")))
        << Log();
    EXPECT_NE(Output().find(L"中断されました。今回の実行で設定し直してください。 初期設定が完了しました。"), std::wstring::npos)
        << Narrow(Output());
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva), 0u) << Narrow(Output());
}

TEST_F(Silent, WhatIfChangesOnlyTheLog) {
    EXPECT_EQ(Run(L"/VERYSILENT /WHATIF /DIR=" + kKeva), 0u);
    ExpectNothingWritten();
    EXPECT_EQ(Count(Log(), ": /WHATIF のため行いません\r\n"), 15u) << Log();
}

TEST_F(Silent, HelpGoesToTheConsole) {
    EXPECT_EQ(Run(L"/?"), 0u);
    EXPECT_NE(Output().find(L"/VERYSILENT"), std::wstring::npos) << Narrow(Output());
    EXPECT_NE(Output().find(L"1639"), std::wstring::npos);
    EXPECT_FALSE(fs::exists(product_.File(L"selvane-init.log")));
}

TEST_F(Silent, AWindowStartMeanwhileSaysTheProgramIsRunning) {
    const std::wstring hold = product_.File(L"service\\install-hold.txt");
    WriteBytes(hold, "");
    RunningProgram silent(product_.program(), product_.path(), L"/VERYSILENT /WAIT /DIR=" + kKeva);
    ASSERT_TRUE(InstallerRan(Patience(20s))) << "the unattended run is waiting for the installer";
    RunningProgram window(product_.program(), product_.path());
    HWND box = FindMessageBox(window.id());
    ASSERT_NE(box, nullptr) << "the window start ended without a word";
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.text, L"このプログラムは既に実行中です。");
    EXPECT_EQ(content.caption, L"Selvane");
    EXPECT_EQ(FindSetupWindow(window.id(), 0ms), nullptr);
    CloseMessageBox(box);
    EXPECT_EQ(window.WaitForExit(), 1u);
    fs::remove(hold);
    EXPECT_EQ(silent.WaitForExit(), 0u);
}

// What was checked is what starts: while a run holds acl.bat and the
// installer nobody can write them; one that another program has open to
// change stops the run before its first write.
TEST_F(Silent, AclBatAndTheInstallerAreHeldUnchangedUntilTheRunEnds) {
    const std::wstring hold = product_.File(L"service\\install-hold.txt");
    const std::wstring settings = kKeva + L"\\orna_remote.ini";
    const std::wstring files[] = {product_.File(L"acl.bat"), product_.File(L"service\\install.exe")};
    const auto openToWrite = [](const std::wstring& file) {
        return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    WriteBytes(hold, "");
    {
        RunningProgram run(product_.program(), product_.path(), L"/VERYSILENT /WAIT /DIR=" + kKeva);
        ASSERT_TRUE(InstallerRan(Patience(20s))) << "the run is waiting for the installer";
        for (const std::wstring& file : files) {
            const HANDLE writer = openToWrite(file);
            EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << Narrow(file);
            EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION}) << Narrow(file);
            if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
        }
        fs::remove(hold);
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    for (const std::wstring& file : files) {
        const HANDLE writer = openToWrite(file);
        EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "let go once the run has ended: " << Narrow(file);
        fs::remove(settings);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u) << Narrow(file);
        EXPECT_FALSE(fs::exists(settings)) << Narrow(file);
        EXPECT_NE(Log().find(Ansi(file)), std::string::npos) << Log();
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    }
}

// A run with /DIR in forward slashes, then /VERIFY: set up as that run left
// it (exit 0, nothing changed or started) however Windows may spell the
// program's path and the folder, and not once an entry differs. It keeps
// a log only where /LOG names one.
TEST_F(Silent, VerifyTellsWhetherTheServerIsSetUp) {
    std::wstring slashed = kKeva;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    ASSERT_EQ(Run(L"/VERYSILENT /DIR=" + slashed), 0u);
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
    ASSERT_TRUE(InstallerRan());
    fs::remove(product_.File(L"selvane-init.log"));
    const std::string settings = ReadBytes(kKeva + L"\\orna_remote.ini");
    const std::string winIni = ReadBytes(WinIni());
    wchar_t shortProgram[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(product_.program().c_str(), shortProgram, MAX_PATH), 0u);
    std::wstring upperProgram = product_.program();
    std::wstring lowerKeva = kKeva;
    CharUpperW(upperProgram.data());
    CharLowerW(lowerKeva.data());
    const std::pair<std::wstring, std::wstring> spellings[] = {
        {product_.program(), kKeva}, {product_.program(), kKeva + L"\\"}, {upperProgram, lowerKeva}, {shortProgram, kKeva}};
    for (const auto& [program, dir] : spellings) {
        EXPECT_EQ(Run(L"/VERIFY /DIR=" + dir, program), 0u) << Narrow(program) << " " << Narrow(dir);
    }
    EXPECT_EQ(ReadBytes(kKeva + L"\\orna_remote.ini"), settings);
    EXPECT_EQ(ReadBytes(WinIni()), winIni);
    EXPECT_EQ(InstallerRuns(), 1u);
    EXPECT_NE(Output().find(L"設定済み (終了コード 0)"), std::wstring::npos) << Narrow(Output());
    EXPECT_FALSE(fs::exists(product_.File(L"selvane-init.log"))) << "detection left a log behind";
    // A log it cannot open does not change its answer.
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva + L" /LOG=C:\\selvane-tests\\nowhere\\verify.log"), 0u);

    const std::wstring verifyLog = L"C:\\selvane-tests\\verify.log";
    fs::remove(verifyLog);
    EXPECT_EQ(Run(L"/VERIFY /DIR=C:\\selvane-tests /LOG=" + verifyLog), 1u) << "another folder";
    WritePrivateProfileStringW(L"ORNA", L"CGI", L"D:\\elsewhere", WinIni().c_str());
    EXPECT_EQ(Run(L"/VERIFY /VERYSILENT /DIR=" + kKeva + L" /LOG=" + verifyLog), 1u);
    EXPECT_NE(Log(verifyLog).find("WARN 相違 " + Narrow(WinIni()) + " [ORNA] CGI: 実行した場合 \"" + Narrow(kKeva) +
                                  "\"、現在 \"D:\\elsewhere\""),
              std::string::npos)
        << Log(verifyLog);
    fs::remove(kKeva + L"\\orna_remote.ini");
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva + L" /LOG=" + verifyLog), 1u);
    EXPECT_NE(Log(verifyLog).find("[FILE] LOGIN: 実行した場合 \"" + App() + "\"、現在 なし"), std::string::npos)
        << Log(verifyLog);
    fs::remove(verifyLog);
}

TEST_F(Silent, VerifyWithoutDirIs1639) {
    EXPECT_EQ(Run(L"/VERIFY"), 1639u);
    EXPECT_NE(Output().find(L"/VERIFY には /DIR=フォルダ が必要です。"), std::wstring::npos) << Narrow(Output());
    EXPECT_FALSE(fs::exists(product_.File(L"selvane-init.log"))) << "detection left a log behind";
}

// What a run that stops after its first write leaves: the settings files
// byte for byte as they were, in whatever form administrators and other
// programs left them.
const std::string kOwnSettings = "[FILE]\r\nLOGIN=C:\\old\r\nOWN=1\r\n[MINE]\r\nX=y\r\n";
const std::wstring kSettings = kKeva + L"\\orna_remote.ini";

std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(Silent, WinIniHeldPutsBackEverySettingsFileByteForByte) {
    const std::pair<const char*, std::string> forms[] = {
        {"quoted", "[FILE]\r\nLOGIN=\"C:\\old path\"\r\nOWN=1\r\n"},
        {"blank-padded", "[FILE]\r\nLOGIN =  C:\\old  \r\n"},
        {"a bare key", "[FILE]\r\nLOGIN\r\nDB=x\r\n"},
        {"a 40,000-character value", "[FILE]\r\nLOGIN=C:\\" + std::string(40000, 'v') + "\r\n"},
        {"UTF-16 outside cp932", Utf16File(u"[FILE]\r\nLOGIN=C:\\测试Ω😀\r\n[MINE]\r\nX=y\r\n")},
        {"comments and LF line ends", "; kept by hand\n[FILE]\nLOGIN=C:\\old\n; the end\n[MINE]\nX=y"},
    };
    for (const auto& [form, bytes] : forms) {
        WriteBytes(kSettings, bytes);
        {
            const HeldOpen scanner(WinIni(), FILE_SHARE_READ);
            EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u) << form;
        }
        EXPECT_EQ(ReadBytes(kSettings), bytes) << form;
        EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_) << form;
    }
    const std::string log = Log();
    EXPECT_EQ(Count(log, "INFO 元に戻す " + Ansi(kSettings) + " (実行前の内容): 完了\r\n"), std::size(forms)) << log;
    EXPECT_EQ(Count(log, "変更した設定は元に戻しました。"), std::size(forms)) << log;
    // What each line held, as it stood.
    for (const char* before : {"(変更前: 「LOGIN=\"C:\\old path\"」)", "(変更前: 「LOGIN =  C:\\old  」)",
                               "(変更前: 「LOGIN」)", "(変更前: 「DB=x」)"}) {
        EXPECT_NE(log.find(before), std::string::npos) << before << "\n" << log;
    }
    // Held without sharing, win.ini cannot even be read: nothing is written.
    {
        const HeldOpen holder(WinIni(), 0);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    }
    EXPECT_NE(Log().find(Ansi(WinIni()) + " を読み取れませんでした。"), std::string::npos) << Log();
    EXPECT_EQ(ReadBytes(kSettings), forms[std::size(forms) - 1].second);
}

// A scanner, or the batch file of the run before, holds a file for a moment:
// the run waits it out; a hold that lasts stops the run within ten seconds.
TEST_F(Silent, ABriefHoldIsWaitedOutALastingOneStopsTheRunSoon) {
    const std::wstring answer = product_.File(L"yes.txt");
    WriteBytes(answer, "y\r\n");
    {
        std::optional<HeldOpen> holder(std::in_place, answer, 0);
        std::thread release([&] {
            Sleep(1000);
            holder.reset();
        });
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
        release.join();
    }
    EXPECT_NE(Log().find("INFO 待機 " + Ansi(answer) + " を他のプログラムが使用中のため "), std::string::npos) << Log();
    // Two runs one right after the other, while the first one's acl.bat reads the answer file.
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
    // Held for good.
    const HeldOpen holder(answer, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, Patience(10s));
    EXPECT_NE(Log().find("解放されませんでした"), std::string::npos) << Log();
}

// Files whose lines end in a lone CR, as some tools write them: a run finds
// and replaces the lines the profile functions find, and /VERIFY reads
// every setting in them. (Wine's profile functions rewrite the file with
// CR LF; Windows' edit it in place, so it is made CR-only again here.)
TEST_F(Silent, AfterARunOnCrOnlyFilesVerifySaysSetUp) {
    WriteBytes(kSettings, "[FILE]\rLOGIN=C:\\old\rDB=x\r[SERVICE]\rOS=1\r[MINE]\rX=y\r");
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u);
    EXPECT_NE(Log().find("(変更前: 「LOGIN=C:\\old」)"), std::string::npos) << Log();
    std::string settings = ReadBytes(kSettings);
    std::erase(settings, '\n');
    WriteBytes(kSettings, settings);
    EXPECT_EQ(Run(L"/VERIFY /DIR=" + kKeva), 0u) << settings;
}

// win.ini with an ORNA section of its own, blank lines and a quoted value;
// the answer file held as a scanner holds it.
TEST_F(Silent, AnswerFileHeldAfterTheTwelveWritesPutsBothFilesBack) {
    const std::string ownWinIni = winIniBefore_ + "\r\n\r\n[ORNA]\r\nOWN=1\r\nBASIC = \"C:\\before\"\r\n\r\n[after]\r\nx=1";
    WriteBytes(WinIni(), ownWinIni);
    WriteBytes(product_.File(L"yes.txt"), "y\r\n");
    {
        const HeldOpen scanner(product_.File(L"yes.txt"), FILE_SHARE_READ);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    }
    const std::string winIniAfter = ReadBytes(WinIni());
    WriteBytes(WinIni(), winIniBefore_);
    EXPECT_EQ(winIniAfter, ownWinIni);
    EXPECT_FALSE(fs::exists(kSettings));
    EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
    EXPECT_NE(Log().find("変更した設定は元に戻しました。"), std::string::npos) << Log();
}

// The put-back's copy is a file of the run's own, made new: whatever stands
// where it would go (a user's own file, a hidden read-only one, a hard link
// to another file) is as it was afterwards, and no copy is left.
TEST_F(Silent, ThePutBacksCopyLeavesWhatStandsBesideAsItWas) {
    const std::string settingsBefore = "[FILE]\r\nLOGIN=C:\\old\r\n";
    WriteBytes(kSettings, settingsBefore);
    const std::wstring other = kKeva + L"\\other.txt";
    WriteBytes(other, "another file\r\n");
    ASSERT_TRUE(CreateHardLinkW((kKeva + L"\\orna_remote.in~").c_str(), other.c_str(), nullptr));
    const std::wstring hidden = kKeva + L"\\orna_remote.i~1";
    WriteBytes(hidden, "hidden\r\n");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const std::wstring beside = WinIni().substr(0, WinIni().size() - 1);
    WriteBytes(beside + L"~", "mine\r\n");
    {
        const HeldOpen scanner(product_.File(L"yes.txt"), FILE_SHARE_READ);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    }
    EXPECT_EQ(ReadBytes(kSettings), settingsBefore);
    EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_);
    EXPECT_EQ(ReadBytes(other), "another file\r\n");
    EXPECT_EQ(ReadBytes(hidden), "hidden\r\n");
    EXPECT_EQ(GetFileAttributesW(hidden.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(ReadBytes(beside + L"~"), "mine\r\n");
    EXPECT_FALSE(fs::exists(kKeva + L"\\orna_remote.i~2"));
    EXPECT_FALSE(fs::exists(beside.substr(0, beside.size() - 1) + L"~1"));
    EXPECT_NE(Log().find("変更した設定は元に戻しました。"), std::string::npos) << Log();
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((beside + L"~").c_str());
}

TEST_F(Silent, ALogThatIsOneOfTheRunsFilesIsRefusedUntouched) {
    for (const std::wstring& file : {WinIni(), kSettings, product_.File(L"yes.txt"), product_.File(L"acl.bat"),
                                     product_.File(L"service\\install.exe"), product_.program(),
                                     product_.File(L"ORNA.mdb")}) {
        WriteBytes(kSettings, kOwnSettings);
        WriteBytes(product_.File(L"yes.txt"), "y\r\n");
        const std::string before = ReadBytes(file);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + L" \"/LOG=" + file + L"\""), 1639u) << Narrow(file);
        EXPECT_EQ(ReadBytes(file), before) << Narrow(file);
    }
    // A window start too, refused by the name alone before a line is
    // written: its folder is known only at Complete.
    const std::wstring elsewhere = L"C:\\selvane-tests\\elsewhere";
    fs::create_directories(elsewhere);
    for (const std::wstring& file : {kSettings, elsewhere + L"\\ORNA_REMOTE.INI", elsewhere + L"\\win.ini"}) {
        WriteBytes(file, kOwnSettings);
        EXPECT_EQ(Run(L"\"/LOG=" + file + L"\""), 1639u) << Narrow(file);
        EXPECT_EQ(ReadBytes(file), kOwnSettings) << Narrow(file);
    }
    fs::remove_all(elsewhere);
    EXPECT_NE(Output().find(L"と同じ名前です"), std::wstring::npos) << Narrow(Output());
    EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
}

// Files, not names: a log that reaches one of the run's files under another
// name is refused before a line is written.
TEST_F(Silent, ALogThatIsARunFileByAnotherNameIsRefusedUntouched) {
    WriteBytes(kSettings, kOwnSettings);
    const std::wstring link = L"C:\\selvane-tests\\settings-link.log";
    DeleteFileW(link.c_str());
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), kSettings.c_str(), nullptr));
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + L" /LOG=" + link), 1639u);
    EXPECT_EQ(ReadBytes(kSettings), kOwnSettings);
    DeleteFileW(link.c_str());
    // A window start too, for the files known before Complete.
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), product_.File(L"acl.bat").c_str(), nullptr));
    const std::string batch = ReadBytes(product_.File(L"acl.bat"));
    EXPECT_EQ(Run(L"/LOG=" + link), 1639u);
    EXPECT_EQ(ReadBytes(product_.File(L"acl.bat")), batch);
    DeleteFileW(link.c_str());
    EXPECT_NE(Output().find(L"そのものです"), std::wstring::npos) << Narrow(Output());
    // (Wine names no stream: "win.ini::$DATA" is another file there, so that
    // Windows' third way to the same file cannot be shown here.)
}

TEST_F(Silent, AFolderForTheAnswerFileOrATextForTheInstallerIsSeenBeforeWriting) {
    const std::wstring installer = product_.File(L"service\\install.exe");
    for (const bool textInstaller : {false, true}) {
        if (textInstaller) {
            fs::remove(product_.File(L"yes.txt"));
            WriteBytes(installer, "not a program\r\n");
        } else {
            fs::create_directories(product_.File(L"yes.txt"));
        }
        for (const wchar_t* whatIf : {L"", L" /WHATIF"}) {
            EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + whatIf), 1603u) << textInstaller << Narrow(whatIf);
        }
    }
    EXPECT_NE(Log().find(Ansi(product_.File(L"yes.txt")) + " を読み取れませんでした。 理由: ファイルではなくフォルダです"),
              std::string::npos) << Log();
    EXPECT_NE(Log().find("理由: Windows で実行できるプログラムではありません"), std::string::npos) << Log();
    ExpectNothingWritten();
}

// Started as many launchers start a program: its path with blanks as the
// whole command line, unquoted, as Windows' CreateProcess passes it on.
class UnquotedStart : public Complete {
protected:
    UnquotedStart() : Complete(L"C:\\selvane-tests\\k1 app") {}
    RunningProgram StartUnquoted(const std::wstring& arguments = L"") {
        const std::wstring line = product_.program() + (arguments.empty() ? L"" : L" " + arguments);
        return RunningProgram(StartWithCommandLineAsGiven(product_.program(), line, product_.path()));
    }
};

TEST_F(UnquotedStart, OpensTheWindowAndWritesNoLog) {
    RunningProgram program = StartUnquoted();
    EXPECT_NE(FindSetupWindow(program.id()), nullptr);
    EXPECT_FALSE(fs::exists(product_.File(L"selvane-init.log")));
}

TEST_F(UnquotedStart, TakesTheSwitchesAfterThePath) {
    RunningProgram program = StartUnquoted(L"/VERYSILENT /DIR=" + kKeva);
    EXPECT_EQ(program.WaitForExit(Patience(60s)), 0u) << ReadBytes(product_.File(L"selvane-init.log"));
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), kKeva);
    EXPECT_TRUE(InstallerRan());
}

class SilentOnType1 : public Silent {
protected:
    SilentOnType1() : Silent(L"type1.mdb") {}
};

TEST_F(SilentOnType1, ServerIsRefusedWith1633) {
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1633u);
    EXPECT_TRUE(Logged("INFO サーバ種別: 1\r\n")) << Log();
    EXPECT_TRUE(Logged("ERROR このソフトウェアは既設サーバのみに対応しています。\r\n")) << Log();
    ExpectNothingWritten();
}

// What acl.bat or the installer is, and where they lie, only administrators
// may change: Wine makes o+w "Everyone may write", another uid another owner.
// Wine keeps no DACL a program sets, so a folder others may only add to
// (Windows Server's default) cannot be made here: the native tests show it.
// The whole tree is judged: service\lib below service\, a file another uid
// owns there, an administrators' DLL that others may write.
TEST_F(Silent, WhatOthersCouldChangeIsRefusedBeforeTheFirstWrite) {
    fs::create_directories(product_.File(L"service\\lib"));
    WriteBytes(product_.File(L"icacls.bat"), "");
    WriteBytes(product_.File(L"service\\helper.dll"), "");
    WriteBytes(product_.File(L"service\\version.dll"), "");
    WriteBytes(product_.File(L"service\\lib\\notes.txt"), "");
    const struct {
        const wchar_t* change;
        std::wstring path;
        const wchar_t* undo;
    } cases[] = {
        {L"chmod o+w", product_.File(L"acl.bat"), L"chmod o-w"},
        {L"chmod o+w", product_.File(L"service\\install.exe"), L"chmod o-w"},
        {L"chmod o+w", product_.File(L"service"), L"chmod o-w"},
        {L"chmod o+w", product_.path(), L"chmod o-w"},
        {L"chown 1234", product_.File(L"acl.bat"), L"chown 0"},
        {L"chown 1234", product_.File(L"icacls.bat"), L"chown 0"},
        {L"chown 1234", product_.File(L"service\\helper.dll"), L"chown 0"},
        {L"chmod o+w", product_.File(L"service\\lib"), L"chmod o-w"},
        {L"chown 1234", product_.File(L"service\\lib\\notes.txt"), L"chown 0"},
        {L"chmod o+w", product_.File(L"service\\version.dll"), L"chmod o-w"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ChangeOnUnixSide(c.change, c.path));
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u) << Narrow(c.change) << " " << Narrow(c.path);
        ExpectNothingWritten();
        EXPECT_TRUE(Logged(Narrow(c.path) + " を管理者以外のアカウントが変更できないことを、確かめられませんでした。"))
            << Log();
        EXPECT_TRUE(Logged("直すコマンド: icacls \"" + Narrow(c.path) + "\" /")) << Log();
        ASSERT_TRUE(ChangeOnUnixSide(c.undo, c.path));
        fs::remove(product_.File(L"selvane-init.log"));
    }
    // An entry named "a." (made through \\?\, as the name "a." would be taken for "a") is judged as itself.
    WriteBytes(product_.File(L"service\\a"), "");
    const std::wstring dotted = product_.File(L"service\\a."), literal = L"\\\\?\\" + dotted;
    CloseHandle(CreateFileW(literal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(ChangeOnUnixSide(L"chown 1234", literal));
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    EXPECT_TRUE(Logged(Narrow(dotted) + " を管理者以外のアカウントが変更できないことを")) << Log();
    ASSERT_TRUE(DeleteFileW(literal.c_str()));
    fs::remove(product_.File(L"selvane-init.log"));
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u) << Log();
}

// What the run writes is written as the one file of its name. Wine makes
// hard links (Unix ones); its symbolic links look like plain files, so links
// and junctions are shown in the native tests.
TEST_F(Silent, AHardLinkIsNeverWrittenThrough) {
    const std::wstring other = L"C:\\selvane-tests\\theirs.txt";
    const std::wstring settings = kKeva + L"\\orna_remote.ini";
    WriteBytes(other, "[FILE]\r\nLOGIN=theirs\r\n");
    ASSERT_TRUE(CreateHardLinkW(settings.c_str(), other.c_str(), nullptr));
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1603u);
    EXPECT_TRUE(Logged("ほかの名前 (ハードリンク) でも開けるファイルです。")) << Log();
    EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_) << "win.ini changed";
    EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
    EXPECT_EQ(ReadBytes(other), "[FILE]\r\nLOGIN=theirs\r\n");
    fs::remove(settings);
    // The answer file: the run's own file takes the name, the other keeps its bytes.
    ASSERT_TRUE(CreateHardLinkW(product_.File(L"yes.txt").c_str(), other.c_str(), nullptr));
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 0u) << Log();
    EXPECT_EQ(ReadBytes(product_.File(L"yes.txt")), "y\r\n");
    EXPECT_EQ(ReadBytes(other), "[FILE]\r\nLOGIN=theirs\r\n");
    fs::remove(other);
}

// cmd.exe finds a command that acl.bat names bare in its current folder
// before PATH. Wine's cmd.exe looks there all the same: what is shown is
// that the variable that stops Windows' reaches acl.bat only where others
// can add files to that folder.
TEST_F(Silent, CmdIsToldNotToSearchACurrentFolderOthersCanFill) {
    WriteBytes(product_.File(L"acl.bat"), "@echo off\r\necho [%NoDefaultCurrentDirectoryInExePath%]> \"%~dp0acl-env.txt\"\r\n");
    const std::wstring open = L"C:\\selvane-tests\\open";
    fs::remove_all(open);  // one an interrupted test left may be open already
    fs::create_directories(open);
    ASSERT_TRUE(ChangeOnUnixSide(L"chmod o+w", open));
    for (const auto& [directory, expected] : {std::pair{open, "[1]\r\n"}, std::pair{product_.path(), "[]\r\n"}}) {
        fs::remove(product_.File(L"acl-env.txt"));
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva, L"", directory), 0u) << Log();
        WaitFor([&] { return ReadBytes(product_.File(L"acl-env.txt")).ends_with("\n"); }, Patience(10s));
        EXPECT_EQ(ReadBytes(product_.File(L"acl-env.txt")), expected) << Narrow(directory);
    }
    fs::remove_all(open);
}

TEST_F(Silent, AnotherInstanceIs1618AndStaysWhereItIs) {
    ProductFolder other(5, L"type2.mdb");
    RunningProgram first(other.program());
    HWND window = MinimisedSetupWindow(first.id());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva), 1618u);
    EXPECT_TRUE(Logged("ERROR このプログラムは既に実行中です。")) << Log();
    EXPECT_TRUE(IsIconic(window)) << "the running instance was brought to the front";
    ExpectNothingWritten();
}

}  // namespace
}  // namespace selvane::testing
