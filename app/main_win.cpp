#include <windows.h>

#include <optional>
#include <string>

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/frm_init_win.h"
#include "app/messages.h"
#include "app/program_names.h"
#include "app/records_win.h"
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

// Every file a run writes or starts, as the run's plan names them (KEVA's
// settings file in its folder only where /DIR names it, by its name alone
// otherwise), the product database, and the program itself.
std::vector<std::string> RunFiles(const Switches& switches, const std::string& appFolder, const std::string& program) {
    const auto platform = MakeWindowsSetupPlatform();
    const RunPlan plan = PlanSetupRun(switches.dir.value_or(""), appFolder, platform->WindowsDirectory().value,
                                      platform->SystemDirectory().value);
    std::vector<std::string> runFiles{JoinPath(appFolder, kDatabaseFileName), program};
    for (const PlannedProgram& started : plan.programs) runFiles.push_back(started.file);
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
int WindowMain(HINSTANCE instance, int showCommand, RunRecords& records) {
    SetupWindowHost host;
    WindowRun run(host, records);
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
    if (!run.ServerTypeRead(ReadServerType(records.Files().appFolder))) return exit_codes::kSuccess;
    FrmInit form(instance, single.value, application.value, run);
    if (auto failure = form.Load()) {
        run.UnexpectedFailure(*failure);
        return exit_codes::kWindowRunFailed;
    }
    run.LastRunLooked(*MakeWindowsSetupPlatform());
    host.SetOwner(form.hwnd());
    form.Show(showCommand);
    return RunMessageLoop(form);
}

int UnattendedMain(const Switches& switches, WindowsRunRecords& records) {
    // Held for the whole run.
    const auto single = SingleInstance::Claim(kInstanceMutexName);
    if (!single) {
        const std::string why = CallText(*single.failure);
        records.Log().Error(why);
        return records.Finish(switches, {EventKind::Failed, why, exit_codes::kRunFailed, {}});
    }
    const bool another = single.value.AnotherIsRunning();
    const std::string& appFolder = records.Files().appFolder;
    const ServerTypeReading serverType = another ? ServerTypeReading{} : ReadServerType(appFolder);
    return records.Finish(switches, RunUnattended(switches, another, serverType, *MakeWindowsSetupPlatform(), records));
}

// Opens the log the run keeps; a refusal (the log is one of the run's files)
// or a failure the run cannot go on from is the run's end.
std::optional<int> OpenRunLog(const ParsedSwitches& parsed, const std::wstring& program, WindowsRunRecords& records) {
    const Switches& switches = parsed.switches;
    const std::string& appFolder = records.Files().appFolder;
    const auto refuse = [&](int exitCode, const std::string& why) {
        return records.Finish(switches, {EventKind::Refused, why, exitCode, {}});
    };
    const std::string logPath = switches.log.value_or(JoinPath(appFolder, kDefaultLogName));
    // Never into a file the run writes or starts: not even a first line.
    const auto runFiles = RunFiles(switches, appFolder, Narrow(ResolvedPath(program)));
    if (NamesARunFile(Narrow(ResolvedPath(Widen(logPath))), runFiles)) {
        return refuse(exit_codes::kInvalidCommandLine, Fill(messages::kLogIsRunFile, {logPath}));
    }
    std::string sameAs;
    auto sink = OpenLogFile(logPath, runFiles, sameAs);
    if (!sameAs.empty()) {
        return refuse(exit_codes::kInvalidCommandLine, Fill(messages::kLogIsRunFileByLink, {logPath, sameAs}));
    }
    if (sink) {
        records.KeepLog(std::move(sink.value), logPath);
        return std::nullopt;
    }
    // /VERIFY, which detection runs every few hours, answers without a log
    // all the same (its console line says why it refused).
    if (parsed.error || switches.mode == RunMode::Verify) return std::nullopt;
    const std::string text = Fill(messages::kLogNotOpened, {logPath, SystemErrorText(sink.failure->code)});
    if (!parsed.ShowsWindow()) return refuse(exit_codes::kLogUnavailable, text);
    PrintSummary(text, exit_codes::kLogUnavailable, {});
    ShowAppMessage(nullptr, text, MessageIcon::Error);
    return exit_codes::kLogUnavailable;
}

int Run(HINSTANCE instance, int showCommand) {
    const ParsedSwitches parsed = ParseSwitches(ProgramArguments());
    const Switches& switches = parsed.switches;
    if (switches.help) {
        if (!PrintToParentConsole(messages::kUsage) && switches.Traits().showsWindow) {
            ShowAppMessage(nullptr, messages::kUsage, MessageIcon::Information);
        }
        return exit_codes::kSuccess;
    }
    const auto program = ProgramPath();
    if (!program) {
        const std::string text = UnexpectedFailureText(*program.failure);
        if (!parsed.ShowsWindow()) {
            PrintSummary(text, exit_codes::kRunFailed, {});
            return exit_codes::kRunFailed;
        }
        ShowAppMessage(nullptr, text, MessageIcon::Error);
        return exit_codes::kWindowRunFailed;
    }
    WindowsRunRecords records({Narrow(program.value), FolderOfFile(Narrow(program.value)), {}});
    if (parsed.KeepsLog()) {
        if (const auto end = OpenRunLog(parsed, program.value, records)) records.EndProgram(*end);
    }
    if (parsed.error) {
        records.Log().Error(*parsed.error);
        const RunEvent refused{EventKind::Refused, *parsed.error, exit_codes::kInvalidCommandLine, {}};
        records.EndProgram(records.Finish(switches, refused));
    }
    records.EndProgram(parsed.ShowsWindow() ? WindowMain(instance, showCommand, records)
                                            : UnattendedMain(switches, records));
}

}  // namespace
}  // namespace selvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything can load a DLL: odbc32 and comctl32 are delay-loaded.
    selvane::RestrictDllSearchToSystemDirectory();
    ExitProcess(static_cast<UINT>(selvane::Run(instance, showCommand)));
}
