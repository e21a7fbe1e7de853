// The picker's still picture through the toolkit's own screen grab (X11, Windows).
#pragma once

#include "platform/screen_capture_service.h"

namespace platform {

class QtScreenCapture final : public ScreenCaptureService {
public:
    std::optional<ScreenPicture> Capture(const std::string& screen, int32_t left, int32_t top,
                                         int32_t width, int32_t height) override;
};

} // namespace platform
