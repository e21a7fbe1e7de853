#include "click/hot_key.h"

#include "click/hot_key_rules.h"
#include "store/file_system.h"

namespace click {

HotKey::HotKey(platform::HotKeyService& service, std::string folder)
    : m_service(service), m_folder(std::move(folder)) {}

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

std::string HotKey::SignalFilePath() const {
    return store::BuildPath(m_folder, SignalFileName(hwndHotKey));
}

bool HotKey::WatcherPoll() {
    const std::string path = SignalFilePath();
    const auto version = store::GetFileVersion(path);
    if (version && version == m_signalVersion)
        return false;
    m_signalVersion = version;
    if (!objSignalDoc.load(path, store::kSmallFileLimit))
        return false;
    const store::XmlNamedNodeMap attributes = objSignalDoc.documentElement().attributes();
    std::vector<std::pair<std::string, std::string>> named;
    if (attributes.length() > 0) // only the first one counts
        named.emplace_back(attributes.item(0).nodeName(), attributes.item(0).text());
    const auto stamp = NewPressStamp(named, strLastCheck);
    if (!stamp)
        return false;
    strLastCheck = *stamp;
    return true;
}

} // namespace click
