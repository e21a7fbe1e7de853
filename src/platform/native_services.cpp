#include "platform/native.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/services.h"

namespace platform {

NativeServices::NativeServices()
    : m_mouse(CreateNativeMouseInput()), m_dialogs(std::make_unique<QtDialogs>()),
      m_hotKey(CreateNativeHotKeyService()), m_windows(CreateNativeWindowFinder()),
      m_shell(CreateNativeShell()), m_visualStyles(CreateNativeVisualStyles()) {
    m_services.mouse = m_mouse.get();
    m_services.dialogs = m_dialogs.get();
    m_services.hotKey = m_hotKey.get();
    m_services.windows = m_windows.get();
    m_services.shell = m_shell.get();
    m_services.visualStyles = m_visualStyles.get();
}

NativeServices::~NativeServices() = default;

} // namespace platform
