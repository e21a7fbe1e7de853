// A shell that records what it is asked to open or start, and starts nothing.
#pragma once

#include "platform/shell_service.h"

namespace platform {

class FakeShell final : public Shell {
public:
    struct Opened {
        std::string target;
        int showCommand;
    };
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
    };

    bool Open(const std::string& target, int showCommand) override;
    bool ShowTextFile(const std::string& path) override;
    bool StartProcess(const std::string& program,
                      const std::vector<std::string>& arguments) override;

    // What the calls answer (true: the handler or process started).
    bool succeed = true;
    std::vector<Opened> opened;
    std::vector<std::string> shownTextFiles;
    std::vector<Started> started;
};

} // namespace platform
