// The settings reader against the profile functions themselves: a few
// hundred generated settings files, each key of the run read both ways.
// Left out are the forms that Wine reads otherwise than Windows, where the
// reader follows Windows (IniText.ReadsAsWindowsWhereWineReadsOtherwise):
// a header with a second ']' ("[FILE]]", "[FILE] ]"), a header without ']'
// ("[FILE"), a UTF-16 big-endian mark and a UTF-8 mark.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/wide_text_win.h"
#include "setup/ini_text.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

const char* const kSections[] = {"FILE", "SERVICE", "ORNA"};
const char* const kKeys[] = {"LOGIN", "DB", "BACKUP", "OS", "OPTIMIZE", "BASIC", "CGI"};
const char* const kValues[] = {"C:\\Selvane", "D:\\pkg", "0", "C:\\製品\\フォルダ", "", "C:\\a b", "x=y"};
// Blanks as hand-edited and tool-written files hold them.
const char* const kBlanks[] = {"", " ", "  ", "\t", "\x1a", " \t ", "\v", "\f"};
const char* const kLineEnds[] = {"\r\n", "\n", "\r"};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    template <typename T, std::size_t N>
    const T& Pick(const T (&choices)[N]) {
        return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(random_)];
    }
    bool OneIn(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_) == 0; }
    std::string Blank() { return Pick(kBlanks); }

    std::string Name(const char* name) {
        std::string text = name;
        if (OneIn(3)) {
            for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }

    std::string Header() {
        const std::string name = OneIn(6) ? "OTHER" : Name(Pick(kSections));
        const std::string forms[] = {
            "[" + name + "]", "[" + name + "]", "[ " + name + " ]", "[" + name + "] ; note", "x[" + name + "]",
            "[" + name + "]x",
        };
        return Blank() + Pick(forms) + Blank();
    }

    std::string KeyLine() {
        const std::string key = OneIn(8) ? "OTHER" : Name(Pick(kKeys));
        const std::string value = Pick(kValues);
        const std::string forms[] = {
            key + "=" + value,
            key + Blank() + "=" + Blank() + value + Blank(),
            key + "=\"" + value + "\"" + Blank(),
            key + "='" + value + "'",
            key + "=\"" + value,
            key,
            ";" + key + "=" + value,
            key + "=" + value + std::string(1, '\0') + "after a NUL",
            key + "=" + value + "\x1a",
            key + "=\"" + value + "\"" + std::string(1, '\0') + " ",
            key + " x=" + value,
        };
        return Blank() + Pick(forms) + Blank();
    }

    // The file's text in UTF-8, and its bytes as saved in ANSI or UTF-16
    // little-endian, the encodings the profile functions take.
    std::string Bytes(int number) {
        std::string text;
        const bool oneLineEnd = OneIn(2);
        const std::string fileEnd = Pick(kLineEnds);
        const int lines = std::uniform_int_distribution<int>(1, 24)(random_);
        for (int line = 0; line < lines; ++line) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(random_);
            text += kind < 2 ? Header() : kind == 2 ? Blank() : kind == 3 ? "; comment = [FILE]" : KeyLine();
            text += oneLineEnd ? fileEnd : Pick(kLineEnds);
        }
        if (number % 2 == 0) return Utf8ToAnsi(text).value();
        std::string bytes = "\xFF\xFE";
        for (const wchar_t c : Widen(text)) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    }

private:
    std::mt19937 random_;
};

std::string Escaped(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            text += c;
        } else {
            constexpr char kHex[] = "0123456789abcdef";
            text += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
        }
    }
    return text;
}

TEST(ProfileReader, FindsWhatTheProfileFunctionsFind) {
    const fs::path folder = L"C:\\selvane-tests\\profile-reader";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Generator generator(20261208);
    int differences = 0;
    constexpr wchar_t kMissing[] = L"(no such key)";
    for (int number = 0; number < 300; ++number) {
        const std::string bytes = generator.Bytes(number);
        const fs::path file = folder / (L"f" + std::to_wstring(number) + L".ini");
        std::ofstream(file, std::ios::binary) << bytes;
        const std::string text = SettingsText(bytes);
        for (const char* section : kSections) {
            for (const char* key : kKeys) {
                wchar_t buffer[4096] = {};
                GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), kMissing, buffer,
                                         static_cast<DWORD>(std::size(buffer)), file.c_str());
                const std::string expected = buffer == std::wstring(kMissing) ? "(no such key)" : Narrow(buffer);
                const IniEntry entry = FindEntry(text, section, key);
                const std::string found = entry.line ? ProfileValue(*entry.line).value_or("(no such key)") : "(no such key)";
                if (found != expected && ++differences <= 20) {
                    ADD_FAILURE() << file.string() << " [" << section << "] " << key << ": the profile functions read \""
                                  << expected << "\", the reader \"" << found << "\"\n  file: " << Escaped(bytes);
                }
            }
        }
    }
    EXPECT_EQ(differences, 0);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace selvane::testing
