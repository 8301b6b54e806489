#include <windows.h>

#include <string>

#include "app/records_win.h"
#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/frm_init_win.h"
#include "app/messages.h"
#include "app/program_names.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "app/text_fill.h"
#include "app/unattended.h"
#include "app/window_run.h"
#include "platform/folder_path.h"
#include "platform/parent_console_win.h"
#include "platform/program_path_win.h"
#include "platform/system_functions_win.h"
#include "platform/wide_text_win.h"
#include "setup/setup_platform_win.h"
#include "version.h"

namespace selvane {
namespace {

// The program lies in the product's folder, which others may be able to
// write: from here on DLLs are looked up in the system directory only, never
// beside the program or in the current directory.
void RestrictDllSearchToSystemDirectory() {
#ifndef SELVANE_NO_DLL_HARDENING
    const auto setDefaultDllDirectories = LookUpSystemFunctions().SetDefaultDllDirectories;
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryW(L"");
#endif
}

// The one line a run leaves on the console it was started from.
void PrintSummary(const std::string& what, int exitCode, const std::string& logPath) {
    PrintToParentConsole(Fill(logPath.empty() ? messages::kConsoleSummaryNoLog : messages::kConsoleSummary,
                              {OneLine(what), std::to_string(exitCode), logPath}) +
                         "\n");
}

// The end of an unattended run, or of a command line refused: the log, the
// console and the event log say the same.
int Finish(const UnattendedResult& result, const Switches& switches, const ProgramFiles& files, AppLog& log) {
    PrintSummary(result.summary, result.exitCode, files.log);
    const std::string kevaFolder = RemoveOneTrailingBackslash(switches.dir.value_or(""));
    ReportRunEvent({result.event, result.summary, result.exitCode, kevaFolder}, files, log);
    return result.exitCode;
}

// Every file a run writes or starts, as the run's plan names them (KEVA's
// settings file in its folder only where /DIR names it, by its name alone
// otherwise), the product database, and the program itself.
std::vector<std::string> RunFiles(const Switches& switches, const std::string& appFolder, const std::string& program) {
    WindowsSetupPlatform platform;
    const RunPlan plan = PlanSetupRun(switches.dir.value_or(""), appFolder, platform.WindowsDirectory().value,
                                      platform.SystemDirectory().value);
    std::vector<std::string> runFiles{plan.batchFile, plan.installer, JoinPath(appFolder, kDatabaseFileName), program};
    for (const RunFileSteps& row : kRunFileSteps) runFiles.push_back(plan.PathOf(row.file));
    return runFiles;
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
int WindowMain(HINSTANCE instance, int showCommand, const SetupRequest& base, const ProgramFiles& files, AppLog& log) {
    SetupWindowHost host(log, files);
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
    if (!run.ServerTypeRead(ReadServerType(base.appFolder))) return exit_codes::kSuccess;
    FrmInit form(instance, single.value, application.value, base, log, run, host);
    if (auto failure = form.Load()) {
        run.UnexpectedFailure(*failure);
        return exit_codes::kWindowRunFailed;
    }
    form.Show(showCommand);
    return RunMessageLoop(form);
}

int UnattendedMain(const Switches& switches, const SetupRequest& base, const ProgramFiles& files, AppLog& log) {
    // Held for the whole run.
    const auto single = SingleInstance::Claim(kInstanceMutexName);
    if (!single) {
        const std::string why = CallText(*single.failure);
        log.Error(why);
        return Finish({exit_codes::kRunFailed, why, EventKind::Failed}, switches, files, log);
    }
    const bool another = single.value.AnotherIsRunning();
    WindowsSetupPlatform platform;
    return Finish(RunUnattended(switches, base, another, another ? ServerTypeReading{} : ReadServerType(base.appFolder),
                                platform, log),
                  switches, files, log);
}

int Run(HINSTANCE instance, int showCommand, AppLog& log) {
    const ParsedSwitches parsed = ParseSwitches(ProgramArguments());
    const Switches& switches = parsed.switches;
    if (switches.help) {
        if (!PrintToParentConsole(messages::kUsage) && switches.Traits().showsWindow) {
            ShowAppMessage(nullptr, messages::kUsage, MessageIcon::Information);
        }
        return exit_codes::kSuccess;
    }
    const bool silent = !parsed.ShowsWindow();
    const auto program = ProgramPath();
    if (!program) {
        const std::string text = UnexpectedFailureText(*program.failure);
        if (silent) {
            PrintSummary(text, exit_codes::kRunFailed, {});
            return exit_codes::kRunFailed;
        }
        ShowAppMessage(nullptr, text, MessageIcon::Error);
        return exit_codes::kWindowRunFailed;
    }
    ProgramFiles files{Narrow(program.value), FolderOfFile(Narrow(program.value)), {}};
    SetupRequest base;
    base.appFolder = files.appFolder;
    const EventKind refused = switches.Traits().recordsEvent ? EventKind::Refused : EventKind::None;

    // /VERIFY, which detection runs every few hours, answers without a log
    // all the same (its console line says why it refused).
    if (parsed.KeepsLog()) {
        const std::string logPath = switches.log.value_or(JoinPath(files.appFolder, kDefaultLogName));
        // Never into a file the run writes or starts: not even a first line.
        const auto runFiles = RunFiles(switches, files.appFolder, Narrow(ResolvedPath(program.value)));
        if (NamesARunFile(Narrow(ResolvedPath(Widen(logPath))), runFiles)) {
            return Finish({exit_codes::kInvalidCommandLine, Fill(messages::kLogIsRunFile, {logPath}), refused},
                          switches, files, log);
        }
        std::string sameAs;
        auto sink = OpenLogFile(logPath, runFiles, sameAs);
        if (!sameAs.empty()) {
            const std::string why = Fill(messages::kLogIsRunFileByLink, {logPath, sameAs});
            return Finish({exit_codes::kInvalidCommandLine, why, refused}, switches, files, log);
        }
        if (sink) {
            files.log = logPath;
            log = AppLog(std::move(sink.value), LocalLogTime, GetCurrentProcessId());
            log.Info(Fill(messages::kLogStarted, {SELVANE_VERSION_TEXT, Narrow(GetCommandLineW())}));
        } else if (!parsed.error && switches.mode != RunMode::Verify) {
            const std::string text =
                Fill(messages::kLogNotOpened, {logPath, SystemErrorText(sink.failure->code)});
            if (!silent) {
                PrintSummary(text, exit_codes::kLogUnavailable, {});
                ShowAppMessage(nullptr, text, MessageIcon::Error);
                return exit_codes::kLogUnavailable;
            }
            return Finish({exit_codes::kLogUnavailable, text, refused}, switches, files, log);
        }
    }
    if (parsed.error) {
        log.Error(*parsed.error);
        return Finish({exit_codes::kInvalidCommandLine, *parsed.error, refused}, switches, files, log);
    }
    return silent ? UnattendedMain(switches, base, files, log) : WindowMain(instance, showCommand, base, files, log);
}

}  // namespace
}  // namespace selvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: odbc32 and comctl32 are delay-loaded.
    selvane::RestrictDllSearchToSystemDirectory();
    selvane::AppLog log;
    selvane::EndProgram(log, selvane::Run(instance, showCommand, log));
}
