#include "platform/backend_plan.h"

namespace platform {

BackendPlan PlanBackends(const SessionFacts& facts) {
    BackendPlan plan;
    if (facts.windowsSystem) {
        plan.mouse = plan.hotKey = plan.windowFinder = Backend::Win32;
        return plan;
    }
    if (facts.toolkitPlatform != "wayland") {
        plan.mouse = plan.hotKey = plan.windowFinder = Backend::X11;
        if (facts.waylandSession)
            plan.notice = kXwaylandNotice;
        return plan;
    }
    // Wayland lets no client take a key for the whole desktop: no copy owns it.
    plan.windowFinder = plan.screenCapture = Backend::Wlroots;
    if (facts.virtualPointer) {
        plan.mouse = Backend::Wlroots;
    } else if (facts.desktopPortals) {
        // GNOME, KDE: the running copy is found over the session bus where the compositor lists
        // no windows.
        plan.mouse = plan.hotKey = plan.screenCapture = Backend::Portal;
        if (!facts.foreignToplevels)
            plan.windowFinder = Backend::SessionBus;
    } else {
        plan.refusal = facts.compositorReached ? std::string(kNoInputSynthesisText)
                                               : CompositorGoneText(facts.compositorProblem);
    }
    return plan;
}

std::string CompositorGoneText(const std::string& why) {
    return "Zorvane's connection to the Wayland compositor " +
           (why.empty() ? std::string("could not be made") : "broke: " + why) +
           ", so it cannot click. Nothing was started; start Zorvane again.";
}

} // namespace platform
