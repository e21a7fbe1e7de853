// Whether the system offers visual styles, for the manifest-and-restart that turns them on.
#pragma once

#include <string>

namespace platform {

class VisualStyles {
public:
    virtual ~VisualStyles() = default;
    // The system is one that has visual styles at all.
    virtual bool IsVisualStyleSystem() = 0;
    // The theme library can be loaded.
    virtual bool ThemeLibraryPresent() = 0;
    // The user runs the styled look, not the classic one.
    virtual bool IsThemeActive() = 0;
    // Gives a file the hidden and system attributes where the file system has them.
    virtual void MarkHiddenSystem(const std::string& path) = 0;
    // Clears a file's attributes (read-only, hidden, system) so that it can be deleted.
    virtual void ClearAttributes(const std::string& path) = 0;
};

} // namespace platform
