#include "click/hot_key.h"

#include "click/hot_key_rules.h"
#include "click/signal_relay.h"
#include "store/file_system.h"
#include "store/process_info.h"

namespace click {

HotKey::HotKey(platform::HotKeyService& service, std::string folder)
    : m_service(service), m_folder(std::move(folder)), m_processId(store::CurrentProcessId()),
      m_hostName(store::HostName()) {}

bool HotKey::SetHotKeyLetter(std::string_view sKey) {
    const auto code = HotKeyCode(sKey);
    if (!code)
        return false;
    numHotKeyCode = *code;
    return true;
}

void HotKey::RegisterGlobalHotKey() {
    if (hwndHotKey == 0 || numHotKeyCode < 'A' || numHotKeyCode > 'Z')
        return;
    numRegisterResult = m_service.RegisterHotKey(hwndHotKey, kHotKeyId, kHotKeyModifiers,
                                                 static_cast<uint32_t>(numHotKeyCode));
    bUnregistered = false;
}

void HotKey::UnregisterGlobalHotKey() {
    if (hwndHotKey == 0)
        return;
    bUnregistered = true;
    m_service.UnregisterHotKey(hwndHotKey, kHotKeyId);
}

bool HotKey::PollHotKey() {
    if (hwndHotKey == 0)
        return false;
    if (numRegisterResult == 1)
        return !bUnregistered && m_service.PollHotKey(hwndHotKey, kHotKeyId);
    return WatcherPoll();
}

bool HotKey::PollSignalFile() {
    return hwndHotKey != 0 && WatcherPoll();
}

void HotKey::DiscardPresses() {
    // A bounded drain: a backend that always reports a press cannot hold the window here.
    for (int i = 0; i < 64 && PollHotKey(); ++i) {
    }
    if (Owner())
        PollSignalFile();
}

std::string HotKey::SignalFilePath() const {
    return store::BuildPath(m_folder, SignalFileName(hwndHotKey, m_processId, m_hostName));
}

void HotKey::CreateSignalFile() {
    store::TextStream file = store::CreateTextFile(SignalFilePath(), store::LinkRule::ReplaceLink);
    for (const std::string& line : SignalFileLines(m_lastPress))
        file.WriteLine(line);
    file.Close();
    m_hasSignalFile = true;
}

void HotKey::DeleteSignalFile() {
    m_hasSignalFile = false;
    const std::string path = SignalFilePath();
    if (store::FileExists(path))
        store::DeleteFile(path);
}

bool HotKey::WatcherPoll() {
    const std::string path = SignalFilePath();
    const auto version = store::GetFileVersion(path);
    if (!version && m_hasSignalFile) {
        CreateSignalFile();
        m_signalVersion = store::GetFileVersion(path);
        return false;
    }
    if (version && version == m_signalVersion)
        return false;
    m_signalVersion = version;
    if (!objSignalDoc.load(path, store::kSmallFileLimit))
        return false;
    return NewPresses(RootAttributes(objSignalDoc), m_lastPress) % 2 == 1;
}

} // namespace click
