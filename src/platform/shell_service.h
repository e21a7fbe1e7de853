// Opening links and documents, showing a text file, starting a process.
#pragma once

#include <string>
#include <vector>

namespace platform {

inline constexpr int kShowNormal = 1;    // SW_SHOWNORMAL
inline constexpr int kShowMaximized = 3; // SW_SHOWMAXIMIZED

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a link (mailto:, https:) or a document with the desktop's handler, not awaited.
    // False when nothing could be started.
    virtual bool Open(const std::string& target, int showCommand) = 0;
    // Shows a plain-text file in the desktop's text viewer, not awaited.
    virtual bool ShowTextFile(const std::string& path) = 0;
    // Starts a program with these arguments as a new process with a normal window, not awaited.
    virtual bool StartProcess(const std::string& program,
                              const std::vector<std::string>& arguments) = 0;
};

} // namespace platform
