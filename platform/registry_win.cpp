#include "platform/registry_win.h"

#include <algorithm>

#include "platform/unique_any.h"

namespace selvane {
namespace {

void CloseKey(HKEY key) { RegCloseKey(key); }
using UniqueKey = UniqueAny<HKEY, CloseKey>;

CallFailure Failed(const char* function, LSTATUS status) { return {function, static_cast<unsigned long>(status)}; }

// Every value of the key by name, with its type and text; names only where texts is false.
Checked<RegistryTexts> Values(HKEY key, bool texts) {
    RegistryTexts values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = 0;
        std::wstring data(2048, L'\0');
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                             texts ? reinterpret_cast<BYTE*>(data.data()) : nullptr, texts ? &size : nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return {std::move(values), std::nullopt};
        if (status != ERROR_SUCCESS) return {{}, Failed("RegEnumValueW", status)};
        if (texts && type != REG_SZ) continue;
        data.resize(texts ? size / sizeof(wchar_t) : 0);
        while (!data.empty() && data.back() == L'\0') data.pop_back();
        values.emplace_back(std::wstring(name, nameLength), std::move(data));
    }
}

}  // namespace

Checked<std::optional<RegistryTexts>> ReadMachineTexts(const std::wstring& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened);
    if (status == ERROR_FILE_NOT_FOUND) return {std::nullopt, std::nullopt};
    if (status != ERROR_SUCCESS) return {std::nullopt, Failed("RegOpenKeyExW", status)};
    const UniqueKey owned(opened);
    auto values = Values(owned.get(), true);
    if (!values) return {std::nullopt, values.failure};
    return {std::move(values.value), std::nullopt};
}

CallResult WriteMachineTexts(const std::wstring& key, const RegistryTexts& values) {
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                     KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS) return Failed("RegCreateKeyExW", status);
    const UniqueKey owned(created);
    for (const auto& [name, text] : values) {
        status = RegSetValueExW(owned.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) return Failed("RegSetValueExW", status);
    }
    const auto existing = Values(owned.get(), false);
    if (!existing) return existing.failure;
    for (const auto& [name, unused] : existing.value) {
        const auto kept = [&](const auto& value) { return CompareStringOrdinal(value.first.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL; };
        if (std::any_of(values.begin(), values.end(), kept)) continue;
        status = RegDeleteValueW(owned.get(), name.c_str());
        if (status != ERROR_SUCCESS) return Failed("RegDeleteValueW", status);
    }
    return std::nullopt;
}

}  // namespace selvane
