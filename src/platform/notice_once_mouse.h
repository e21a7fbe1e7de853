// A mouse that tells the user something once, at the first start of a run, and otherwise does
// what the mouse it wraps does.
#pragma once

#include "platform/mouse_service.h"

#include <memory>
#include <string>
#include <utility>

namespace platform {

class NoticeOnceMouse final : public MouseInput {
public:
    NoticeOnceMouse(std::unique_ptr<MouseInput> inner, std::string notice)
        : m_inner(std::move(inner)), m_notice(std::move(notice)) {}

    ClickReadiness PrepareToClick() override {
        ClickReadiness readiness = m_inner->PrepareToClick();
        if (readiness.ready && readiness.notice.empty())
            readiness.notice = std::exchange(m_notice, {});
        return readiness;
    }
    Point GetCursorPos() override { return m_inner->GetCursorPos(); }
    void SetCursorPos(int32_t x, int32_t y) override { m_inner->SetCursorPos(x, y); }
    void MouseEvent(uint32_t flags) override { m_inner->MouseEvent(flags); }
    bool TracksPointer() const override { return m_inner->TracksPointer(); }
    void PointerSeenAt(int32_t x, int32_t y) override { m_inner->PointerSeenAt(x, y); }
    void WhenClickingStops(std::function<void(const std::string&)> stopped) override {
        m_inner->WhenClickingStops(std::move(stopped));
    }

private:
    std::unique_ptr<MouseInput> m_inner;
    std::string m_notice;
};

} // namespace platform
