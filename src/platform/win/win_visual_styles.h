// Visual styles on Windows: GetVersion, uxtheme's IsThemeActive, file attributes. Attributes are
// changed through a handle of the file itself: a link (a reparse point) or a folder is left alone.
#pragma once

#include "platform/visual_styles_service.h"

namespace platform {

class WinVisualStyles final : public VisualStyles {
public:
    bool IsVisualStyleSystem() override;
    bool ThemeLibraryPresent() override;
    bool IsThemeActive() override;
    void MarkHiddenSystem(const std::string& path) override;
    void ClearAttributes(const std::string& path) override;
};

} // namespace platform
