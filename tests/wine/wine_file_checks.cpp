// The visual-styles calls (version, theme, attributes) and the shell's text files.
#include "wine_test.h"

#include "platform/shell_service.h"
#include "platform/win/win_shell.h"
#include "platform/win/win_text.h"
#include "platform/win/win_visual_styles.h"

namespace wine_test {
namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(platform::Widen(path).c_str());
}

bool ThemeSettingActive() {
    wchar_t value[16] = {};
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager",
                        L"ThemeActive", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
           std::wstring(value) == L"1";
}

std::vector<HWND> WindowsWithCaptionPart(const std::string& part) {
    struct Search {
        std::string part;
        std::vector<HWND> found;
    } search{part, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            if (WindowText(window).find(search.part) != std::string::npos)
                search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

void CheckVisualStyles(const std::string& folder) {
    platform::WinVisualStyles styles;
    Check(styles.IsVisualStyleSystem(), "Wine's Windows version is one with visual styles");
    Check(styles.ThemeLibraryPresent(), "uxtheme.dll loads");
    Check(styles.IsThemeActive() == ThemeSettingActive(),
          "IsThemeActive agrees with the theme setting");

    const std::string manifest = folder + "\\zorvane_wine_test.exe.manifest";
    WriteTextFile(manifest, "<assembly/>\r\n");
    styles.MarkHiddenSystem(manifest);
    Check((Attributes(manifest) & kHiddenSystem) == kHiddenSystem,
          "the manifest in a non-ASCII folder is marked hidden and system");
    SetFileAttributesW(platform::Widen(manifest).c_str(), kHiddenSystem | FILE_ATTRIBUTE_READONLY);
    Check(!DeleteFileW(platform::Widen(manifest).c_str()), "a read-only manifest is not deleted");
    styles.ClearAttributes(manifest);
    Check((Attributes(manifest) & (kHiddenSystem | FILE_ATTRIBUTE_READONLY)) == 0 &&
              DeleteFileW(platform::Widen(manifest).c_str()),
          "cleared attributes let the manifest be deleted");

    const std::string planted = folder + "\\planted.exe.manifest";
    CreateDirectoryW(platform::Widen(planted).c_str(), nullptr);
    styles.MarkHiddenSystem(planted);
    Check((Attributes(planted) & kHiddenSystem) == 0,
          "a folder in the manifest's place is left alone");
}

void CheckTextFiles(const std::string& folder) {
    const std::string name = "Zorvane Caf\xc3\xa9 notes";
    const std::string notes = folder + "\\" + name + ".txt";
    WriteTextFile(notes, "Notes\r\n");
    platform::WinShell shell;
    Check(shell.ShowTextFile(notes), "Notepad starts with the text file");
    Check(WaitUntil([&] { return WindowsWithCaptionPart(name).size() == 1; }),
          "Notepad shows the file with blanks and non-ASCII characters in its path");
    Check(shell.Open(notes, platform::kShowNormal), "the text file opens with its program");
    Check(WaitUntil([&] { return WindowsWithCaptionPart(name).size() == 2; }),
          "its program shows the file");
    Check(!shell.Open(folder + "\\missing.txt", platform::kShowNormal), "a missing file fails");
    for (HWND window : WindowsWithCaptionPart(name))
        PostMessageW(window, WM_CLOSE, 0, 0);
}

} // namespace wine_test
