// The picker's still picture on wlroots compositors: one frame of the output the picker covers,
// copied by the compositor into shared memory (zwlr_screencopy_manager_v1).
#pragma once

#include "platform/screen_capture_service.h"

namespace platform {

class WaylandConnection;

class WaylandScreenCapture final : public ScreenCaptureService {
public:
    explicit WaylandScreenCapture(WaylandConnection& connection) : m_connection(connection) {}

    // The output of that name, else the one at that place. Nothing without screencopy, when the
    // compositor fails the copy or takes more than two seconds, or offers only a pixel format this
    // program does not read.
    std::optional<ScreenPicture> Capture(const std::string& screen, int32_t left, int32_t top,
                                         int32_t width, int32_t height) override;

private:
    WaylandConnection& m_connection;
};

} // namespace platform
