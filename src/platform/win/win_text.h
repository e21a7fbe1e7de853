// The program's texts are UTF-8; the wide (W) Win32 functions take UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16 of a UTF-8 text; a byte that is not UTF-8 becomes U+FFFD.
std::wstring Widen(std::string_view utf8);

} // namespace platform
