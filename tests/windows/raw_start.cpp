// A start one level below CreateProcessW, as CreateProcess itself makes it on
// Windows: the command line reaches the program exactly as given.
#include <winternl.h>

#include <stdexcept>

#include "driver.h"

namespace selvane::testing {
namespace {

// One attribute, the image's name, in the list NtCreateUserProcess takes.
struct PsAttributeList {
    SIZE_T totalLength;
    ULONG_PTR attribute;
    SIZE_T size;
    void* value;
    SIZE_T* returnLength;
};

// What NtCreateUserProcess reports of its progress; only its size is set.
struct PsCreateInfo {
    SIZE_T size;
    ULONG state;
    alignas(8) unsigned char details[72];
};

constexpr ULONG_PTR kImageNameAttribute = 0x20005;  // PsAttributeImageName, an input
constexpr ULONG kNormalizedParameters = 1;          // RTL_USER_PROC_PARAMS_NORMALIZED

using CreateParametersFn = NTSTATUS(NTAPI*)(PRTL_USER_PROCESS_PARAMETERS*, PUNICODE_STRING, PUNICODE_STRING,
                                            PUNICODE_STRING, PUNICODE_STRING, PVOID, PUNICODE_STRING,
                                            PUNICODE_STRING, PUNICODE_STRING, PUNICODE_STRING, ULONG);
using DestroyParametersFn = NTSTATUS(NTAPI*)(PRTL_USER_PROCESS_PARAMETERS);
using CreateUserProcessFn = NTSTATUS(NTAPI*)(PHANDLE, PHANDLE, ACCESS_MASK, ACCESS_MASK, POBJECT_ATTRIBUTES,
                                             POBJECT_ATTRIBUTES, ULONG, ULONG, PVOID, PsCreateInfo*,
                                             PsAttributeList*);

template <typename Function>
Function Ntdll(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

UNICODE_STRING Counted(std::wstring& text) {
    const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return {bytes, bytes, text.data()};
}

}  // namespace

PROCESS_INFORMATION StartWithCommandLineAsGiven(const std::wstring& image, const std::wstring& commandLine,
                                                const std::wstring& currentDirectory) {
    const auto createParameters = Ntdll<CreateParametersFn>("RtlCreateProcessParametersEx");
    const auto destroyParameters = Ntdll<DestroyParametersFn>("RtlDestroyProcessParameters");
    const auto createProcess = Ntdll<CreateUserProcessFn>("NtCreateUserProcess");
    if (!createParameters || !destroyParameters || !createProcess) throw std::runtime_error("ntdll lacks a function");

    std::wstring imageText = image;
    std::wstring lineText = commandLine;
    std::wstring directoryText = currentDirectory.ends_with(L'\\') ? currentDirectory : currentDirectory + L'\\';
    UNICODE_STRING imageName = Counted(imageText);
    UNICODE_STRING line = Counted(lineText);
    UNICODE_STRING directory = Counted(directoryText);
    wchar_t* environment = GetEnvironmentStringsW();
    PRTL_USER_PROCESS_PARAMETERS parameters = nullptr;
    NTSTATUS status = createParameters(&parameters, &imageName, nullptr, &directory, &line, environment, nullptr,
                                       nullptr, nullptr, nullptr, kNormalizedParameters);
    FreeEnvironmentStringsW(environment);
    if (status < 0) throw std::runtime_error("RtlCreateProcessParametersEx: " + std::to_string(status));

    std::wstring ntImage = L"\\??\\" + image;
    PsAttributeList attributes = {sizeof attributes, kImageNameAttribute, ntImage.size() * sizeof(wchar_t),
                                  ntImage.data(), nullptr};
    PsCreateInfo info = {};
    info.size = sizeof info;
    HANDLE process = nullptr;
    HANDLE thread = nullptr;
    status = createProcess(&process, &thread, PROCESS_ALL_ACCESS, THREAD_ALL_ACCESS, nullptr, nullptr, 0, 0,
                           parameters, &info, &attributes);
    destroyParameters(parameters);
    if (status < 0) throw std::runtime_error("NtCreateUserProcess: " + std::to_string(status));
    return {process, thread, GetProcessId(process), GetThreadId(thread)};
}

}  // namespace selvane::testing
