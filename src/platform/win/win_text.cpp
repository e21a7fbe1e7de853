#include "platform/win/win_text.h"

#include <windows.h>

namespace platform {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = int(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace platform
