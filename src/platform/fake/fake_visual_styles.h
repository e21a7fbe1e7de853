// Visual styles as a test says the system has them; records the attribute changes.
#pragma once

#include "platform/visual_styles_service.h"

#include <vector>

namespace platform {

class FakeVisualStyles final : public VisualStyles {
public:
    bool IsVisualStyleSystem() override { return styleSystem; }
    bool ThemeLibraryPresent() override { return themeLibrary; }
    bool IsThemeActive() override { return themeActive; }
    void MarkHiddenSystem(const std::string& path) override { hidden.push_back(path); }
    void ClearAttributes(const std::string& path) override { cleared.push_back(path); }

    bool styleSystem = true;
    bool themeLibrary = true;
    bool themeActive = true;
    std::vector<std::string> hidden;
    std::vector<std::string> cleared;
};

} // namespace platform
