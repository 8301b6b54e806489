#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/server_type.h"
#include "setup/setup_outcome.h"

namespace selvane {

struct LogTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "YYYY-MM-DD hh:mm:ss"
std::string TimeText(const LogTime& time);

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void Append(std::string_view line) = 0;
};

// The run's log, one line per event. Without a sink (a window run without
// /LOG) it keeps nothing.
class AppLog : public SetupObserver {
public:
    AppLog() = default;
    using Clock = LogTime (*)();
    AppLog(std::unique_ptr<LogSink> sink, Clock clock, unsigned long processId);

    void Info(std::string_view text) { Write("INFO", text); }
    void Warn(std::string_view text) { Write("WARN", text); }
    void Error(std::string_view text) { Write("ERROR", text); }

    // The type read from ORNA.mdb, or exactly why none could be read.
    void ServerTypeRead(const ServerTypeReading& reading);

    void SettingWritten(const ProfileWrite& write, const std::optional<std::string>& lineBefore,
                        const Effect& effect) override;
    void AnswerFileWritten(const std::string& path, const Effect& effect) override;
    void ProgramStarted(const std::string& commandLine, const std::string& directory, unsigned long processId,
                        const Effect& effect) override;
    void WaitingFor(const std::string& program) override;
    void ProgramEnded(const std::string& program, unsigned long exitCode) override;
    void WaitedForHold(const std::string& file, std::chrono::milliseconds waited, bool released) override;
    void ChangedMeanwhile(const std::string& file) override;
    void RestorationMade(const Restoration& restoration, const Effect& effect) override;

private:
    void Write(std::string_view level, std::string_view text);
    void Record(const std::string& what, const Effect& effect);

    std::unique_ptr<LogSink> sink_;
    Clock clock_ = nullptr;
    unsigned long processId_ = 0;
};

}  // namespace selvane
