// The click target: a window of a second process that logs the button messages it receives.
#include "wine_test.h"

#include "platform/win/win_text.h"

#include <windowsx.h>

#include <cstdio>

namespace wine_test {
namespace {

FILE* clickLog = nullptr;

const char* ButtonMessage(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return "L down";
    case WM_LBUTTONUP:
        return "L up";
    case WM_RBUTTONDOWN:
        return "R down";
    case WM_RBUTTONUP:
        return "R up";
    case WM_MBUTTONDOWN:
        return "M down";
    case WM_MBUTTONUP:
        return "M up";
    default:
        return nullptr;
    }
}

LRESULT CALLBACK TargetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const char* name = ButtonMessage(message)) {
        fprintf(clickLog, "%s %d %d\n", name, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        fflush(clickLog);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

FILE* Create(const std::string& path) {
    return _wfopen(platform::Widen(path).c_str(), L"wb");
}

} // namespace

// Arguments: "target", the folder for the logs, then any arguments to log.
int RunTarget(const std::vector<std::string>& arguments) {
    const std::string folder = arguments.at(1);
    clickLog = Create(folder + "\\target_clicks.txt");
    HWND window =
        CreateTestWindow(platform::Widen(kTargetCaption), kTargetRectangle, TargetProcedure);
    // The arguments last: once they are there, the window is too.
    FILE* argumentLog = Create(folder + "\\target_arguments.tmp");
    for (const std::string& argument : arguments)
        fprintf(argumentLog, "%s\n", argument.c_str());
    fclose(argumentLog);
    MoveFileW(platform::Widen(folder + "\\target_arguments.tmp").c_str(),
              platform::Widen(folder + "\\target_arguments.txt").c_str());
    MSG message{};
    while (window && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    fclose(clickLog);
    return 0;
}

} // namespace wine_test
