#include "platform/event_log_win.h"

#include "platform/unique_any.h"
#include "platform/win_error.h"

namespace selvane {
namespace {

inline void DeregisterSource(HANDLE source) { DeregisterEventSource(source); }
using UniqueEventSource = UniqueAny<HANDLE, DeregisterSource>;

}  // namespace

CallResult RegisterEventSourceFile(const std::wstring& source, const std::wstring& messageFile) {
    const std::wstring key = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + source;
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    LSTATUS status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"EventMessageFile", REG_EXPAND_SZ,
                                     messageFile.c_str(), static_cast<DWORD>((messageFile.size() + 1) * sizeof(wchar_t)));
    if (!status) status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"TypesSupported", REG_DWORD, &types, sizeof types);
    if (status) return CallFailure{"RegSetKeyValueW", static_cast<unsigned long>(status)};
    return std::nullopt;
}

CallResult ReportEventStrings(const std::wstring& source, WORD type, DWORD id, const std::vector<std::wstring>& strings) {
    const auto handle = CHECK_HANDLE(RegisterEventSourceW, nullptr, source.c_str());
    if (!handle) return handle.failure;
    const UniqueEventSource owned(handle.value);
    std::vector<LPCWSTR> texts;
    for (const auto& text : strings) texts.push_back(text.c_str());
    return CHECK_BOOL(ReportEventW, owned.get(), type, 0, id, nullptr, static_cast<WORD>(texts.size()), 0,
                      texts.data(), nullptr);
}

}  // namespace selvane
