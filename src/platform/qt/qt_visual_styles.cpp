#include "platform/qt/qt_visual_styles.h"

#include "platform/native.h"

#include "platform/qt/toolkit_style.h"

#include <filesystem>

namespace platform {

bool QtVisualStyles::IsVisualStyleSystem() {
    return ModernStyleAvailable();
}

bool QtVisualStyles::ThemeLibraryPresent() {
    return ModernStyleAvailable();
}

bool QtVisualStyles::IsThemeActive() {
    return ModernStyleAvailable();
}

// The file systems here have no hidden or system attributes.
void QtVisualStyles::MarkHiddenSystem(const std::string& /*path*/) {}

void QtVisualStyles::ClearAttributes(const std::string& path) {
    std::error_code error;
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, error);
}

#ifndef Q_OS_WIN
std::unique_ptr<VisualStyles> CreateNativeVisualStyles() {
    return std::make_unique<QtVisualStyles>();
}
#endif

} // namespace platform
