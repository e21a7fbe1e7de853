// HotKey: the registration of CTRL + ALT + the letter for the main window, and the polling that
// tells the main window about a press. The copy that owns the hot key hears it from the system;
// every other copy (a watcher) reads its signal file, which the owner stamps at each press.
#pragma once

#include "click/hot_key_rules.h"
#include "platform/hot_key_service.h"
#include "store/file_system.h"
#include "store/xml_document.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace click {

class HotKey {
public:
    // folder: where the signal files live (the executable's folder).
    HotKey(platform::HotKeyService& service, std::string folder);

    // Takes the first character of the text, upper-cased, as the letter when it is A to Z.
    // False, and nothing changes, for anything else (the empty text too).
    bool SetHotKeyLetter(std::string_view sKey);
    void RegisterGlobalHotKey();
    void UnregisterGlobalHotKey();
    // True when a press has been seen since the last poll. A watcher that missed several
    // presses answers whether an odd number of them came: it ends as the owner did.
    bool PollHotKey();
    // The owner's own signal file: true when a press from outside (zorvane --toggle) stamped it
    // since the last look. It is not relayed: every copy's file was stamped.
    bool PollSignalFile();
    // Takes every press that came while the hot key was not served, and acts on none of them.
    void DiscardPresses();
    // `pressed` is called when the system's hot key was pressed (see HotKeyService).
    void WhenPressed(std::function<void()> pressed) { m_service.WhenPressed(std::move(pressed)); }

    char Letter() const { return static_cast<char>(numHotKeyCode); }
    bool Owner() const { return numRegisterResult == 1; }
    int32_t RegisterResult() const { return numRegisterResult; }
    void SetWindow(platform::WindowHandle window) { hwndHotKey = window; }
    platform::WindowHandle Window() const { return hwndHotKey; }
    // This copy's signal file, whether or not it exists.
    std::string SignalFilePath() const;
    // Makes this copy's signal file, its own: a link planted at its name is replaced, not
    // written through. From then on a poll that finds it gone (deleted from outside) makes it
    // again, so that the presses after that still reach this copy.
    void CreateSignalFile();
    // Deletes it, at the program's end.
    void DeleteSignalFile();

private:
    bool WatcherPoll();

    platform::HotKeyService& m_service;
    std::string m_folder;
    // What names this copy's signal file besides its window, taken once: a host renamed while the
    // program runs must not lose the file.
    long m_processId;
    std::string m_hostName;
    platform::WindowHandle hwndHotKey = 0;
    int16_t numHotKeyCode = 'C';
    int32_t numRegisterResult = 0;
    bool bUnregistered = false;
    PressState m_lastPress;
    bool m_hasSignalFile = false;
    store::XmlDocument objSignalDoc;
    // The version of the signal file last read: an unchanged file holds no new stamp, so it is
    // not read again (polled 20 times a second, this keeps an idle watcher idle).
    std::optional<store::FileVersion> m_signalVersion;
};

} // namespace click
