// A Wayland connection of our own to the compositor the toolkit runs on, with the globals the
// Wayland services use: the seat, the outputs with their places in the layout, shared memory, and
// the wlroots managers for virtual pointers, screen copies and the list of toplevel windows. Each
// global is bound only at the version this program needs, and only when the compositor offers it.
//
// Events are read on the window thread: the connection's socket is watched by the toolkit's event
// loop, so the compositor never finds our queue full, and a compositor that goes away is noticed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_output;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_screencopy_manager_v1;
struct zwlr_foreign_toplevel_manager_v1;
class QSocketNotifier;

namespace platform {

// A rectangle in the compositor's global (layout) coordinates.
struct LayoutRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool Contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

struct WaylandOutput {
    uint32_t name = 0; // the registry's name of the global
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    std::string connector; // "HEADLESS-1", "DP-2"
    LayoutRect logical;    // its place and size in the layout
    LayoutRect mode;       // wl_output's own idea, where xdg-output is missing
};

class WaylandConnection {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY; Connected() tells whether it worked.
    WaylandConnection();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    bool Connected() const { return m_display != nullptr && !m_broken; }
    // Sends what is queued and waits until the compositor has answered all of it. False when the
    // connection broke (the compositor went away, or a protocol error).
    bool Roundtrip();
    // Sends what is queued without waiting.
    void Flush();
    // Reads and handles events until `done` holds, at most `timeoutMs`. False on a timeout or a
    // broken connection.
    bool DispatchUntil(const std::function<bool()>& done, int timeoutMs);
    // Called once when the compositor goes away while the program runs.
    void OnBroken(std::function<void(const std::string& why)> handler);
    // Why the connection broke, in words for the user; empty while it works.
    const std::string& Problem() const { return m_problem; }

    wl_display* Display() const { return m_display; }
    wl_seat* Seat() const { return m_seat; }
    wl_shm* Shm() const { return m_shm; }
    zwlr_virtual_pointer_manager_v1* VirtualPointerManager() const { return m_pointerManager; }
    zwlr_screencopy_manager_v1* ScreencopyManager() const { return m_screencopy; }
    // Bound on first use: it sends events for every window from then on.
    zwlr_foreign_toplevel_manager_v1* ForeignToplevelManager();
    bool ForeignToplevelsOffered() const { return m_toplevelGlobal && Connected(); }

    const std::vector<std::unique_ptr<WaylandOutput>>& Outputs() const { return m_outputs; }
    // The bounding box of every output: what the virtual pointer's absolute motion spans.
    LayoutRect LayoutBounds() const;
    // The output at that place, else the first one; nullptr without outputs.
    const WaylandOutput* OutputAt(int32_t x, int32_t y) const;
    const WaylandOutput* OutputNamed(const std::string& connector) const;

    // Registry callbacks (used by the listeners in the .cpp).
    void AddGlobal(uint32_t name, const char* interface, uint32_t version);
    void RemoveGlobal(uint32_t name);

private:
    void AddOutput(uint32_t name, uint32_t version);
    void WatchOutput(WaylandOutput& output);
    void ReadEvents();
    bool CheckBroken();

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_shm* m_shm = nullptr;
    zxdg_output_manager_v1* m_xdgOutputManager = nullptr;
    zwlr_virtual_pointer_manager_v1* m_pointerManager = nullptr;
    zwlr_screencopy_manager_v1* m_screencopy = nullptr;
    zwlr_foreign_toplevel_manager_v1* m_toplevels = nullptr;
    std::optional<std::pair<uint32_t, uint32_t>> m_toplevelGlobal; // name, version offered
    std::vector<std::unique_ptr<WaylandOutput>> m_outputs;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void(const std::string&)> m_onBroken;
    bool m_broken = false;
    std::string m_problem;
};

} // namespace platform
