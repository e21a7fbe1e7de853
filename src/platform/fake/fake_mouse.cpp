#include "platform/fake/fake_mouse.h"

namespace platform {

Point FakeMouseInput::GetCursorPos() {
    ++m_positionReads;
    return m_position;
}

void FakeMouseInput::SetCursorPos(int32_t x, int32_t y) {
    m_position = {x, y};
    m_calls.push_back({Kind::Move, x, y, 0});
}

void FakeMouseInput::MouseEvent(uint32_t flags) {
    m_calls.push_back({Kind::Event, m_position.x, m_position.y, flags});
}

std::vector<FakeMouseInput::Call> FakeMouseInput::events() const {
    std::vector<Call> out;
    for (const Call& call : m_calls)
        if (call.kind == Kind::Event)
            out.push_back(call);
    return out;
}

void FakeMouseInput::clear() {
    m_calls.clear();
    m_positionReads = 0;
}

} // namespace platform
