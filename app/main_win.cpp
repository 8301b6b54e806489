#include <windows.h>

#include <string>

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/frm_init_win.h"
#include "app/log_file_win.h"
#include "app/messages.h"
#include "app/program_end_win.h"
#include "app/program_names.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "app/text_fill.h"
#include "app/unattended.h"
#include "app/window_run.h"
#include "platform/dll_hardening_win.h"
#include "platform/folder_path.h"
#include "platform/message_box_win.h"
#include "platform/parent_console_win.h"
#include "platform/program_arguments_win.h"
#include "platform/program_path_win.h"
#include "platform/wide_text_win.h"
#include "setup/setup_checks.h"
#include "setup/setup_platform_win.h"
#include "setup/setup_run.h"
#include "version.h"

namespace selvane {
namespace {

// The one line a run leaves on the console it was started from.
void PrintSummary(const std::string& what, int exitCode, const std::string& logPath) {
    PrintToParentConsole(Fill(logPath.empty() ? messages::kConsoleSummaryNoLog : messages::kConsoleSummary,
                              {OneLine(what), std::to_string(exitCode), logPath}) +
                         "\n");
}

ServerTypeReading ReadServerTypeNoted(const std::string& appFolder) {
    ServerTypeReading reading = ReadServerType(appFolder);
    // An unreadable database lets the setup go on; without a log, a debugger
    // still sees why.
    if (!reading.type) OutputDebugStringW(Widen(Fill(messages::kLogServerTypeUnread, {reading.failure})).c_str());
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
int RunWindow(HINSTANCE instance, int showCommand, const SetupRequest& base, AppLog& log) {
    SetupWindowHost host(log);
    WindowRun run(host, log);
    // A failure the run is told of ends the program; the returns only say so.
    const auto single = SingleInstance::Claim(kInstanceMutexName);
    if (!single) {
        run.UnexpectedFailure(*single.failure);
        return exit_codes::kWindowRunFailed;
    }
    auto application = ApplicationWindow::Create(instance, kApplicationWindowClass, kAppTitle);
    if (!application) {
        run.UnexpectedFailure(*application.failure);
        return exit_codes::kWindowRunFailed;
    }
    if (!run.ServerTypeRead(ReadServerTypeNoted(base.appFolder))) return exit_codes::kSuccess;
    FrmInit form(instance, single.value, application.value, base, log, run, host);
    if (auto failure = form.Load()) {
        run.UnexpectedFailure(*failure);
        return exit_codes::kWindowRunFailed;
    }
    form.Show(showCommand);
    return RunMessageLoop(form);
}

class WindowsUnattendedHost : public UnattendedHost {
public:
    WindowsUnattendedHost(const SingleInstance& single, std::string appFolder)
        : single_(single), appFolder_(std::move(appFolder)) {}
    bool AnotherInstanceRunning() override { return single_.AnotherIsRunning(); }
    ServerTypeReading ReadServerType() override { return selvane::ReadServerType(appFolder_); }

private:
    const SingleInstance& single_;
    std::string appFolder_;
};

int RunSilent(const Switches& switches, const SetupRequest& base, AppLog& log) {
    // Held for the whole run.
    const auto single = SingleInstance::Claim(kInstanceMutexName);
    UnattendedResult result;
    if (!single) {
        result = {exit_codes::kRunFailed, std::string(single.failure->function) + ": " + single.failure->reason};
        log.Error(result.summary);
    } else {
        WindowsUnattendedHost host(single.value, base.appFolder);
        WindowsSetupPlatform platform;
        result = RunUnattended(switches, base, host, platform, log);
    }
    PrintSummary(result.summary, result.exitCode, base.logFile);
    return result.exitCode;
}

// The log a run asks for, checked against the run's own files as far as
// they are known now: a window run learns its folder only at Complete.
std::optional<SetupFailure> LogFileRefusal(const SetupRequest& base, const Switches& switches) {
    WindowsSetupPlatform platform;
    SetupRequest request = base;
    request.folderBoxText = switches.dir.value_or("");
    SetupPaths paths;
    if (PlanRun(platform, request, paths)) return std::nullopt;  // the run itself will say why
    return CheckLogFile(platform, request, paths);
}

int Run(HINSTANCE instance, int showCommand, AppLog& log) {
    const ParsedSwitches parsed = ParseSwitches(ProgramArguments());
    const Switches& switches = parsed.switches;
    if (switches.help) {
        if (!PrintToParentConsole(messages::kUsage) && !switches.silent && !switches.verify) {
            ShowInformation(nullptr, kAppTitle, messages::kUsage);
        }
        return exit_codes::kSuccess;
    }
    // /VERIFY shows nothing either, with or without /VERYSILENT.
    const bool silent = (switches.silent || switches.verify) && !parsed.error;
    const auto program = ProgramPath();
    if (!program) {
        const std::string text = std::string(messages::kUnexpectedFailure) + "\n\n" + program.failure->function +
                                 ": " + program.failure->reason;
        if (silent) {
            PrintSummary(text, exit_codes::kRunFailed, {});
            return exit_codes::kRunFailed;
        }
        ShowFailure(nullptr, kAppTitle, text);
        return exit_codes::kWindowRunFailed;
    }
    SetupRequest base;
    base.programFile = Narrow(program.value);
    base.appFolder = FolderOfFile(base.programFile);

    // A silent run always keeps a log; a refused command line too, so that a
    // deployment tool's typo leaves its reason somewhere.
    std::string& logPath = base.logFile;
    if (silent || parsed.error || switches.log) {
        logPath = switches.log.value_or(JoinPath(base.appFolder, kDefaultLogName));
        // Never into a file the run writes or starts: not even a first line.
        if (auto refusal = LogFileRefusal(base, switches)) {
            PrintSummary(DescribeFailure(*refusal), exit_codes::kInvalidCommandLine, {});
            return exit_codes::kInvalidCommandLine;
        }
        auto sink = OpenLogFile(logPath);
        if (sink) {
            log = AppLog(std::move(sink.value), LocalLogTime, GetCurrentProcessId());
            log.Info(Fill(messages::kLogStarted, {SELVANE_VERSION_TEXT, Narrow(GetCommandLineW())}));
        } else if (!parsed.error) {  // a refused command line is told of without a log
            const std::string text = Fill(messages::kLogNotOpened, {logPath, sink.failure->reason});
            PrintSummary(text, exit_codes::kLogUnavailable, {});
            if (!silent) ShowFailure(nullptr, kAppTitle, text);
            return exit_codes::kLogUnavailable;
        }
    }
    if (parsed.error) {
        log.Error(*parsed.error);
        PrintSummary(*parsed.error, exit_codes::kInvalidCommandLine, logPath);
        return exit_codes::kInvalidCommandLine;
    }
    return silent ? RunSilent(switches, base, log) : RunWindow(instance, showCommand, base, log);
}

}  // namespace
}  // namespace selvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: odbc32 and comctl32 are delay-loaded.
    selvane::RestrictDllSearchToSystemDirectory();
    selvane::AppLog log;
    selvane::EndProgram(log, selvane::Run(instance, showCommand, log));
}
