#include "platform/fake/fake_window_finder.h"

namespace platform {

WindowHandle FakeWindowFinder::FindWindow(const std::string& caption) {
    m_lookups.push_back(caption);
    for (const Window& window : m_windows)
        if (window.caption == caption)
            return window.handle;
    return 0;
}

bool FakeWindowFinder::IsIconic(WindowHandle window) {
    const Window* found = Find(window);
    return found && found->iconic;
}

void FakeWindowFinder::Restore(WindowHandle window) {
    m_calls.push_back({Kind::Restore, window});
    if (Window* found = Find(window))
        found->iconic = false;
}

void FakeWindowFinder::SetForegroundWindow(WindowHandle window) {
    m_calls.push_back({Kind::SetForeground, window});
}

std::vector<WindowHandle> FakeWindowFinder::TopLevelWindows() {
    std::vector<WindowHandle> handles;
    for (const Window& window : m_windows)
        handles.push_back(window.handle);
    return handles;
}

void FakeWindowFinder::clear() {
    m_lookups.clear();
    m_calls.clear();
}

FakeWindowFinder::Window* FakeWindowFinder::Find(WindowHandle handle) {
    for (Window& window : m_windows)
        if (window.handle == handle)
            return &window;
    return nullptr;
}

} // namespace platform
