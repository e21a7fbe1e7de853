// Who the program is and how it was started: its folder, file name, version and arguments.
#pragma once

#include <string>
#include <vector>

namespace shell {

inline constexpr const char* kAppTitle = "Zorvane";
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 20;
inline constexpr int kVersionRevision = 0;
inline constexpr const char* kFileDescription = "Click your mouse button automatically";
inline constexpr const char* kCompanyName = "Zorvane";
// What the desktop knows the program's windows by (X11's WM_CLASS class, the Wayland app id),
// whatever the executable is called: a running copy is a window of this program.
inline constexpr const char* kProgramId = "zorvane";

struct AppInfo {
    std::string folder;                 // the executable's folder, without a trailing separator
    std::string configFolder;           // where the program writes: settings, signal files, ...
    std::string dataFolder;             // where it reads what it ships: the help text, ...
    std::string exeName;                // the executable's file name without extension
    std::string exePath;                // the executable itself
    std::vector<std::string> arguments; // the program's arguments exactly as received
    bool startedWithManifest = false;   // the manifest was in the config folder at the start
};

// The main window's caption, which also finds a running copy: "Zorvane 2.20".
std::string MainCaption();
// "Version 2.20".
std::string VersionText();
// Everything after the program name, the arguments joined by single blanks.
std::string CommandLineText(const std::vector<std::string>& arguments);

} // namespace shell
