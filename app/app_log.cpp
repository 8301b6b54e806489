#include "app/app_log.h"

#include "app/failure_text.h"
#include "app/messages.h"
#include "app/text_fill.h"
#include "setup/ini_text.h"

namespace selvane {
namespace {

// A number with leading zeros to the width (snprintf would bring MinGW's
// whole printf, floating point and all, into the program).
void AppendPadded(std::string& text, int value, int width, char after = '\0') {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    text += digits;
    if (after) text += after;
}

// "YYYY-MM-DD hh:mm:ss.mmm [pid] LEVEL text", ended by CR LF: the process id
// tells apart the lines of runs that write to one log at the same time.
std::string FormatLogLine(const LogTime& time, unsigned long processId, std::string_view level,
                          std::string_view text) {
    std::string line = TimeText(time) + ".";
    AppendPadded(line, time.millisecond, 3, ' ');
    return line + "[" + std::to_string(processId) + "] " + std::string(level) + " " + OneLine(text) + "\r\n";
}

}  // namespace

std::string TimeText(const LogTime& time) {
    std::string text;
    AppendPadded(text, time.year, 4, '-');
    AppendPadded(text, time.month, 2, '-');
    AppendPadded(text, time.day, 2, ' ');
    AppendPadded(text, time.hour, 2, ':');
    AppendPadded(text, time.minute, 2, ':');
    AppendPadded(text, time.second, 2);
    return text;
}

AppLog::AppLog(std::unique_ptr<LogSink> sink, Clock clock, unsigned long processId)
    : sink_(std::move(sink)), clock_(clock), processId_(processId) {}

void AppLog::Write(std::string_view level, std::string_view text) {
    if (sink_) sink_->Append(FormatLogLine(clock_(), processId_, level, text));
}

void AppLog::ServerTypeRead(const ServerTypeReading& reading) {
    if (reading.type) {
        Info(Fill(messages::kLogServerType, {std::to_string(*reading.type)}));
    } else {
        Warn(Fill(messages::kLogServerTypeUnread, {reading.failure}));
    }
}

void AppLog::Record(const std::string& what, const Effect& effect) {
    switch (effect.state) {
    case EffectState::Done: Info(what + messages::kLogDone); break;
    case EffectState::Failed: {
        const std::string why = effect.failure ? CallText(*effect.failure) : messages::kReasonNotReadBack;
        Error(what + Fill(messages::kLogFailed, {why}));
        break;
    }
    case EffectState::Planned: Info(what + messages::kLogPlanned); break;
    }
}

void AppLog::SettingWritten(const ProfileWrite& write, const std::optional<std::string>& lineBefore,
                            const Effect& effect) {
    const std::string was = lineBefore ? Fill(messages::kLogLine, {*lineBefore}) : messages::kLogNoValue;
    Record(Fill(messages::kLogSetting, {write.file, write.section, write.key, write.value, was}), effect);
}

void AppLog::AnswerFileWritten(const std::string& path, const Effect& effect) {
    Record(Fill(messages::kLogAnswerFile, {path}), effect);
}

void AppLog::ProgramStarted(const std::string& commandLine, const std::string& directory, unsigned long processId,
                            const Effect& effect) {
    std::string what = directory.empty() ? Fill(messages::kLogStart, {commandLine})
                                         : Fill(messages::kLogStartIn, {commandLine, directory});
    if (effect.state == EffectState::Done) what += Fill(messages::kLogProcessId, {std::to_string(processId)});
    Record(what, effect);
}

void AppLog::WaitingFor(const std::string& program) { Info(Fill(messages::kLogWaiting, {program})); }

void AppLog::ProgramEnded(const std::string& program, unsigned long exitCode) {
    const std::string text = Fill(messages::kLogEnded, {program, std::to_string(exitCode)});
    // Whether a code fails the run is the run's to say.
    if (exitCode == 0) Info(text); else Warn(text);
}

void AppLog::WaitedForHold(const std::string& file, std::chrono::milliseconds waited, bool released) {
    const std::string text = Fill(released ? messages::kLogHoldReleased : messages::kLogHoldKept,
                                  {file, std::to_string(waited.count())});
    if (released) Info(text); else Warn(text);
}

void AppLog::ChangedMeanwhile(const std::string& file) { Warn(Fill(messages::kLogChangedMeanwhile, {file})); }

void AppLog::RestorationMade(const Restoration& restoration, const Effect& effect) {
    Record(DescribeRestoration(restoration), effect);
    // What to put back by hand, a line of the log for each line of the file.
    if (effect.state != EffectState::Failed || restoration.kind != RestorationKind::RestoreFile) return;
    for (const std::string_view line : Lines(restoration.before)) {
        Warn(Fill(messages::kLogLineBefore, {restoration.file, line}));
    }
}

}  // namespace selvane
