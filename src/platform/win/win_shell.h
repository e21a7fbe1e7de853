// The shell on Windows: ShellExecuteW, Notepad, CreateProcessW; UTF-8 texts as UTF-16.
#pragma once

#include "platform/shell_service.h"

namespace platform {

class WinShell final : public Shell {
public:
    bool Open(const std::string& target, int showCommand) override;
    // Notepad with the path quoted, so a path with blanks is one file.
    bool ShowTextFile(const std::string& path) override;
    // The program's path is quoted and each argument quoted as CommandLineToArgvW reads it, so
    // the new process receives exactly these arguments.
    bool StartProcess(const std::string& program,
                      const std::vector<std::string>& arguments) override;
};

} // namespace platform
