// A hot key for widget tests: registrations answer from a script and are recorded, and presses
// are queued by the test and handed out one per poll.
#pragma once

#include "platform/hot_key_service.h"

#include <deque>
#include <vector>

namespace platform {

class FakeHotKeyService final : public HotKeyService {
public:
    enum class Kind { Register, Unregister };
    struct Call {
        Kind kind;
        WindowHandle window;
        int32_t id;
        uint32_t modifiers;  // 0 for Unregister
        uint32_t virtualKey; // 0 for Unregister
    };

    int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                           uint32_t virtualKey) override;
    void UnregisterHotKey(WindowHandle window, int32_t id) override;
    bool PollHotKey(WindowHandle window, int32_t id) override;

    // The answers of the next registrations, in order; without one a registration answers 1.
    void scriptRegisterResult(int32_t result) { m_registerResults.push_back(result); }
    // Queues presses; each poll hands out at most one.
    void press(int count = 1) { m_pendingPresses += count; }

    const std::vector<Call>& calls() const { return m_calls; }
    int polls() const { return m_polls; }
    int pendingPresses() const { return m_pendingPresses; }
    void clear();

private:
    std::vector<Call> m_calls;
    std::deque<int32_t> m_registerResults;
    int m_pendingPresses = 0;
    int m_polls = 0;
};

} // namespace platform
