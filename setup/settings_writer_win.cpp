#include "setup/settings_writer_win.h"

#include "app/messages.h"
#include "platform/message_box_win.h"
#include "platform/text_encoding.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"
#include "platform/window_helpers_win.h"
#include "setup/settings_plan.h"

namespace selvane {
namespace {

std::string WindowsDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) ThrowLastError("GetWindowsDirectoryW");
    return Narrow(std::wstring_view(buffer, length));
}

// The one text of the run that the ANSI code page cannot hold, if any.
const std::string* FirstUnrepresentable(const std::vector<ProfileWrite>& writes) {
    for (const auto& write : writes) {
        for (const std::string* text : {&write.file, &write.value}) {
            if (!Utf8ToAnsi(*text)) return text;
        }
    }
    return nullptr;
}

}  // namespace

bool WriteSettings(HWND owner, const std::string& folderBoxText, const std::string& appFolder) {
    if (folderBoxText.empty()) {
        ShowInformation(owner, messages::kChooseKevaFolder);
        return false;
    }
    const auto writes = SettingsWrites(folderBoxText, appFolder, WindowsDirectory());

    // Refused before any file is touched: Windows would write "?" instead.
    if (const std::string* text = FirstUnrepresentable(writes)) {
        ShowInformation(owner, std::string(messages::kNotInCodePage) + "\n\n" + *text);
        return false;
    }
    for (const auto& write : writes) {
        if (!WriteProfileString(write.file, write.section, write.key, write.value)) {
            const DWORD error = GetLastError();
            ShowFailure(owner, std::string(messages::kSettingsNotWritten) + "\n\n" +
                                   messages::kFileLabel + write.file + "\n" + messages::kReasonLabel +
                                   SystemErrorText(error) + "\n\n" + messages::kCheckFolderAndRetry);
            return false;
        }
    }
    return true;
}

}  // namespace selvane
