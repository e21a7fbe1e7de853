// The notification-area icon's rules that need no toolkit: the tip's length, the names and
// actions of the icon's mouse messages, and what the tray menu offers for the main window's state.
#pragma once

#include <string>
#include <string_view>

namespace tray {

// The shell keeps a tip of 64 bytes with its closing NUL: a longer tip shows its first 63
// characters (whole characters; a UTF-8 sequence is never cut).
inline constexpr std::size_t kMostTipCharacters = 63;
std::string CutTip(std::string_view text);

// The mouse messages the icon reports, by their numbers.
inline constexpr int kMouseMove = 512;
inline constexpr int kLeftButtonDown = 513;
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kLeftButtonDoubleClick = 515;
inline constexpr int kRightButtonDown = 516;
inline constexpr int kRightButtonUp = 517;
inline constexpr int kRightButtonDoubleClick = 518;
inline constexpr int kMiddleButtonDown = 519;
inline constexpr int kMiddleButtonUp = 520;
inline constexpr int kMiddleButtonDoubleClick = 521;

// "MOUSEMOVE" ... "MBUTTONDBLCLK"; "OTHER....: " and the number for any other.
std::string TrayMessageName(int message);

enum class TrayAction {
    None,
    RestoreOrMinimize, // the left double click: Restore a minimized window, else Minimize
    PopUpMenu,         // the right button released: prepare and show the menu
};
TrayAction ActionOf(int message);

// Window states as the main window reports them.
inline constexpr int kNormal = 0;
inline constexpr int kMinimized = 1;
inline constexpr int kMaximized = 2;

// Which of "&Restore" and "&Minimize" the menu enables for the main window as it is now.
struct RestoreMinimize {
    bool restore = false;
    bool minimize = false;
    friend bool operator==(const RestoreMinimize&, const RestoreMinimize&) = default;
};
RestoreMinimize EnabledWindowCommands(bool visible, int windowState);

// Icon modes.
inline constexpr int kBlankIcon = 0;
inline constexpr int kMainWindowIcon = 1;
inline constexpr int kThemeIcon = 2;

// Whether the theme submenu ticks an item: only while themes are shown, when the item's caption
// occurs in the loaded theme's path (letter case counts). Several items may be ticked.
bool ThemeItemTicked(int iconMode, std::string_view caption, std::string_view loadedThemeFile);

} // namespace tray
