// The picture of the screen from the desktop's Screenshot portal, for the location picker's
// frozen screen on desktops where a program cannot read the screen itself (GNOME, KDE).
#pragma once

#include "platform/screen_capture_service.h"

#include <QImage>

#include <optional>

namespace platform {

// The whole desktop as it looks now, taken without asking the user to frame it (the desktop may
// still ask once whether the program may take screenshots; this waits for that answer).
// nullopt when the portal is missing, refuses, or gives no readable picture.
std::optional<QImage> TakePortalScreenshot();

class PortalScreenCapture final : public ScreenCaptureService {
public:
    // The part of the desktop's picture that the screen covers (the picture spans the layout
    // from its top left corner).
    std::optional<ScreenPicture> Capture(const std::string& screen, int32_t left, int32_t top,
                                         int32_t width, int32_t height) override;
};

} // namespace platform
