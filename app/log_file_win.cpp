#include "app/log_file_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

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

}  // namespace

Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path) {
    auto file = CHECK_FILE(CreateFileW, Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!file) return {nullptr, file.failure};
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

}  // namespace selvane
