#include "platform/native.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/services.h"

namespace platform {

NativeServices::NativeServices()
    : m_mouse(CreateNativeMouseInput()), m_dialogs(std::make_unique<QtDialogs>()) {
    m_services.mouse = m_mouse.get();
    m_services.dialogs = m_dialogs.get();
}

NativeServices::~NativeServices() = default;

} // namespace platform
