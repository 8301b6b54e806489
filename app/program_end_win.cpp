#include "app/program_end_win.h"

#include <windows.h>

#include <string>

#include "app/messages.h"
#include "app/text_fill.h"

namespace selvane {

void EndProgram(AppLog& log, int exitCode) {
    log.Info(Fill(messages::kLogExit, {std::to_string(exitCode)}));
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace selvane
