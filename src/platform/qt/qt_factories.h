// The services the toolkit gives the same on every system, made for the native services.
#pragma once

#include "platform/dialogs_service.h"
#include "platform/screen_capture_service.h"
#include "platform/shell_service.h"
#include "platform/tray_host_service.h"
#include "platform/visual_styles_service.h"

#include <memory>

namespace platform {

std::unique_ptr<Dialogs> CreateToolkitDialogs();
std::unique_ptr<ScreenCaptureService> CreateToolkitScreenCapture();
// The shell and the visual styles where the system has no backend of its own (all but Windows).
std::unique_ptr<Shell> CreateToolkitShell();
std::unique_ptr<VisualStyles> CreateToolkitVisualStyles();
// The system's notification area.
std::unique_ptr<TrayHost> MakeSystemTrayHost();

} // namespace platform
