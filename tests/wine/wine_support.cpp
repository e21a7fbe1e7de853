#include "wine_test.h"

#include "platform/win/win_text.h"

#include <cstdio>
#include <iostream>

namespace wine_test {
namespace {
int failures = 0;
} // namespace

bool Check(bool passed, const std::string& what, const std::string& detail) {
    std::cout << (passed ? "ok   " : "FAIL ") << what << (passed ? "" : detail) << std::endl;
    failures += passed ? 0 : 1;
    return passed;
}

int Failures() {
    return failures;
}

std::string Xdotool(const std::string& words) {
    std::cout << "xdotool " << words << std::endl;
    std::string reply;
    std::getline(std::cin, reply);
    if (!reply.empty() && reply.back() == '\r')
        reply.pop_back();
    if (reply.rfind("ok ", 0) == 0)
        return reply.substr(3);
    Check(false, "xdotool " + words + ": " + reply);
    return {};
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition())
            return true;
        if (GetTickCount64() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), length, nullptr,
                        nullptr);
    return text;
}

std::string ReadTextFile(const std::string& path) {
    FILE* file = _wfopen(platform::Widen(path).c_str(), L"rb");
    if (!file)
        return {};
    std::string text;
    char buffer[4096];
    for (size_t read; (read = fread(buffer, 1, sizeof(buffer), file)) > 0;)
        text.append(buffer, read);
    fclose(file);
    return text;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    FILE* file = _wfopen(platform::Widen(path).c_str(), L"wb");
    if (!file)
        return false;
    const bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return Narrow(text);
}

HWND CreateTestWindow(const std::wstring& caption, RECT rectangle, WNDPROC procedure) {
    const std::wstring className = L"ZorvaneWineTest" + caption;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure ? procedure : DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(
        0, className.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, rectangle.left,
        rectangle.top, rectangle.right - rectangle.left, rectangle.bottom - rectangle.top, nullptr,
        nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

} // namespace wine_test
