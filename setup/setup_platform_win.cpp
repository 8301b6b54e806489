#include "setup/setup_platform_win.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/file_identity_win.h"
#include "platform/file_security_win.h"
#include "platform/program_path_win.h"
#include "platform/text_encoding.h"
#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

constexpr DWORD kBlockingAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

// GetWindowsDirectoryW and GetSystemDirectoryW answer alike.
Checked<std::string> Directory(decltype(&GetWindowsDirectoryW) get, const char* function) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = get(buffer, MAX_PATH);
    if (length == 0) return {{}, LastErrorFailure(function)};
    if (length >= MAX_PATH) return {{}, CallFailure{function, ERROR_FILENAME_EXCED_RANGE}};
    return {Narrow(std::wstring_view(buffer, length)), std::nullopt};
}

// Resolved, without one trailing backslash unless it makes a drive's root.
std::wstring Comparable(const std::string& path) {
    std::wstring resolved = ResolvedPath(Widen(path));
    if (resolved.ends_with(L'\\') && !resolved.ends_with(L":\\")) resolved.pop_back();
    return resolved;
}

CallResult WriteAll(const UniqueFile& file, std::string_view bytes) {
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return LastErrorFailure("WriteFile");
    }
    return std::nullopt;
}

// A file of the run's own beside the target, under a name as long as the
// target's (so that it fits wherever the target does) that no file has:
// made new, never opened over what stands there, nor through a link. The
// name ends in "~", else "~1" to "~99".
Checked<UniqueFile> CreateBeside(const std::wstring& target, std::wstring& name, DWORD access = GENERIC_WRITE) {
    CallResult failure;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring ending = L"~";
        if (attempt >= 10) ending += static_cast<wchar_t>(L'0' + attempt / 10);
        if (attempt > 0) ending += static_cast<wchar_t>(L'0' + attempt % 10);
        name = target.substr(0, target.size() - std::min(ending.size(), target.size() - 1)) + ending;
        auto file =
            CHECK_FILE(CreateFileW, name.c_str(), access, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file || (file.failure->code != ERROR_FILE_EXISTS && file.failure->code != ERROR_ALREADY_EXISTS)) {
            return file;
        }
        failure = file.failure;
    }
    return {UniqueFile(), failure};
}

// A file of the run's own beside the target, on the journal's record from
// its making until it is gone (or has taken the target's place): a run cut
// off meanwhile leaves it for the next start to remove, if it is still this file.
class CopyBeside {
public:
    CopyBeside(const std::wstring& target, DWORD access, RunJournal& journal) : journal_(journal) {
        file = CreateBeside(target, name, access);
        if (!file) return;
        recorded_ = Narrow(name);
        journal_.CopyMade(recorded_, IdentityOf(file.value.get()).value_or(FileIdentity{}).Text());
    }
    CopyBeside(const CopyBeside&) = delete;
    CopyBeside& operator=(const CopyBeside&) = delete;
    ~CopyBeside() {
        if (!recorded_.empty()) journal_.CopyGone(recorded_);
    }
    Checked<UniqueFile> file;
    std::wstring name;

private:
    RunJournal& journal_;
    std::string recorded_;
};

// Gives the open file the target's name, replacing what stands there (a
// file, or a link itself, never what it leads to).
CallResult RenameOver(const UniqueFile& file, const std::wstring& target) {
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(target.begin(), target.end(), rename->FileName);
    return CHECK_BOOL(SetFileInformationByHandle, file.get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()));
}

// A read-only, hidden or system file (an earlier run may have left one) is
// made plain, as itself: a link is not followed.
CallResult MakePlain(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILE_BASIC_INFO basic = {};
    if (!file || !GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & kBlockingAttributes)) {
        return std::nullopt;  // nothing there, or nothing to clear: the rename says the rest
    }
    const DWORD plain = basic.FileAttributes & ~kBlockingAttributes;
    basic.FileAttributes = plain ? plain : FILE_ATTRIBUTE_NORMAL;
    return CHECK_BOOL(SetFileInformationByHandle, file.get(), FileBasicInfo, &basic, sizeof basic);
}

class WindowsSetupPlatform final : public SetupPlatform {
public:
    Checked<std::string> WindowsDirectory() override {
        return Directory(GetWindowsDirectoryW, "GetWindowsDirectoryW");
    }

    Checked<std::string> SystemDirectory() override {
        return Directory(GetSystemDirectoryW, "GetSystemDirectoryW");
    }

    bool FitsCodePage(const std::string& text) override { return Utf8ToAnsi(text).has_value(); }

    PathProbe Probe(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return {PathKind::Missing, LastErrorFailure("GetFileAttributesW")};
        return {(attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File, {}};
    }

    bool NormalFileExists(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }

    bool IsProgram(const std::string& path) override {
        DWORD type = 0;
        return GetBinaryTypeW(Widen(path).c_str(), &type) != FALSE;
    }

    bool SamePath(const std::string& first, const std::string& second) override {
        return CompareStringOrdinal(Comparable(first).c_str(), -1, Comparable(second).c_str(), -1, TRUE) == CSTR_EQUAL;
    }

    Checked<FileState> ReadFile(const std::string& path) override {
        const std::wstring widePath = Widen(path);
        const DWORD attributes = GetFileAttributesW(widePath.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
            return {{}, CallFailure{"GetFileAttributesW", error}};
        }
        auto file = CHECK_FILE(CreateFileW, widePath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (!file) return {{}, file.failure};
        LARGE_INTEGER size = {};
        if (!GetFileSizeEx(file.value.get(), &size)) return {{}, LastErrorFailure("GetFileSizeEx")};
        FileState state{true, std::string(static_cast<std::size_t>(size.QuadPart), '\0'), attributes};
        DWORD read = 0;
        if (!state.bytes.empty() &&
            !::ReadFile(file.value.get(), state.bytes.data(), static_cast<DWORD>(state.bytes.size()), &read, nullptr)) {
            return {{}, LastErrorFailure("ReadFile")};
        }
        state.bytes.resize(read);
        return {std::move(state), std::nullopt};
    }

    CallResult RestoreFile(const std::string& path, const FileState& state, RunJournal& journal) override {
        const std::wstring target = Widen(path);
        if (!state.exists) {
            if (DeleteFileW(target.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return std::nullopt;
            return LastErrorFailure("DeleteFileW");
        }
        // Written beside the file, flushed, and only then put in its place: a
        // crash meanwhile leaves the file whole, one way or the other.
        CopyBeside besideCopy(target, GENERIC_WRITE, journal);
        auto& copy = besideCopy.file;
        const std::wstring& beside = besideCopy.name;
        if (!copy) return copy.failure;
        CallResult written = WriteAll(copy.value, state.bytes);
        if (!written && !FlushFileBuffers(copy.value.get())) written = LastErrorFailure("FlushFileBuffers");
        if (!written && !CloseHandle(copy.value.release())) written = LastErrorFailure("CloseHandle");
        if (written) {
            copy.value.reset();
            DeleteFileW(beside.c_str());
            return written;
        }
        // ReplaceFileW keeps the file's security and identity; a file gone
        // meanwhile is made anew from the copy.
        if (!ReplaceFileW(target.c_str(), beside.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            const char* failed = "ReplaceFileW";
            bool moved = false;
            if (GetLastError() == ERROR_FILE_NOT_FOUND) {
                failed = "MoveFileExW";
                moved = MoveFileExW(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            }
            if (!moved) {
                const CallFailure failure = LastErrorFailure(failed);
                DeleteFileW(beside.c_str());
                return failure;
            }
        }
        return CHECK_BOOL(SetFileAttributesW, target.c_str(),
                          state.attributes ? state.attributes : FILE_ATTRIBUTE_NORMAL);
    }

    Checked<bool> RemoveIfIdentical(const std::string& path, const std::string& identity) override {
        // Opened as itself (a link is not followed) and deleted through the same handle: the file compared.
        auto file = CHECK_FILE(CreateFileW, Widen(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (!file) {
            const bool gone = file.failure->code == ERROR_FILE_NOT_FOUND || file.failure->code == ERROR_PATH_NOT_FOUND;
            return {false, gone ? CallResult() : file.failure};
        }
        const auto found = IdentityOf(file.value.get());
        if (!found || found->Text() != identity) return {false, std::nullopt};
        FILE_DISPOSITION_INFO disposition = {TRUE};
        if (!SetFileInformationByHandle(file.value.get(), FileDispositionInfo, &disposition, sizeof disposition)) {
            return {false, LastErrorFailure("SetFileInformationByHandle")};
        }
        return {true, std::nullopt};
    }

    CallResult WriteProfileEntry(const std::string& file, const std::string& section,
                                 const std::optional<std::string>& key,
                                 const std::optional<std::string>& value) override {
        // Through the ANSI function, as the product's other programs read the
        // files; a text the code page cannot hold is refused, never written as "?".
        const auto ansiFile = Utf8ToAnsi(file);
        const auto ansiSection = Utf8ToAnsi(section);
        const auto ansiKey = Utf8ToAnsi(key.value_or(""));
        const auto ansiValue = Utf8ToAnsi(value.value_or(""));
        if (!ansiFile || !ansiSection || !ansiKey || !ansiValue) {
            return CallFailure{"WideCharToMultiByte", ERROR_NO_UNICODE_TRANSLATION};
        }
        return CHECK_BOOL(WritePrivateProfileStringA, ansiSection->c_str(), key ? ansiKey->c_str() : nullptr,
                          value ? ansiValue->c_str() : nullptr, ansiFile->c_str());
    }

    CallResult WriteOwnFile(const std::string& path, std::string_view bytes, RunJournal& journal) override {
        const std::wstring target = Widen(path);
        CopyBeside copy(target, GENERIC_WRITE | DELETE, journal);
        auto& file = copy.file;
        if (!file) return file.failure;
        CallResult failure = WriteAll(file.value, bytes);
        if (!failure && !FlushFileBuffers(file.value.get())) failure = LastErrorFailure("FlushFileBuffers");
        if (!failure) failure = MakePlain(target);
        if (!failure) failure = RenameOver(file.value, target);
        if (failure) {
            FILE_DISPOSITION_INFO disposition = {TRUE};
            SetFileInformationByHandle(file.value.get(), FileDispositionInfo, &disposition, sizeof disposition);
            return failure;
        }
        const auto written = IdentityOf(file.value.get());
        file.value.reset();
        // Others may only read it from here on. Meanwhile, the folder's
        // permissions (checked) let nobody else at the file, and the identity
        // shows that nothing took its place.
        auto held = CHECK_FILE(CreateFileW, target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (!held) return held.failure;
        if (!written || IdentityOf(held.value.get()) != written) {
            return CallFailure{"GetFileInformationByHandle", ERROR_FILE_INVALID};
        }
        held_.push_back(std::move(held.value));
        return std::nullopt;
    }

    Checked<HeldShape> HoldToWrite(const std::string& path, bool createMissing) override {
        const std::wstring wide = Widen(path);
        constexpr DWORD kOthersReadAndWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
        HeldShape shape;
        auto file = CHECK_FILE(CreateFileW, wide.c_str(), GENERIC_READ, kOthersReadAndWrite, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        const DWORD error = file ? ERROR_SUCCESS : file.failure->code;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            if (!createMissing) return {{}, std::nullopt};
            file = CHECK_FILE(CreateFileW, wide.c_str(), GENERIC_READ, kOthersReadAndWrite, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
            shape.created = file.failure == std::nullopt;
        }
        if (!file) return {{}, file.failure};
        BY_HANDLE_FILE_INFORMATION information = {};
        if (!GetFileInformationByHandle(file.value.get(), &information)) {
            return {{}, LastErrorFailure("GetFileInformationByHandle")};
        }
        shape.links = information.nNumberOfLinks;
        shape.isReparsePoint = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        held_.push_back(std::move(file.value));
        return {shape, std::nullopt};
    }

    Checked<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                       const std::string& currentDirectory, bool willWait,
                                       bool skipCurrentFolder) override {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        std::wstring mutableCommandLine = Widen(commandLine);
        const std::wstring directory = Widen(currentDirectory);
        // The program inherits this process's environment: the variable is
        // there for this start only, unless the administrator had set it.
        constexpr wchar_t kSkipCurrentFolder[] = L"NoDefaultCurrentDirectoryInExePath";
        const bool setHere = skipCurrentFolder && !GetEnvironmentVariableW(kSkipCurrentFolder, nullptr, 0);
        if (setHere) SetEnvironmentVariableW(kSkipCurrentFolder, L"1");
        // CREATE_NO_WINDOW keeps cmd.exe from opening a console window at all.
        const BOOL created = CreateProcessW(Widen(program).c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                                            CREATE_NO_WINDOW, nullptr, directory.empty() ? nullptr : directory.c_str(),
                                            &startup, &process);
        const CallFailure failure = LastErrorFailure("CreateProcessW");
        if (setHere) SetEnvironmentVariableW(kSkipCurrentFolder, nullptr);
        if (!created) return {0, failure};
        UniqueHandle thread(process.hThread);
        UniqueHandle handle(process.hProcess);
        if (willWait) awaited_.emplace_back(process.dwProcessId, std::move(handle));
        return {process.dwProcessId, std::nullopt};
    }

    CallResult HoldUnchanged(const std::string& path) override {
        // Reading shared: cmd.exe and CreateProcess still read what they start.
        auto file = CHECK_FILE(CreateFileW, Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (!file) return file.failure;
        heldPrograms_.emplace_back(path, std::move(file.value));
        return std::nullopt;
    }

    bool IsHeldFile(const std::string& path) override {
        const auto held = std::find_if(heldPrograms_.begin(), heldPrograms_.end(),
                                       [&](const auto& program) { return program.first == path; });
        if (held == heldPrograms_.end()) return false;
        const auto identity = IdentityOf(held->second.get());
        return identity && IdentityOfPath(Widen(path)) == identity;
    }

    Checked<SecurityDescriptor> SecurityOf(const std::string& path) override { return SecurityOfObject(Widen(path)); }

    Checked<std::string> FinalPathOf(const std::string& path) override {
        const auto final = FinalPath(Widen(path));
        return {Narrow(final.value), final.failure};
    }

    Checked<std::vector<FolderEntryInfo>> FolderEntries(const std::string& folder) override {
        const auto found = FolderEntryList(Widen(folder));
        Checked<std::vector<FolderEntryInfo>> entries{{}, found.failure};
        for (const auto& [name, attributes] : found.value) {
            entries.value.push_back({Narrow(name), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                     (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        }
        return entries;
    }

    std::string ProgramExtensions() override {
        wchar_t extensions[1024] = {};
        const DWORD length = GetEnvironmentVariableW(L"PATHEXT", extensions, 1024);
        return length < 1024 ? Narrow(std::wstring_view(extensions, length)) : std::string();
    }

    // As the system's membership functions say; each account asked of once.
    Trust TrustOf(const std::string& sid) override {
        if (const auto placed = placed_.find(sid); placed != placed_.end()) return placed->second;
        const auto administrator = IsOwnAccountOrAdministrator(Widen(sid));
        return placed_[sid] = !administrator ? Trust::Unknown : *administrator ? Trust::Trusted : Trust::Untrusted;
    }

    std::pair<std::string, std::string> AccountNames(const std::string& sid) override {
        const auto names = NamesOfAccount(Widen(sid));
        return {Narrow(names.name), Narrow(names.sid)};
    }

    Checked<unsigned long> WaitForExit(unsigned long processId) override {
        const auto found = std::find_if(awaited_.begin(), awaited_.end(),
                                        [&](const auto& started) { return started.first == processId; });
        if (found == awaited_.end()) return {0, CallFailure{"WaitForExit", ERROR_INVALID_HANDLE}};
        const UniqueHandle process = std::move(found->second);
        awaited_.erase(found);
        // Window input goes on being handled while the program runs.
        const HANDLE handles[] = {process.get()};
        for (;;) {
            const DWORD woken = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
            if (woken == WAIT_OBJECT_0) break;
            if (woken == WAIT_FAILED) return {0, LastErrorFailure("MsgWaitForMultipleObjects")};
            ProcessPendingEvents();
        }
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(process.get(), &exitCode)) return {0, LastErrorFailure("GetExitCodeProcess")};
        return {exitCode, std::nullopt};
    }

    void ProcessPendingEvents() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Left for the main loop, which ends on it.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    void Pause(std::chrono::milliseconds duration) override {
        // Gives the processor away, waking early for window input.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(duration.count()), QS_ALLINPUT);
    }

    std::chrono::steady_clock::time_point Now() override {
        // The system's own monotonic count: the library's steady_clock would
        // bring its exception tables along.
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(GetTickCount64()));
    }

    void ReleaseHeld() override {
        held_.clear();
        heldPrograms_.clear();
    }

private:
    std::vector<std::pair<unsigned long, UniqueHandle>> awaited_;  // processes the run will wait for
    std::vector<std::pair<std::string, UniqueFile>> heldPrograms_;  // the programs it starts, checked
    std::vector<UniqueFile> held_;                                   // the files it writes
    std::map<std::string, Trust> placed_;
};

}  // namespace

std::unique_ptr<SetupPlatform> MakeWindowsSetupPlatform() { return std::make_unique<WindowsSetupPlatform>(); }

}  // namespace selvane
