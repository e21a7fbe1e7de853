#include "platform/win/win_visual_styles.h"

#include "platform/native.h"

#include <windows.h>

namespace platform {

// Windows 5.1 (XP) or later: the low byte of GetVersion is the major version, the next the minor.
bool WinVisualStyles::IsVisualStyleSystem() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const DWORD version = GetVersion();
#pragma GCC diagnostic pop
    const double number = double(LOBYTE(LOWORD(version))) + double(HIBYTE(LOWORD(version))) / 100;
    return number >= 5.01;
}

bool WinVisualStyles::ThemeLibraryPresent() {
    HMODULE library = LoadLibraryA("uxtheme.dll");
    if (!library)
        return false;
    FreeLibrary(library);
    return true;
}

bool WinVisualStyles::IsThemeActive() {
    HMODULE library = LoadLibraryA("uxtheme.dll");
    if (!library)
        return false;
    using IsThemeActiveFn = BOOL(WINAPI*)();
    const auto isThemeActive = reinterpret_cast<IsThemeActiveFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "IsThemeActive")));
    const bool active = isThemeActive && isThemeActive();
    FreeLibrary(library);
    return active;
}

void WinVisualStyles::MarkHiddenSystem(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// A link (reparse point) planted in the manifest's place is left alone: its target's attributes
// are never changed through it.
void WinVisualStyles::ClearAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::unique_ptr<VisualStyles> CreateNativeVisualStyles() {
    return std::make_unique<WinVisualStyles>();
}

} // namespace platform
