#include <windows.h>

#include <cstdlib>
#include <exception>
#include <vector>

#include "app/app_title.h"
#include "app/exit_codes.h"
#include "app/frm_init_win.h"
#include "app/log_file_win.h"
#include "app/messages.h"
#include "app/program_end_win.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "app/text_fill.h"
#include "app/unattended.h"
#include "platform/dll_hardening_win.h"
#include "platform/folder_path.h"
#include "platform/message_box_win.h"
#include "platform/parent_console_win.h"
#include "platform/program_arguments_win.h"
#include "platform/program_folder_win.h"
#include "platform/wide_text_win.h"
#include "setup/setup_platform_win.h"
#include "version.h"

namespace selvane {
namespace {

constexpr char kDefaultLogName[] = "selvane-init.log";

ServerTypeReading ReadServerTypeLogged(const std::string& appFolder, AppLog& log) {
    ServerTypeReading reading = ReadServerType(appFolder);
    log.ServerTypeRead(reading);
    // An unreadable database lets the setup go on; without a log, a debugger
    // still sees why.
    if (!reading.type) OutputDebugStringW(Widen("Selvane: ORNA.mdb not read: " + reading.failure + "\n").c_str());
    return reading;
}

int RunMessageLoop(const FrmInit& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, the access keys and Space on the buttons work as in a dialog.
        if (form.hwnd() && IsDialogMessageW(form.hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// The setup window, as the program has always run.
int RunWindow(HINSTANCE instance, int showCommand, const std::string& appFolder, AppLog& log) {
    const SingleInstance single;
    ApplicationWindow application(instance, kAppTitle);
    if (!PassesServerTypeCheck(ReadServerTypeLogged(appFolder, log))) {
        log.Error(messages::kUnsupportedServer);
        ShowInformation(nullptr, kAppTitle, messages::kUnsupportedServer);
        return exit_codes::kSuccess;
    }
    FrmInit form(instance, single, application, appFolder, log);
    form.Load();
    form.Show(showCommand);
    return RunMessageLoop(form);
}

class WindowsUnattendedHost : public UnattendedHost {
public:
    explicit WindowsUnattendedHost(std::string appFolder) : appFolder_(std::move(appFolder)) {}
    bool AnotherInstanceRunning() override { return single_.AnotherIsRunning(); }
    ServerTypeReading ReadServerType() override { return selvane::ReadServerType(appFolder_); }

private:
    const SingleInstance single_;  // held for the whole run
    std::string appFolder_;
};

int RunSilent(const Switches& switches, const std::string& appFolder, const std::string& logPath, AppLog& log) {
    WindowsUnattendedHost host(appFolder);
    WindowsSetupPlatform platform;
    const UnattendedResult result = RunUnattended(switches, appFolder, host, platform, log);
    PrintToParentConsole(Fill(messages::kConsoleSummary, {result.summary, std::to_string(result.exitCode), logPath}) +
                         "\n");
    return result.exitCode;
}

// Opens the log a run asks for; false, after saying why, when it cannot be opened.
bool OpenLog(const ParsedSwitches& parsed, const std::string& logPath, AppLog& log) {
    std::string why;
    auto sink = OpenLogFile(logPath, why);
    if (!sink && !parsed.error) {
        const std::string text = Fill(messages::kLogNotOpened, {logPath, why});
        if (!PrintToParentConsole(text + "\n") && !parsed.switches.silent) ShowFailure(nullptr, kAppTitle, text);
        return false;
    }
    if (sink) log = AppLog(std::move(sink), LocalLogTime);
    log.Info(Fill(messages::kLogStarted, {SELVANE_VERSION_TEXT, Narrow(GetCommandLineW())}));
    return true;
}

int Main(HINSTANCE instance, int showCommand) {
    const ParsedSwitches parsed = ParseSwitches(ProgramArguments());
    const Switches& switches = parsed.switches;
    const bool silent = switches.silent && !parsed.error;
    if (switches.help) {
        if (!PrintToParentConsole(messages::kUsage) && !switches.silent) {
            ShowInformation(nullptr, kAppTitle, messages::kUsage);
        }
        return exit_codes::kSuccess;
    }

    AppLog log;
    try {
        const std::string appFolder = ProgramFolder();
        // A silent run always keeps a log; a refused command line too, so
        // that a deployment tool's typo leaves its reason somewhere.
        std::string logPath;
        if (silent || parsed.error || switches.log) {
            logPath = switches.log.value_or(JoinPath(appFolder, kDefaultLogName));
            if (!OpenLog(parsed, logPath, log)) return exit_codes::kLogUnavailable;
        }
        if (parsed.error) {
            log.Error(*parsed.error);
            PrintToParentConsole(*parsed.error + "\n");
        }
        const int exitCode = parsed.error ? exit_codes::kInvalidCommandLine
                             : silent     ? RunSilent(switches, appFolder, logPath, log)
                                          : RunWindow(instance, showCommand, appFolder, log);
        log.Info(Fill(messages::kLogExit, {std::to_string(exitCode)}));
        return exitCode;
    } catch (const std::exception& error) {
        const std::string text = std::string(messages::kUnexpectedFailure) + "\n\n" + error.what();
        log.Error(text);
        if (silent) {
            PrintToParentConsole(OneLine(text) + "\n");
            EndProgram(log, exit_codes::kRunFailed);
        }
        ShowFailure(nullptr, kAppTitle, text);
        EndProgram(log, exit_codes::kWindowRunFailed);
    }
}

}  // namespace
}  // namespace selvane

#if defined(__GLIBCXX__)
// libstdc++'s default terminate handler prints the exception's demangled
// type, which links in the whole demangler. Every exception is caught in a
// handler and shown to the user, so a plain abort is all that is needed.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: odbc32 and comctl32 are delay-loaded.
    selvane::RestrictDllSearchToSystemDirectory();
    return selvane::Main(instance, showCommand);
}
