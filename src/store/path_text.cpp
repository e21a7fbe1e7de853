#include "store/path_text.h"

namespace store {

std::filesystem::path ToFsPath(std::string_view pathText) {
#ifdef _WIN32
    // The narrow constructor would read the text in the ANSI code page.
    std::u8string utf8(pathText.size(), u8'\0');
    for (size_t i = 0; i < pathText.size(); ++i)
        utf8[i] = static_cast<char8_t>(pathText[i]);
    return std::filesystem::path(utf8);
#else
    return std::filesystem::path(std::string(pathText));
#endif
}

std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.string();
#endif
}

} // namespace store
