#include "platform/folder_path.h"

namespace selvane {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    joined += '\\';
    joined += name;
    return joined;
}

std::string RemoveOneTrailingBackslash(std::string_view path) {
    if (path.ends_with('\\')) path.remove_suffix(1);
    return std::string(path);
}

std::string EnsureTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && !result.ends_with('\\')) result += '\\';
    return result;
}

std::string FolderOfFile(std::string_view filePath) {
    const auto slash = filePath.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    std::string folder(filePath.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string CaseFolded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return folded;
}

std::string_view FileNameOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace selvane
