#include "app/records_win.h"

#include <windows.h>

#include "app/messages.h"
#include "app/program_names.h"
#include "app/text_fill.h"
#include "events.h"
#include "platform/enum_table.h"
#include "platform/event_log_win.h"
#include "platform/file_identity_win.h"
#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"
#include "setup/setup_platform_win.h"
#include "version.h"

namespace selvane {
namespace {

class LogFile : public LogSink {
public:
    explicit LogFile(UniqueFile file) : file_(std::move(file)) {}
    void Append(std::string_view line) override {
        // Opened for appending only: each write lands at the end, whoever else writes.
        DWORD written = 0;
        WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }

private:
    UniqueFile file_;
};

struct EventType {
    EventKind kind;
    WORD type;
    DWORD id;
};
// By EventKind, after None (which records nothing).
constexpr EventType kEventTypes[] = {
    {EventKind::Completed, EVENTLOG_INFORMATION_TYPE, EVENT_SETUP_COMPLETED},
    {EventKind::RestartNeeded, EVENTLOG_WARNING_TYPE, EVENT_SETUP_RESTART_NEEDED},
    {EventKind::Failed, EVENTLOG_ERROR_TYPE, EVENT_SETUP_FAILED},
    {EventKind::Refused, EVENTLOG_ERROR_TYPE, EVENT_SETUP_REFUSED},
};
static_assert(RowsFollowEnum(kEventTypes, &EventType::kind, EventKind::Completed, EventKind::Refused));

// Event Viewer loads the message file into administrators' sessions: only a
// program file that nobody but the administrators can change is named.
bool OnlyAdministratorsCanChange(const std::string& program) {
    WindowsSetupPlatform platform;
    const auto descriptor = platform.SecurityOf(program);
    if (!descriptor) return false;
    const auto finding = JudgeRights(descriptor.value, Guarded::Program, platform);
    return !finding || !finding->Refused();
}

void LogFailure(AppLog& log, const CallFailure& failure) {
    log.Warn(Fill(messages::kLogEventNotWritten, {CallText(failure)}));
}

}  // namespace

Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path, const std::vector<std::string>& runFiles,
                                              std::string& sameAs) {
    auto file = CHECK_FILE(CreateFileW, Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!file) return {nullptr, file.failure};
    // Files, not names: the log reaches none of the run's files by any name.
    if (const auto log = IdentityOf(file.value.get())) {
        for (const std::string& runFile : runFiles) {
            if (IdentityOfPath(Widen(runFile)) != log) continue;
            sameAs = runFile;
            return {nullptr, std::nullopt};
        }
    }
    LARGE_INTEGER size = {};
    const bool isNew = GetFileSizeEx(file.value.get(), &size) && size.QuadPart == 0;
    auto log = std::make_unique<LogFile>(std::move(file.value));
    if (isNew) log->Append("\xEF\xBB\xBF");
    return {std::move(log), std::nullopt};
}

LogTime LocalLogTime() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void ReportRunEvent(const RunEvent& event, const ProgramFiles& files, AppLog& log) {
    if (event.kind == EventKind::None) return;
    const std::wstring source = Widen(kAppTitle);
    // Where the source cannot be registered, the event still carries its strings.
    // The message file's path is expanded where it is read: a path with a
    // '%' would send Event Viewer to another file, one others may create.
    if (files.program.find('%') != std::string::npos) {
        log.Warn(Fill(messages::kLogEventSourceNotRegistered, {files.program}));
    } else if (!OnlyAdministratorsCanChange(files.program)) {
        log.Warn(Fill(messages::kLogEventSourceNotTrusted, {files.program}));
    } else if (auto failure = RegisterEventSourceFile(source, Widen(files.program))) {
        LogFailure(log, *failure);
    }
    const auto orNone = [](const std::string& text) { return Widen(text.empty() ? messages::kLogNoValue : text); };
    const EventType& type = kEventTypes[static_cast<int>(event.kind) - 1];
    if (auto failure = ReportEventStrings(source, type.type, type.id,
                                          {Widen(event.outcome), Widen(std::to_string(event.exitCode)),
                                           orNone(event.kevaFolder), orNone(files.appFolder),
                                           Widen(SELVANE_VERSION_TEXT), orNone(files.log)})) {
        LogFailure(log, *failure);
    }
}

void EndProgram(AppLog& log, int exitCode) {
    log.Info(Fill(messages::kLogExit, {std::to_string(exitCode)}));
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace selvane
