// The shell through Qt: the desktop's URL handlers and detached processes.
#pragma once

#include "platform/shell_service.h"

namespace platform {

class QtShell final : public Shell {
public:
    bool Open(const std::string& target, int showCommand) override;
    bool ShowTextFile(const std::string& path) override;
    bool StartProcess(const std::string& program,
                      const std::vector<std::string>& arguments) override;
};

} // namespace platform
