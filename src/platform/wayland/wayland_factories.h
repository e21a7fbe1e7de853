// The backends over the wlroots protocols of our own Wayland connection, made for the backend
// plan; and what that connection tells of the compositor.
#pragma once

#include "platform/mouse_service.h"
#include "platform/screen_capture_service.h"
#include "platform/window_finder_service.h"

#include <memory>

namespace platform {

class WaylandConnection;
struct SessionFacts;

// Whether the compositor WAYLAND_DISPLAY names (else wayland-0) answers.
bool WaylandDisplayAnswers();

// What the compositor offers, as far as the plan asks.
void AddCompositorFacts(WaylandConnection& connection, SessionFacts& facts);

std::unique_ptr<MouseInput> CreateWlrootsMouse(WaylandConnection& connection);
std::unique_ptr<WindowFinder> CreateWlrootsWindowFinder(WaylandConnection& connection);
std::unique_ptr<ScreenCaptureService> CreateWlrootsScreenCapture(WaylandConnection& connection);

} // namespace platform
