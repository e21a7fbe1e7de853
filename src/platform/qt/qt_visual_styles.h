// Visual styles where the toolkit draws them: available and active when the toolkit has its
// modern style. The program started with the manifest present uses the modern style, any other
// the classic one (see toolkit_style.h).
#pragma once

#include "platform/visual_styles_service.h"

namespace platform {

class QtVisualStyles final : public VisualStyles {
public:
    bool IsVisualStyleSystem() override;
    bool ThemeLibraryPresent() override;
    bool IsThemeActive() override;
    void MarkHiddenSystem(const std::string& path) override;
    void ClearAttributes(const std::string& path) override;
};

} // namespace platform
