// Runs every check of the Win32 backends, or, started with "target", the click target.
#include "wine_test.h"

#include <shellapi.h>

#include <iostream>

using namespace wine_test;

namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Narrow(words[i]));
    LocalFree(words);
    return arguments;
}

std::string ExePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Narrow(path);
}

} // namespace

int main() {
    const std::vector<std::string> arguments = Arguments();
    if (!arguments.empty() && arguments[0] == "target")
        return RunTarget(arguments);

    const std::string exePath = ExePath();
    const std::string folder = exePath.substr(0, exePath.rfind('\\'));
    Check(folder.find("Zorvane Caf\xc3\xa9") != std::string::npos,
          "runs from a folder with a blank and a non-ASCII name", ": " + folder);
    // Wine moves the pointer and delivers keys only to a process with a window.
    HWND own = CreateTestWindow(L"Zorvane Wine test", {600, 450, 840, 610});
    CheckShellAndTarget(exePath, folder);
    CheckMouse(folder);
    CheckWindowFinder();
    CheckHotKey(own);
    CheckVisualStyles(folder);
    CheckTextFiles(folder);
    DestroyWindow(own);
    std::cout << (Failures() ? "FAILED: " + std::to_string(Failures()) + " checks" : "PASSED")
              << std::endl;
    return Failures() ? 1 : 0;
}
