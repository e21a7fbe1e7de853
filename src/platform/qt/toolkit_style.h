// The look of the windows: the modern style, or the classic one.
#pragma once

namespace platform {

// The toolkit's modern style exists on this system.
bool ModernStyleAvailable();
// Draws every window with the modern style, or the classic one. Call before creating windows.
void UseToolkitStyle(bool modern);

} // namespace platform
