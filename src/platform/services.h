// The native services a running program uses, chosen once at start-up.
#pragma once

#include "platform/dialogs.h"
#include "platform/mouse_input.h"

#include <memory>

namespace platform {

struct Services {
    MouseInput* mouse = nullptr;
    Dialogs* dialogs = nullptr;
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
    Services m_services;
};

} // namespace platform
