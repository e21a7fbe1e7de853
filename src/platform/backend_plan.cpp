#include "platform/backend_plan.h"

namespace platform {

ClickBackendChoice ChooseClickBackend(const SessionFacts& facts) {
    if (facts.toolkitPlatform == "windows")
        return {ClickBackend::Win32, {}};
    if (facts.toolkitPlatform == "wayland") {
        if (facts.virtualPointer)
            return {ClickBackend::Wlroots, {}};
        if (facts.remoteDesktopPortal)
            return {ClickBackend::Portal, {}};
        return {ClickBackend::Refusing, {}};
    }
    if (facts.waylandSession)
        return {ClickBackend::X11, kXwaylandNotice};
    return {ClickBackend::X11, {}};
}

std::string CompositorGoneText(const std::string& why) {
    return "Zorvane's connection to the Wayland compositor " +
           (why.empty() ? std::string("could not be made") : "broke: " + why) +
           ", so it cannot click. Nothing was started; start Zorvane again.";
}

} // namespace platform
