#include "platform/win/win_hot_key.h"

#include "platform/native.h"

#include <windows.h>

namespace platform {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

} // namespace

int32_t WinHotKeyService::RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                                         uint32_t virtualKey) {
    return ::RegisterHotKey(ToHwnd(window), id, modifiers, virtualKey) ? 1 : 0;
}

void WinHotKeyService::UnregisterHotKey(WindowHandle window, int32_t id) {
    ::UnregisterHotKey(ToHwnd(window), id);
}

bool WinHotKeyService::PollHotKey(WindowHandle window, int32_t /*id*/) {
    ::WaitMessage();
    MSG message{};
    return ::PeekMessageA(&message, ToHwnd(window), WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != 0;
}

std::unique_ptr<HotKeyService> CreateNativeHotKeyService() {
    return std::make_unique<WinHotKeyService>();
}

} // namespace platform
