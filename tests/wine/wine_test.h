// The test program of the Win32 backends under Wine: its checks, the hands outside (xdotool, run
// by the driver script on request), waiting with deadlines, and the click target process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wine_test {

// Reports a check, with the detail when it failed, and counts the failures; answers `passed`.
bool Check(bool passed, const std::string& what, const std::string& detail = {});
int Failures();

// Runs xdotool with these words outside Wine (the driver script does); its output, or "" after a
// failure (which counts as a failed check).
std::string Xdotool(const std::string& words);

// Reads the thread's messages, as the toolkit's loop does, until the condition holds or the
// deadline passes; answers the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

std::string Narrow(const std::wstring& wide);
std::string ReadTextFile(const std::string& path); // UTF-8 path; "" when missing
bool WriteTextFile(const std::string& path, const std::string& text);
std::vector<std::string> Lines(const std::string& text);
std::string WindowText(HWND window);
// A plain top-level window of the test, shown at the rectangle.
HWND CreateTestWindow(const std::wstring& caption, RECT rectangle, WNDPROC procedure = nullptr);

// The click target, a second process: logs its arguments, then each button message with the
// client position ("L down 40 30") to files in `folder`, until it is closed.
inline constexpr RECT kTargetRectangle{100, 100, 420, 340};
int RunTarget(const std::vector<std::string>& arguments);

// The checks of each backend; `folder` is the test program's own folder.
void CheckShellAndTarget(const std::string& exePath, const std::string& folder);
void CheckMouse(const std::string& folder);
void CheckWindowFinder();
void CheckHotKey(HWND ownWindow);
void CheckVisualStyles(const std::string& folder);
void CheckTextFiles(const std::string& folder);

inline const std::string kTargetCaption = "Zorvane click target \xc3\xa9"; // é

} // namespace wine_test
