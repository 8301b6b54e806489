// Reads a Windows program's delay imports and checks that each one can work:
// every address slot holds the address of its own loader stub, that stub
// hands the slot to its DLL's loader, which loads that DLL; every function
// the .def file lists is there; and no delay-loaded DLL is imported at load
// time as well (a function missing from the .def file would be).
//
// Usage: check-delay-imports PROGRAM DEF_FILE...
// Runs on the build machine: a host program, no Windows needed.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

namespace {

struct Section {
    std::uint32_t rva;
    std::uint32_t size;
    std::uint32_t fileOffset;
    std::uint32_t fileSize;
    bool executable;
};

class PeImage {
public:
    explicit PeImage(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
        const std::uint32_t pe = U32(0x3c);
        if (U16(0) != 0x5a4d || U32(pe) != 0x4550) throw std::runtime_error("not a PE file");
        const std::uint16_t sections = U16(pe + 6);
        const std::uint16_t optionalSize = U16(pe + 20);
        const std::uint32_t optional = pe + 24;
        is64_ = U16(optional) == 0x20b;
        imageBase_ = is64_ ? U64(optional + 24) : U32(optional + 28);
        dataDirectories_ = optional + (is64_ ? 112 : 96);
        for (std::uint32_t i = 0, at = optional + optionalSize; i < sections; ++i, at += 40) {
            sections_.push_back({U32(at + 12), U32(at + 8), U32(at + 20), U32(at + 16),
                                 (U32(at + 36) & 0x20000000) != 0});
        }
    }

    bool is64() const { return is64_; }
    std::uint64_t imageBase() const { return imageBase_; }
    const std::vector<Section>& sections() const { return sections_; }
    std::uint32_t DirectoryRva(int index) const { return U32(dataDirectories_ + 8 * index); }

    // The file offset of an RVA, if the file holds its bytes.
    std::optional<std::uint32_t> Offset(std::uint64_t rva, std::uint32_t length = 1) const {
        for (const auto& s : sections_) {
            if (rva >= s.rva && rva + length <= s.rva + std::min(s.size, s.fileSize)) {
                return static_cast<std::uint32_t>(s.fileOffset + (rva - s.rva));
            }
        }
        return std::nullopt;
    }
    bool Executable(std::uint64_t rva) const {
        for (const auto& s : sections_) {
            if (rva >= s.rva && rva < s.rva + s.size) return s.executable;
        }
        return false;
    }
    std::optional<std::uint32_t> Rva32(std::uint64_t rva) const {
        if (auto at = Offset(rva, 4)) return U32(*at);
        return std::nullopt;
    }
    std::optional<std::uint64_t> Pointer(std::uint64_t rva) const {
        if (auto at = Offset(rva, is64_ ? 8 : 4)) return is64_ ? U64(*at) : U32(*at);
        return std::nullopt;
    }
    std::optional<std::string> String(std::uint64_t rva) const {
        auto at = Offset(rva);
        if (!at) return std::nullopt;
        std::string text;
        for (std::uint32_t i = *at; i < bytes_.size() && bytes_[i]; ++i) text += static_cast<char>(bytes_[i]);
        return text;
    }
    std::vector<unsigned char> Bytes(std::uint64_t rva, std::uint32_t length) const {
        auto at = Offset(rva, length);
        if (!at) return {};
        return {bytes_.begin() + *at, bytes_.begin() + *at + length};
    }

    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8); }
    std::uint32_t U32(std::size_t at) const { return U16(at) | static_cast<std::uint32_t>(U16(at + 2)) << 16; }
    std::uint64_t U64(std::size_t at) const { return U32(at) | static_cast<std::uint64_t>(U32(at + 4)) << 32; }

private:
    unsigned Byte(std::size_t at) const {
        if (at >= bytes_.size()) throw std::runtime_error("read past the end of the file");
        return bytes_[at];
    }

    std::vector<unsigned char> bytes_;
    bool is64_ = false;
    std::uint64_t imageBase_ = 0;
    std::uint32_t dataDirectories_ = 0;
    std::vector<Section> sections_;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::uint32_t Le32(const std::vector<unsigned char>& code, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | code[at + static_cast<std::size_t>(i)];
    return value;
}

// The target of a 32-bit displacement that ends at `next`.
std::uint64_t Relative(std::uint64_t next, const std::vector<unsigned char>& code, std::size_t at) {
    return next + static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(Le32(code, at))));
}

// "LIBRARY odbc32.dll" and the function names under EXPORTS, undecorated.
struct DefFile {
    std::string dll;
    std::set<std::string> functions;
};

DefFile ReadDef(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    DefFile def;
    std::string line;
    while (std::getline(in, line)) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (line.rfind("LIBRARY ", 0) == 0) {
            def.dll = Lower(line.substr(8));
        } else if (!line.empty() && line != "EXPORTS" && line[0] != ';') {
            def.functions.insert(line.substr(0, line.find('@')));
        }
    }
    return def;
}

std::set<std::string> LoadTimeImports(const PeImage& image) {
    std::set<std::string> dlls;
    std::uint32_t at = image.DirectoryRva(1);
    for (; at; at += 20) {
        const auto name = image.Rva32(at + 12);
        if (!name || !*name) break;
        if (auto text = image.String(*name)) dlls.insert(Lower(*text));
    }
    return dlls;
}

// Delay-import descriptors: 8 32-bit fields, RVA-based (attributes 1). GNU ld
// leaves the data directory entry empty, so they are found by their shape: a
// name RVA pointing at the DLL's name, and RVAs inside the image.
std::optional<std::uint32_t> FindDescriptor(const PeImage& image, const std::string& dll) {
    for (const auto& s : image.sections()) {
        for (std::uint32_t rva = s.rva; rva + 32 <= s.rva + std::min(s.size, s.fileSize); rva += 4) {
            if (image.Rva32(rva) != 1u) continue;
            const auto name = image.Rva32(rva + 4);
            if (!name || !*name || Lower(image.String(*name).value_or("")) != dll) continue;
            bool shaped = true;
            for (int field = 2; field <= 4; ++field) shaped &= image.Offset(*image.Rva32(rva + 4 * field)).has_value();
            for (int field = 5; field <= 7; ++field) shaped &= image.Rva32(rva + 4 * field) == 0u;
            if (shaped) return rva;
        }
    }
    return std::nullopt;
}

// Where the loader stub at `stub` goes, if it is one that hands `slot` on:
// i386 "mov eax, slot; jmp loader", x86-64 "lea rax, [slot]; jmp loader".
std::optional<std::uint64_t> StubTarget(const PeImage& image, std::uint64_t stub, std::uint64_t slot) {
    const auto code = image.Bytes(stub, 12);
    if (code.size() < 12) return std::nullopt;
    const std::uint64_t base = image.imageBase();
    if (!image.is64()) {
        if (code[0] != 0xb8 || Le32(code, 1) != base + slot || code[5] != 0xe9) return std::nullopt;
        return Relative(stub + 10, code, 6);
    }
    if (code[0] != 0x48 || code[1] != 0x8d || code[2] != 0x05 || Relative(stub + 7, code, 3) != slot) return std::nullopt;
    if (code[7] != 0xe9) return std::nullopt;
    return Relative(stub + 12, code, 8);
}

// True when the DLL's loader hands its own descriptor to the delay-load helper:
// i386 "push ecx; push edx; push eax; push descriptor", x86-64 "lea rcx, [descriptor]".
bool LoaderUsesDescriptor(const PeImage& image, std::uint64_t loader, std::uint32_t descriptor) {
    const auto code = image.Bytes(loader, 64);
    if (code.size() < 64) return false;
    if (!image.is64()) {
        return code[0] == 0x51 && code[1] == 0x52 && code[2] == 0x50 && code[3] == 0x68 &&
               Le32(code, 4) == image.imageBase() + descriptor;
    }
    for (std::size_t i = 0; i + 7 <= code.size(); ++i) {
        if (code[i] == 0x48 && code[i + 1] == 0x8d && code[i + 2] == 0x0d && Relative(loader + i + 7, code, i + 3) == descriptor) {
            return true;
        }
    }
    return false;
}

int Check(const PeImage& image, const std::vector<DefFile>& defs) {
    int faults = 0;
    const auto fault = [&](const std::string& text) {
        std::printf("FAULT: %s\n", text.c_str());
        ++faults;
    };
    const std::uint64_t base = image.imageBase();
    const auto loadTime = LoadTimeImports(image);

    for (const auto& def : defs) {
        if (loadTime.count(def.dll)) fault(def.dll + " is imported at load time: it would be looked up before start-up restricts the DLL search");
        const auto descriptor = FindDescriptor(image, def.dll);
        if (!descriptor) {
            fault("no delay-import descriptor for " + def.dll);
            continue;
        }
        const std::uint32_t iat = *image.Rva32(*descriptor + 12);
        const std::uint32_t names = *image.Rva32(*descriptor + 16);
        const std::uint32_t entry = image.is64() ? 8 : 4;
        std::set<std::string> listed;
        for (std::uint32_t i = 0;; ++i) {
            const auto nameEntry = image.Pointer(names + i * entry);
            if (!nameEntry || *nameEntry == 0) break;
            const std::uint64_t ordinalFlag = image.is64() ? 1ull << 63 : 1ull << 31;
            const std::string function = (*nameEntry & ordinalFlag) ? "#" + std::to_string(*nameEntry & 0xffff)
                                                                     : image.String(*nameEntry + 2).value_or("?");
            listed.insert(function);
            const std::uint64_t slot = iat + i * entry;
            const auto value = image.Pointer(slot);
            const std::string where = def.dll + " " + function + " (slot " + Hex(base + slot) + ")";
            if (!value || *value < base || !image.Executable(*value - base)) {
                fault(where + " holds " + Hex(value.value_or(0)) + ", not the address of a loader stub");
                continue;
            }
            const auto loader = StubTarget(image, *value - base, slot);
            if (!loader) {
                fault(where + " points at " + Hex(*value) + ", which is no loader stub for this slot");
            } else if (!LoaderUsesDescriptor(image, *loader, *descriptor)) {
                fault(where + ": its stub goes to " + Hex(base + *loader) + ", which does not load " + def.dll);
            } else {
                std::printf("ok: %s -> stub %s -> loader %s\n", where.c_str(), Hex(*value).c_str(),
                            Hex(base + *loader).c_str());
            }
        }
        for (const auto& function : def.functions) {
            if (!listed.count(function)) fault(def.dll + " " + function + " is not in the delay-import table");
        }
        for (const auto& function : listed) {
            if (!def.functions.count(function)) fault(def.dll + " " + function + " is delay-loaded but not in its .def file");
        }
    }
    return faults;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM DEF_FILE...\n", argv[0]);
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const PeImage image(std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {}));
        std::vector<DefFile> defs;
        for (int i = 2; i < argc; ++i) defs.push_back(ReadDef(argv[i]));
        std::printf("%s: %s, image base %s\n", argv[1], image.is64() ? "PE32+" : "PE32", Hex(image.imageBase()).c_str());
        const int faults = Check(image, defs);
        if (faults) std::printf("%d fault(s)\n", faults);
        return faults ? 1 : 0;
    } catch (const std::exception& error) {
        std::printf("FAULT: %s\n", error.what());
        return 1;
    }
}
