// The process start, the pointer and buttons, the window finder and the hot key.
// Before windows.h, which would rename the window finder's FindWindow.
#include "platform/win/win_window_finder.h"

#include "wine_test.h"

#include "click/mouse.h"
#include "platform/shell_service.h"
#include "platform/win/win_hot_key.h"
#include "platform/win/win_mouse.h"
#include "platform/win/win_shell.h"
#include "platform/win/win_text.h"

#undef FindWindow

namespace wine_test {
namespace {

HWND TargetWindow() {
    return FindWindowW(nullptr, platform::Widen(kTargetCaption).c_str());
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Reads every message as the toolkit's loop does and polls on a 50 ms timer as the main window
// does, until half a second after `expected` presses were seen (or the deadline); answers the
// presses seen.
int CountPresses(platform::HotKeyService& service, platform::WindowHandle window, int expected) {
    int presses = 0;
    ULONGLONG nextPoll = 0;
    ULONGLONG settled = 0; // when the expected count was reached
    WaitUntil(
        [&] {
            const ULONGLONG now = GetTickCount64();
            if (now >= nextPoll) {
                nextPoll = now + 50;
                presses += service.PollHotKey(window, 0xBFFF) ? 1 : 0;
            }
            if (presses >= expected && !settled)
                settled = now;
            return settled && now > settled + 500; // a late extra press would show by then
        },
        10000);
    return presses;
}

} // namespace

void CheckShellAndTarget(const std::string& exePath, const std::string& folder) {
    const std::vector<std::string> passed = {"two words", "say \"hi\"", "ends in \\", "",
                                             "tab\there", "C:\\a b\\",  "Caf\xc3\xa9"};
    std::vector<std::string> arguments = {"target", folder};
    arguments.insert(arguments.end(), passed.begin(), passed.end());
    platform::WinShell shell;
    Check(shell.StartProcess(exePath, arguments),
          "StartProcess starts the program from its folder");
    std::string received;
    WaitUntil([&] {
        received = ReadTextFile(folder + "\\target_arguments.txt");
        return !received.empty();
    });
    Check(received == Joined(arguments), "the new process receives its arguments unchanged",
          ":\n" + received + "instead of\n" + Joined(arguments));
}

void CheckMouse(const std::string& folder) {
    platform::WinMouseInput input;
    click::cMouse mouse(input);
    POINT point{40, 30};
    ClientToScreen(TargetWindow(), &point);
    mouse.MoveTo(point.x, point.y);
    Check(mouse.x() == point.x && mouse.y() == point.y, "cMouse reads the position it moved to");
    const std::string location = "x:" + std::to_string(point.x) + " y:" + std::to_string(point.y);
    std::string seen;
    WaitUntil([&] { return (seen = Xdotool("getmouselocation")).rfind(location + " ", 0) == 0; });
    Check(seen.rfind(location + " ", 0) == 0, "the X pointer moved to " + location, ": " + seen);

    for (int32_t button : {1, 2, 4, 3})
        mouse.Click(button);
    const std::vector<std::string> expected = {"L down 40 30", "L up 40 30",   "R down 40 30",
                                               "R up 40 30",   "M down 40 30", "M up 40 30",
                                               "L down 40 30", "L up 40 30"};
    std::vector<std::string> clicks;
    WaitUntil([&] {
        clicks = Lines(ReadTextFile(folder + "\\target_clicks.txt"));
        return clicks.size() >= expected.size();
    });
    Check(clicks == expected,
          "the target process received left, right, middle and left (3) clicks at the pointer",
          ":\n" + Joined(clicks));
}

void CheckWindowFinder() {
    platform::WinWindowFinder finder;
    const platform::WindowHandle found = finder.FindWindow(kTargetCaption);
    HWND target = reinterpret_cast<HWND>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(target, &process);
    Check(found && WindowText(target) == kTargetCaption && process != GetCurrentProcessId(),
          "FindWindow finds the other process's window by its exact non-ASCII caption");
    Check(!finder.FindWindow(kTargetCaption.substr(0, kTargetCaption.size() - 2)) &&
              !finder.FindWindow(kTargetCaption + " ") &&
              !finder.FindWindow("Zorvane click target e"),
          "FindWindow matches the whole caption only");

    auto shown = [&] { return IsWindowVisible(target) && !finder.IsIconic(found); };
    ShowWindow(target, SW_MINIMIZE);
    Check(WaitUntil([&] { return finder.IsIconic(found); }), "a minimized window is iconic");
    finder.Restore(found);
    Check(WaitUntil(shown), "Restore brings a minimized window back");
    finder.SetForegroundWindow(found);
    Check(WaitUntil([&] { return GetForegroundWindow() == target; }),
          "SetForegroundWindow brings the other process's window to the front");

    ShowWindow(target, SW_MINIMIZE); // as a copy hidden in the tray is
    ShowWindow(target, SW_HIDE);
    Check(finder.FindWindow(kTargetCaption) == found && finder.IsIconic(found),
          "a hidden minimized window is found and iconic");
    finder.Restore(found);
    Check(WaitUntil(shown), "Restore shows a hidden minimized window");

    PostMessageW(target, WM_CLOSE, 0, 0);
    Check(WaitUntil([&] { return finder.FindWindow(kTargetCaption) == 0; }),
          "a destroyed window is no longer found");
    Check(!finder.IsIconic(found), "a destroyed window is not iconic");
}

void CheckHotKey(HWND ownWindow) {
    const auto window = reinterpret_cast<platform::WindowHandle>(ownWindow);
    constexpr uint32_t controlAlt = platform::kModAlt | platform::kModControl;
    platform::WinHotKeyService owner;
    platform::WinHotKeyService other;
    Check(owner.RegisterHotKey(window, 0xBFFF, controlAlt, 'Q') == 1, "CTRL+ALT+Q registers");
    Check(other.RegisterHotKey(window + 1, 0xBFFF, controlAlt, 'Q') == 0,
          "a second registration of CTRL+ALT+Q is refused");
    Check(!owner.PollHotKey(window, 0xBFFF), "a poll without a press answers at once: none");

    // Wine hears keys only while one of its windows has the X focus, which an unmanaged window
    // gets from no one: xdotool gives it to ours (Wine keeps the X window's id in a property).
    SetForegroundWindow(ownWindow);
    const auto xWindow =
        reinterpret_cast<uintptr_t>(GetPropW(ownWindow, L"__wine_x11_whole_window"));
    Xdotool("windowfocus --sync " + std::to_string(xWindow));
    Xdotool("key --delay 100 ctrl+alt+w ctrl+alt+q ctrl+alt+q ctrl+alt+q");
    const int presses = CountPresses(owner, window, 3);
    Check(presses == 3,
          "three presses of CTRL+ALT+Q are each seen once, with the loop reading the messages",
          ": " + std::to_string(presses) + " seen");

    owner.UnregisterHotKey(window, 0xBFFF);
    Check(other.RegisterHotKey(window + 1, 0xBFFF, controlAlt, 'Q') == 1,
          "unregistering frees CTRL+ALT+Q for another registration");
    Xdotool("key ctrl+alt+q");
    Check(CountPresses(other, window + 1, 1) == 1 && !owner.PollHotKey(window, 0xBFFF),
          "the new registration hears the press, the old one nothing");
}

} // namespace wine_test
