#include "platform/fake/fake_shell.h"

namespace platform {

bool FakeShell::Open(const std::string& target, int showCommand) {
    opened.push_back({target, showCommand});
    return succeed;
}

bool FakeShell::ShowTextFile(const std::string& path) {
    shownTextFiles.push_back(path);
    return succeed;
}

bool FakeShell::StartProcess(const std::string& program,
                             const std::vector<std::string>& arguments) {
    started.push_back({program, arguments});
    return succeed;
}

} // namespace platform
