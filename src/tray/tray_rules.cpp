#include "tray/tray_rules.h"

#include <array>

namespace tray {

std::string CutTip(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && characters++ == kMostTipCharacters)
            return std::string(text.substr(0, at));
    }
    return std::string(text);
}

std::string TrayMessageName(int message) {
    static constexpr std::array<std::string_view, 10> kNames{
        "MOUSEMOVE", "LBUTTONDOWN",   "LBUTTONUP",   "LBUTTONDBLCLK", "RBUTTONDOWN",
        "RBUTTONUP", "RBUTTONDBLCLK", "MBUTTONDOWN", "MBUTTONUP",     "MBUTTONDBLCLK"};
    if (message >= kMouseMove && message <= kMiddleButtonDoubleClick)
        return std::string(kNames[static_cast<std::size_t>(message - kMouseMove)]);
    return "OTHER....: " + std::to_string(message);
}

TrayAction ActionOf(int message) {
    if (message == kLeftButtonDoubleClick)
        return TrayAction::RestoreOrMinimize;
    if (message == kRightButtonUp)
        return TrayAction::PopUpMenu;
    return TrayAction::None;
}

RestoreMinimize EnabledWindowCommands(bool visible, int windowState) {
    if (!visible)
        return {true, false};
    return {windowState != kNormal, windowState != kMinimized};
}

bool ThemeItemTicked(int iconMode, std::string_view caption, std::string_view loadedThemeFile) {
    return iconMode == kThemeIcon && loadedThemeFile.find(caption) != std::string_view::npos;
}

} // namespace tray
