#pragma once

#include <memory>
#include <string>

#include "app/app_log.h"

namespace selvane {

// Opens a log file for appending: UTF-8, with a byte-order mark when it is
// new. Nothing, and the system's reason in `error`, when it cannot be opened.
std::unique_ptr<LogSink> OpenLogFile(const std::string& path, std::string& error);

// The local time, for the log's lines.
LogTime LocalLogTime();

}  // namespace selvane
