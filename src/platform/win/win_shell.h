// The shell on Windows: ShellExecuteA, Notepad, CreateProcessA.
#pragma once

#include "platform/shell.h"

namespace platform {

class WinShell final : public Shell {
public:
    bool Open(const std::string& target, int showCommand) override;
    bool ShowTextFile(const std::string& path) override;
    bool StartProcess(const std::string& program,
                      const std::vector<std::string>& arguments) override;
};

} // namespace platform
