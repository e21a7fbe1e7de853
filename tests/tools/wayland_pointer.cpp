// The test's own hands on a wlroots desktop: a virtual pointer of its own that moves to a place
// and clicks there, independent of the program under test.
//
//   wayland_pointer <layout width> <layout height> <x> <y> [click|right]
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

namespace {

zwlr_virtual_pointer_manager_v1* g_manager = nullptr;
wl_seat* g_seat = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        g_manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, wl_seat_interface.name) == 0)
        g_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kListener = {OnGlobal, OnGlobalRemove};

// The compositor takes a moment before a new device's buttons count.
void Settle(wl_display* display) {
    wl_display_roundtrip(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: wayland_pointer <width> <height> <x> <y> [click|right]\n");
        return 2;
    }
    const auto number = [](const char* text) { return uint32_t(std::strtoul(text, nullptr, 10)); };
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wayland_pointer: no compositor\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, nullptr);
    wl_display_roundtrip(display);
    if (!g_manager) {
        std::fprintf(stderr, "wayland_pointer: no virtual pointer offered\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g_manager, g_seat);
    Settle(display);
    zwlr_virtual_pointer_v1_motion_absolute(pointer, 0, number(argv[3]), number(argv[4]),
                                            number(argv[1]), number(argv[2]));
    zwlr_virtual_pointer_v1_frame(pointer);
    Settle(display);
    if (argc > 5) {
        const uint32_t button = std::string_view(argv[5]) == "right" ? 0x111 : 0x110;
        for (const auto state :
             {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            zwlr_virtual_pointer_v1_button(pointer, 0, button, state);
            zwlr_virtual_pointer_v1_frame(pointer);
        }
        Settle(display);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
