// The native services a running program uses, chosen once at start-up.
#pragma once

#include "platform/dialogs.h"
#include "platform/hot_key.h"
#include "platform/mouse_input.h"
#include "platform/shell.h"
#include "platform/visual_styles.h"
#include "platform/window_finder.h"

#include <memory>

namespace platform {

struct Services {
    MouseInput* mouse = nullptr;
    Dialogs* dialogs = nullptr;
    HotKeyService* hotKey = nullptr;
    WindowFinder* windows = nullptr;
    Shell* shell = nullptr;
    VisualStyles* visualStyles = nullptr;
};

// Owns the services of the platform the program was built for.
class NativeServices {
public:
    NativeServices();
    ~NativeServices();
    NativeServices(const NativeServices&) = delete;
    NativeServices& operator=(const NativeServices&) = delete;

    Services& services() { return m_services; }

private:
    std::unique_ptr<MouseInput> m_mouse;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<HotKeyService> m_hotKey;
    std::unique_ptr<WindowFinder> m_windows;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<VisualStyles> m_visualStyles;
    Services m_services;
};

} // namespace platform
