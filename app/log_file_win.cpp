#include "app/log_file_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

class LogFile : public LogSink {
public:
    explicit LogFile(UniqueHandle file) : file_(std::move(file)) {}
    void Append(std::string_view line) override {
        // Opened for appending only: each write lands at the end, whoever else writes.
        DWORD written = 0;
        WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }

private:
    UniqueHandle file_;
};

}  // namespace

std::unique_ptr<LogSink> OpenLogFile(const std::string& path, std::string& error) {
    HANDLE opened = CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        error = SystemErrorText(GetLastError());
        return nullptr;
    }
    UniqueHandle file(opened);
    LARGE_INTEGER size = {};
    auto log = std::make_unique<LogFile>(std::move(file));
    if (GetFileSizeEx(opened, &size) && size.QuadPart == 0) log->Append("\xEF\xBB\xBF");
    return log;
}

LogTime LocalLogTime() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace selvane
