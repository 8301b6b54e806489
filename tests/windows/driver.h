#pragma once

// Drives the real program from outside: lays out a product folder, starts
// the program there, finds its windows and reads them.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace selvane::testing {

using namespace std::chrono_literals;

// How long to wait for something the program does: the given time, times
// SELVANE_PATIENCE when it is set (the 32-bit release under emulation takes
// several seconds to start, more on a busy machine).
std::chrono::milliseconds Patience(std::chrono::milliseconds normal);

// A Linux path handed in by the build becomes the Windows path Wine maps it to.
std::wstring WindowsPath(const std::string& path);
std::wstring ProgramUnderTest();
std::wstring SampleDatabase(const std::wstring& name);

// C:\selvane-tests\pN: the program copied in, an ORNA.mdb when asked for.
// The harness maps the ORNA.mdb of p1..p40 for mdbtools.
class ProductFolder {
public:
    explicit ProductFolder(int number, const std::wstring& sample = L"");
    explicit ProductFolder(const std::wstring& path, const std::wstring& sample = L"");
    ~ProductFolder();
    ProductFolder(const ProductFolder&) = delete;
    ProductFolder& operator=(const ProductFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring program() const { return path_ + L"\\selvane-init.exe"; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Starts the image with this command line passed through unchanged, as
// Windows' CreateProcess passes an unquoted path with blanks (Wine's
// CreateProcessW would quote it).
PROCESS_INFORMATION StartWithCommandLineAsGiven(const std::wstring& image, const std::wstring& commandLine,
                                                const std::wstring& currentDirectory);

class RunningProgram {
public:
    // With an output file, the program's standard output goes there, as a
    // script's redirection would send it.
    explicit RunningProgram(const std::wstring& program, const std::wstring& currentDirectory = L"",
                            const std::wstring& arguments = L"", const std::wstring& outputFile = L"");
    // A process started some other way; this one owns its handles now.
    explicit RunningProgram(const PROCESS_INFORMATION& started) : info_(started) {}
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    bool Running() const;
    // The exit code, or nothing when it still runs after the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = Patience(20s));

private:
    PROCESS_INFORMATION info_ = {};
};

// Runs a Unix command on a file, "chmod o+w" or "chown 1234", through Wine's
// start /unix: Wine makes a file's owner and DACL from its Unix owner and
// mode (o+w lets Everyone write; another uid is another owner), and keeps
// no DACL a program sets. Returns once the file's owner and DACL show the
// change (Wine's start /wait /unix does not wait for a Unix program); false
// where it could not be run, or they do not change within the patience.
bool ChangeOnUnixSide(const std::wstring& command, const std::wstring& path);

// Polls until the condition holds or the timeout passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = Patience(20s));

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true);
HWND FindWindowOf(DWORD processId, const std::wstring& className,
                  std::chrono::milliseconds timeout = Patience(20s));
HWND FindSetupWindow(DWORD processId, std::chrono::milliseconds timeout = Patience(20s));
HWND FindMessageBox(DWORD processId, std::chrono::milliseconds timeout = Patience(20s));
// The program's setup window once it is minimised, or null.
HWND MinimisedSetupWindow(DWORD processId);

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// A window's rectangle relative to another window's client area.
RECT RectIn(HWND window, HWND reference);
HWND FocusOf(HWND window);

struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
    bool informationIcon = false;
    bool errorIcon = false;
};
// Once the box has its caption, buttons and icon on the screen: a slow
// program shows the box a while before it is filled in.
MessageBoxContent ReadMessageBox(HWND box);
void CloseMessageBox(HWND box);

// True when the screen shows the given stock icon in the icon control.
bool ShowsStockIcon(HWND iconControl, LPCWSTR stockIcon);

}  // namespace selvane::testing
