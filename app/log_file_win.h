#pragma once

#include <memory>
#include <string>

#include "app/app_log.h"
#include "platform/call_failure.h"

namespace selvane {

// Opens a log file for appending: UTF-8, with a byte-order mark when it is
// new. The failure says why it cannot be opened.
Checked<std::unique_ptr<LogSink>> OpenLogFile(const std::string& path);

// The local time, for the log's lines.
LogTime LocalLogTime();

}  // namespace selvane
