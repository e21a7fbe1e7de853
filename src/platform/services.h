// The native services a running program uses, one of each.
#pragma once

#include "platform/dialogs_service.h"
#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/screen_capture_service.h"
#include "platform/shell_service.h"
#include "platform/visual_styles_service.h"
#include "platform/window_finder_service.h"

namespace platform {

struct Services {
    MouseInput* mouse = nullptr;
    Dialogs* dialogs = nullptr;
    HotKeyService* hotKey = nullptr;
    WindowFinder* windows = nullptr;
    Shell* shell = nullptr;
    VisualStyles* visualStyles = nullptr;
    ScreenCaptureService* screen = nullptr;
};

} // namespace platform
