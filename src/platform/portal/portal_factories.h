// The backends over the desktop's portals and the session bus (GNOME, KDE), made for the backend
// plan.
#pragma once

#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/screen_capture_service.h"
#include "platform/window_finder_service.h"

#include <memory>
#include <string>

class QObject;
class QWidget;

namespace platform {

// Whether the desktop's portals (xdg-desktop-portal) answer on the session bus.
bool DesktopPortalsOffered();

// settingsFolder: where the desktop's leave to click is kept.
std::unique_ptr<MouseInput> CreatePortalMouse(const std::string& settingsFolder);
std::unique_ptr<HotKeyService> CreatePortalHotKey();
std::unique_ptr<ScreenCaptureService> CreatePortalScreenCapture();
// The running copy of the settings folder, found by the folder's name on the session bus.
std::unique_ptr<WindowFinder> CreateBusWindowFinder(const std::string& configFolder);
// Answers under the folder's name for the main window, where nobody answers yet.
std::unique_ptr<QObject> AnswerOnSessionBus(const std::string& configFolder, QWidget& mainWindow);

} // namespace platform
