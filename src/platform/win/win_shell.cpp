#include "platform/win/win_shell.h"

#include "platform/win/win_factories.h"
#include "platform/win/win_rules.h"
#include "platform/win/win_text.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {
namespace {

// Starts a command line with a normal window that gets the focus, without waiting for it.
bool Launch(const std::string& commandLine) {
    std::wstring line = Widen(commandLine); // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

bool WinShell::Open(const std::string& target, int showCommand) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        GetActiveWindow(), L"open", Widen(target).c_str(), nullptr, nullptr, showCommand));
    return result > 32;
}

bool WinShell::ShowTextFile(const std::string& path) {
    return Launch(CommandLine("notepad.exe", {path}));
}

bool WinShell::StartProcess(const std::string& program, const std::vector<std::string>& arguments) {
    return Launch(CommandLine(program, arguments));
}

std::unique_ptr<Shell> CreateWin32Shell() {
    return std::make_unique<WinShell>();
}

} // namespace platform
