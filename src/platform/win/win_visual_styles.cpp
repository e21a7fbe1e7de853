#include "platform/win/win_visual_styles.h"

#include "platform/win/win_factories.h"
#include "platform/win/win_text.h"

#include <windows.h>

namespace platform {
namespace {

// Sets a regular file's attributes; the path's last part is opened itself, never what a link
// names, so a link planted in its place changes nothing.
void SetRegularFileAttributes(const std::string& path, DWORD attributes) {
    HANDLE file =
        CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION information{};
    constexpr DWORD notRegular = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    if (GetFileInformationByHandle(file, &information) &&
        !(information.dwFileAttributes & notRegular)) {
        FILE_BASIC_INFO basic{}; // times 0: unchanged
        basic.FileAttributes = attributes;
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic));
    }
    CloseHandle(file);
}

} // namespace

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
    HMODULE library = LoadLibraryW(L"uxtheme.dll");
    if (!library)
        return false;
    FreeLibrary(library);
    return true;
}

bool WinVisualStyles::IsThemeActive() {
    HMODULE library = LoadLibraryW(L"uxtheme.dll");
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
    SetRegularFileAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// A link (reparse point) planted in the manifest's place is left alone: its target's attributes
// are never changed through it.
void WinVisualStyles::ClearAttributes(const std::string& path) {
    SetRegularFileAttributes(path, FILE_ATTRIBUTE_NORMAL);
}

std::unique_ptr<VisualStyles> CreateWin32VisualStyles() {
    return std::make_unique<WinVisualStyles>();
}

} // namespace platform
