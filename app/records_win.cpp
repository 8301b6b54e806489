#include "app/records_win.h"

#include <windows.h>

#include <algorithm>

#include "app/messages.h"
#include "app/program_names.h"
#include "app/text_fill.h"
#include "app/unattended.h"
#include "events.h"
#include "platform/enum_table.h"
#include "platform/event_log_win.h"
#include "platform/file_identity_win.h"
#include "platform/parent_console_win.h"
#include "platform/registry_win.h"
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
// By EventKind; None records nothing.
constexpr EventType kEventTypes[] = {
    {EventKind::None, 0, 0},
    {EventKind::Completed, EVENTLOG_INFORMATION_TYPE, EVENT_SETUP_COMPLETED},
    {EventKind::RestartNeeded, EVENTLOG_WARNING_TYPE, EVENT_SETUP_RESTART_NEEDED},
    {EventKind::Failed, EVENTLOG_ERROR_TYPE, EVENT_SETUP_FAILED},
    {EventKind::Refused, EVENTLOG_ERROR_TYPE, EVENT_SETUP_REFUSED},
};
static_assert(RowsFollowEnum(kEventTypes, &EventType::kind));

// Event Viewer loads the message file into administrators' sessions: only a
// program file that nobody but the administrators can change is named.
bool OnlyAdministratorsCanChange(const std::string& program) {
    const auto platform = MakeWindowsSetupPlatform();
    const auto descriptor = platform->SecurityOf(program);
    if (!descriptor) return false;
    const auto finding = JudgeRights(descriptor.value, Guarded::Program, *platform);
    return !finding;
}

LogTime LocalLogTime() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

// The run's file the identity is, if any.
const std::string* RunFileOf(const std::optional<FileIdentity>& identity, const std::vector<std::string>& runFiles) {
    for (const std::string& runFile : runFiles) {
        if (identity && IdentityOfPath(Widen(runFile)) == identity) return &runFile;
    }
    return nullptr;
}

// The file a stream's name belongs to ("D:\pkg\orna_remote.ini:log" gives "D:\pkg\orna_remote.ini").
std::string FileOfStream(const std::string& path) {
    const std::size_t name = path.find_last_of('\\') + 1;  // 0 where there is no backslash
    const std::size_t colon = path.find(':', std::max<std::size_t>(name, 2));
    return colon == std::string::npos ? path : path.substr(0, colon);
}

}  // namespace

Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path, const std::vector<std::string>& runFiles,
                                              std::string& sameAs) {
    // Files, not names: the log reaches none of the run's files by any name.
    // Compared before anything is made, since opening a stream of a file
    // ("orna_remote.ini:log") would add the stream to that very file.
    const auto standing = IdentityOfPath(Widen(path));
    const std::string* runFile = RunFileOf(standing ? standing : IdentityOfPath(Widen(FileOfStream(path))), runFiles);
    constexpr DWORD kOthersReadAndWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
    auto file = runFile ? Checked<UniqueFile>{}
                        : CHECK_FILE(CreateFileW, Widen(path).c_str(), FILE_APPEND_DATA, kOthersReadAndWrite, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!runFile && !file) return {nullptr, file.failure};
    // And the file opened, which may have come meanwhile.
    if (!runFile) runFile = RunFileOf(IdentityOf(file.value.get()), runFiles);
    if (runFile) {
        sameAs = *runFile;
        return {nullptr, std::nullopt};
    }
    LARGE_INTEGER size = {};
    const bool isNew = GetFileSizeEx(file.value.get(), &size) && size.QuadPart == 0;
    auto log = std::make_unique<LogFile>(std::move(file.value));
    if (isNew) log->Append("\xEF\xBB\xBF");
    return {std::move(log), std::nullopt};
}

void WindowsRunRecords::KeepLog(std::unique_ptr<LogSink> sink, const std::string& path) {
    files_.log = path;
    log_ = AppLog(std::move(sink), LocalLogTime, GetCurrentProcessId());
    log_.Info(Fill(messages::kLogStarted, {SELVANE_VERSION_TEXT, Narrow(GetCommandLineW())}));
}

void WindowsRunRecords::RecordEvent(const RunEvent& event) {
    if (event.kind == EventKind::None) return;
    const std::wstring source = Widen(kAppTitle);
    // Where the source cannot be registered, the event still carries its strings.
    // The message file's path is expanded where it is read: a path with a
    // '%' would send Event Viewer to another file, one others may create.
    const auto logFailure = [this](const CallResult& failure) {
        if (failure) log_.Warn(Fill(messages::kLogEventNotWritten, {CallText(*failure)}));
    };
    const std::string& program = files_.program;
    if (program.find('%') != std::string::npos) {
        log_.Warn(Fill(messages::kLogEventSourceNotRegistered, {program}));
    } else if (!OnlyAdministratorsCanChange(program)) {
        log_.Warn(Fill(messages::kLogEventSourceNotTrusted, {program}));
    } else {
        logFailure(RegisterEventSourceFile(source, Widen(program)));
    }
    const auto orNone = [](const std::string& text) { return Widen(text.empty() ? messages::kLogNoValue : text); };
    const EventType& type = RowOf(kEventTypes, event.kind);
    logFailure(ReportEventStrings(source, type.type, type.id,
                                  {Widen(event.outcome), Widen(std::to_string(event.exitCode)),
                                   orNone(event.kevaFolder), orNone(files_.appFolder), Widen(SELVANE_VERSION_TEXT),
                                   orNone(files_.log)}));
}

void WindowsRunRecords::EndProgram(int exitCode) {
    log_.Info(Fill(messages::kLogExit, {std::to_string(exitCode)}));
    ExitProcess(static_cast<UINT>(exitCode));
}

int WindowsRunRecords::Finish(const Switches& switches, const RunEvent& event) {
    PrintSummary(event.outcome, event.exitCode, files_.log);
    RecordEvent(EventOf(switches, event));
    return event.exitCode;
}

Checked<std::optional<RecordValues>> RegistryRecordStore::Read() {
    const auto texts = ReadMachineTexts(Widen(kRunRecordKey));
    if (!texts || !texts.value) return {std::nullopt, texts.failure};
    RecordValues values;
    for (const auto& [name, text] : *texts.value) values.emplace_back(Narrow(name), Narrow(text));
    return {std::move(values), std::nullopt};
}

CallResult RegistryRecordStore::Write(const RecordValues& values) {
    RegistryTexts texts;
    for (const auto& [name, text] : values) texts.emplace_back(Widen(name), Widen(text));
    return WriteMachineTexts(Widen(kRunRecordKey), texts);
}

RecordValues RegistryRecordStore::Stamp() {
    return {{"Version", SELVANE_VERSION_TEXT},
            {"ProcessId", std::to_string(GetCurrentProcessId())},
            {record::kStarted, TimeText(LocalLogTime())}};
}

void PrintSummary(const std::string& what, int exitCode, const std::string& logPath) {
    PrintToParentConsole(Fill(logPath.empty() ? messages::kConsoleSummaryNoLog : messages::kConsoleSummary,
                              {OneLine(what), std::to_string(exitCode), logPath}) +
                         "\n");
}

}  // namespace selvane
