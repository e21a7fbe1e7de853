// The still picture of the screen the location picker shows: GetDC and BitBlt of the desktop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct ScreenPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0xFFRRGGBB, row after row from the top
};

class ScreenCaptureService {
public:
    virtual ~ScreenCaptureService() = default;
    // What the screen named `screen` (the toolkit's name of it) shows now, `width` by `height`
    // pixels from its top left, which stands at `left`, `top` in screen pixels. Nothing when the
    // system lets no program see the screen; the picker then shows no picture.
    virtual std::optional<ScreenPicture> Capture(const std::string& screen, int32_t left,
                                                 int32_t top, int32_t width, int32_t height) = 0;
};

} // namespace platform
