#include "platform/win/win_hot_key.h"

#include "platform/win/win_factories.h"
#include "platform/win/win_rules.h"

#include <windows.h>

#include <algorithm>

namespace platform {
namespace {

constexpr wchar_t kSinkClass[] = L"ZorvaneHotKeySink";

LRESULT CALLBACK SinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        auto* service =
            reinterpret_cast<WinHotKeyService*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (service)
            service->OnHotKey(int(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateSink() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = SinkProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kSinkClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

WinHotKeyService::WinHotKeyService() : m_sink(CreateSink()) {
    if (m_sink)
        SetWindowLongPtrW(m_sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinHotKeyService::~WinHotKeyService() {
    if (!m_sink)
        return;
    for (const Registration& registration : m_registrations)
        ::UnregisterHotKey(m_sink, registration.nativeId);
    DestroyWindow(m_sink);
}

int32_t WinHotKeyService::RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                                         uint32_t virtualKey) {
    // A failed registration must not leave the old key registered either.
    UnregisterHotKey(window, id);
    const std::optional<uint32_t> word = HotKeyRegistrationModifiers(modifiers);
    if (!m_sink || !word)
        return 0;
    Registration registration;
    registration.window = window;
    registration.id = id;
    registration.nativeId = FreeNativeId();
    if (!::RegisterHotKey(m_sink, registration.nativeId, *word, virtualKey))
        return 0;
    m_registrations.push_back(registration);
    return 1;
}

void WinHotKeyService::UnregisterHotKey(WindowHandle window, int32_t id) {
    const Registration* registration = Find(window, id);
    if (!registration)
        return;
    ::UnregisterHotKey(m_sink, registration->nativeId);
    m_registrations.erase(m_registrations.begin() + (registration - m_registrations.data()));
}

bool WinHotKeyService::PollHotKey(WindowHandle window, int32_t id) {
    MSG message{};
    m_polling = true;
    while (m_sink && PeekMessageW(&message, m_sink, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    m_polling = false;
    Registration* registration = Find(window, id);
    if (!registration || registration->pendingPresses == 0)
        return false;
    --registration->pendingPresses;
    return true;
}

void WinHotKeyService::OnHotKey(int nativeId) {
    for (Registration& registration : m_registrations)
        if (registration.nativeId == nativeId)
            ++registration.pendingPresses;
    // A press the poll reads is handed out by that poll; one the window's own message loop
    // delivers is told.
    if (m_pressed && !m_polling)
        m_pressed();
}

WinHotKeyService::Registration* WinHotKeyService::Find(WindowHandle window, int32_t id) {
    for (Registration& registration : m_registrations)
        if (registration.window == window && registration.id == id)
            return &registration;
    return nullptr;
}

// Applications register identifiers 0x0000 to 0xBFFF.
int WinHotKeyService::FreeNativeId() const {
    int nativeId = 1;
    while (std::any_of(m_registrations.begin(), m_registrations.end(),
                       [&](const Registration& other) { return other.nativeId == nativeId; }))
        ++nativeId;
    return nativeId;
}

std::unique_ptr<HotKeyService> CreateWin32HotKey() {
    return std::make_unique<WinHotKeyService>();
}

} // namespace platform
