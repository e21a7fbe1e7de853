// What the location picker may ask of the main window it picks for: stepping aside while the
// picker is open and coming back when it closes, the live coordinates, the pointer and a picture
// of the screen. Where the picked point goes (the main window's boxes, an event row) is the main
// window's matter.
#pragma once

class QWidget;

namespace click {
class cMouse;
}
namespace platform {
class ScreenCaptureService;
}

class PickerOwner {
public:
    virtual ~PickerOwner() = default;

    // The main window: the hole in the picker is cut where it stands.
    virtual QWidget& Window() = 0;
    virtual click::cMouse& Mouse() = 0;
    // Nothing where the session lets no program see the screen.
    virtual platform::ScreenCaptureService* ScreenCapture() const = 0;

    // Opening: the hot key is not served, and the window takes its picking height with Locate
    // and Start disabled.
    virtual void BeginPicking() = 0;
    // The picker covers the screen: the coordinate boxes follow the pointer.
    virtual void ShowCoordinatesLive() = 0;
    // The pointer was seen somewhere new: the coordinate boxes show it at once.
    virtual void ShowPointerPosition() = 0;
    // Closing: the boxes keep the last position; the window gets back its height, its buttons
    // and its hot key, and hands the position to whatever the picker served.
    virtual void EndPicking() = 0;
};
