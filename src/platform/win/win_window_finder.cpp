#include "platform/win/win_window_finder.h"

#include "platform/win/win_factories.h"
#include "platform/win/win_text.h"

#include <windows.h>

// windows.h makes FindWindow a macro for FindWindowA or FindWindowW; here it names our member.
#undef FindWindow

namespace platform {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

} // namespace

WindowHandle WinWindowFinder::FindWindow(const std::string& caption) {
    return reinterpret_cast<uintptr_t>(::FindWindowW(nullptr, Widen(caption).c_str()));
}

bool WinWindowFinder::IsIconic(WindowHandle window) {
    return ::IsIconic(ToHwnd(window)) != 0;
}

void WinWindowFinder::Restore(WindowHandle window) {
    ::ShowWindow(ToHwnd(window), SW_RESTORE);
}

void WinWindowFinder::SetForegroundWindow(WindowHandle window) {
    ::SetForegroundWindow(ToHwnd(window));
}

std::vector<WindowHandle> WinWindowFinder::TopLevelWindows() {
    std::vector<WindowHandle> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(
                reinterpret_cast<uintptr_t>(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::unique_ptr<WindowFinder> CreateWin32WindowFinder() {
    return std::make_unique<WinWindowFinder>();
}

} // namespace platform
