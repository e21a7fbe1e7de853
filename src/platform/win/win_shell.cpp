#include "platform/win/win_shell.h"

#include "platform/native.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {
namespace {

// Starts a command line with a normal window that gets the focus, without waiting for it.
bool Launch(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

bool WinShell::Open(const std::string& target, int showCommand) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(GetActiveWindow(), "Open", target.c_str(), nullptr, nullptr, showCommand));
    return result > 32;
}

bool WinShell::ShowTextFile(const std::string& path) {
    return Launch("Notepad " + path);
}

// The program's path is not quoted, and one blank follows it even without arguments.
bool WinShell::StartProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::string commandLine = program + " ";
    for (size_t i = 0; i < arguments.size(); ++i)
        commandLine += (i ? " " : "") + arguments[i];
    return Launch(commandLine);
}

std::unique_ptr<Shell> CreateNativeShell() {
    return std::make_unique<WinShell>();
}

} // namespace platform
