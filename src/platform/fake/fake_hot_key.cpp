#include "platform/fake/fake_hot_key.h"

namespace platform {

int32_t FakeHotKeyService::RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                                          uint32_t virtualKey) {
    m_calls.push_back({Kind::Register, window, id, modifiers, virtualKey});
    if (m_registerResults.empty())
        return 1;
    const int32_t result = m_registerResults.front();
    m_registerResults.pop_front();
    return result;
}

void FakeHotKeyService::UnregisterHotKey(WindowHandle window, int32_t id) {
    m_calls.push_back({Kind::Unregister, window, id, 0, 0});
}

bool FakeHotKeyService::PollHotKey(WindowHandle /*window*/, int32_t /*id*/) {
    ++m_polls;
    if (m_pendingPresses == 0)
        return false;
    --m_pendingPresses;
    return true;
}

void FakeHotKeyService::clear() {
    m_calls.clear();
    m_registerResults.clear();
    m_pendingPresses = 0;
    m_polls = 0;
}

} // namespace platform
