#include "platform/wayland/wayland_screen_capture.h"

#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_factories.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kTimeoutMs = 2000;
constexpr uint32_t kMostSide = 16384;

struct Frame {
    bool offered = false, ready = false, failed = false, flipped = false;
    uint32_t format = 0, width = 0, height = 0, stride = 0;
};

Frame& Of(void* data) {
    return *static_cast<Frame*>(data);
}

void OnBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
              uint32_t height, uint32_t stride) {
    Frame& frame = Of(data);
    frame = {true, false, false, false, format, width, height, stride};
}
void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    Of(data).flipped = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
}
void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
    Of(data).ready = true;
}
void OnFailed(void* data, zwlr_screencopy_frame_v1*) {
    Of(data).failed = true;
}

const zwlr_screencopy_frame_v1_listener kFrameListener = {OnBuffer, OnFlags, OnReady, OnFailed};

// The 32-bit formats compositors offer, as 0xAARRGGBB words; nothing for any other.
std::optional<uint32_t> ToArgb(uint32_t format, uint32_t pixel) {
    switch (format) {
    case WL_SHM_FORMAT_ARGB8888:
    case WL_SHM_FORMAT_XRGB8888:
        return pixel | 0xFF000000u;
    case WL_SHM_FORMAT_ABGR8888:
    case WL_SHM_FORMAT_XBGR8888:
        return 0xFF000000u | (pixel & 0x0000FF00u) | ((pixel & 0xFFu) << 16) |
               ((pixel >> 16) & 0xFFu);
    default:
        return std::nullopt;
    }
}

// Shared memory the compositor copies into, let go of at the end.
class SharedBuffer {
public:
    SharedBuffer(wl_shm* shm, const Frame& frame) : m_size(size_t(frame.stride) * frame.height) {
        m_fd = ::memfd_create("zorvane-screen", MFD_CLOEXEC);
        if (m_fd < 0 || ::ftruncate(m_fd, off_t(m_size)) != 0)
            return;
        void* data = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (data == MAP_FAILED)
            return;
        m_data = static_cast<const uint8_t*>(data);
        m_pool = wl_shm_create_pool(shm, m_fd, int32_t(m_size));
        m_buffer = wl_shm_pool_create_buffer(m_pool, 0, int32_t(frame.width), int32_t(frame.height),
                                             int32_t(frame.stride), frame.format);
    }
    ~SharedBuffer() {
        if (m_buffer)
            wl_buffer_destroy(m_buffer);
        if (m_pool)
            wl_shm_pool_destroy(m_pool);
        if (m_data)
            ::munmap(const_cast<uint8_t*>(m_data), m_size);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SharedBuffer(const SharedBuffer&) = delete;
    SharedBuffer& operator=(const SharedBuffer&) = delete;

    wl_buffer* Buffer() const { return m_buffer; }
    const uint8_t* Data() const { return m_data; }

private:
    size_t m_size;
    int m_fd = -1;
    const uint8_t* m_data = nullptr;
    wl_shm_pool* m_pool = nullptr;
    wl_buffer* m_buffer = nullptr;
};

std::optional<ScreenPicture> Convert(const Frame& frame, const uint8_t* data) {
    ScreenPicture picture;
    picture.width = int32_t(frame.width);
    picture.height = int32_t(frame.height);
    picture.pixels.resize(size_t(frame.width) * frame.height);
    for (uint32_t row = 0; row < frame.height; ++row) {
        const auto* source = reinterpret_cast<const uint32_t*>(
            data + size_t(frame.flipped ? frame.height - 1 - row : row) * frame.stride);
        for (uint32_t column = 0; column < frame.width; ++column) {
            const auto argb = ToArgb(frame.format, source[column]);
            if (!argb)
                return std::nullopt;
            picture.pixels[size_t(row) * frame.width + column] = *argb;
        }
    }
    return picture;
}

} // namespace

std::optional<ScreenPicture> WaylandScreenCapture::Capture(const std::string& screen, int32_t left,
                                                           int32_t top, int32_t, int32_t) {
    const WaylandOutput* output = m_connection.OutputNamed(screen);
    if (!output)
        output = m_connection.OutputAt(left, top);
    if (!m_connection.ScreencopyManager() || !m_connection.Shm() || !output)
        return std::nullopt;
    Frame frame;
    zwlr_screencopy_frame_v1* copy = zwlr_screencopy_manager_v1_capture_output(
        m_connection.ScreencopyManager(), 0, output->output);
    zwlr_screencopy_frame_v1_add_listener(copy, &kFrameListener, &frame);
    std::optional<ScreenPicture> picture;
    if (m_connection.DispatchUntil([&] { return frame.offered || frame.failed; }, kTimeoutMs) &&
        !frame.failed && frame.width > 0 && frame.height > 0 && frame.width <= kMostSide &&
        frame.height <= kMostSide && frame.stride >= frame.width * 4 && ToArgb(frame.format, 0)) {
        SharedBuffer shared(m_connection.Shm(), frame);
        if (shared.Buffer()) {
            zwlr_screencopy_frame_v1_copy(copy, shared.Buffer());
            if (m_connection.DispatchUntil([&] { return frame.ready || frame.failed; },
                                           kTimeoutMs) &&
                frame.ready)
                picture = Convert(frame, shared.Data());
        }
    }
    if (m_connection.Connected()) {
        zwlr_screencopy_frame_v1_destroy(copy);
        m_connection.Flush();
    }
    return picture;
}

std::unique_ptr<ScreenCaptureService> CreateWlrootsScreenCapture(WaylandConnection& connection) {
    return std::make_unique<WaylandScreenCapture>(connection);
}

} // namespace platform
