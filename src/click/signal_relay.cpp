#include "click/signal_relay.h"

#include "click/hot_key_rules.h"
#include "store/xml_document.h"

#include <filesystem>

namespace click {

bool StampSignalFile(const std::string& path, const std::string& stamp,
                     store::XmlDocument& document) {
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::regular)
        return false;
    if (!document.load(path))
        return false;
    store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    SignalAttributes named;
    for (std::size_t i = 0; i < attributes.length(); ++i)
        named.emplace_back(attributes.item(i).nodeName(), attributes.item(i).text());
    store::XmlNode check = document.createAttribute("Check");
    check.setText(stamp);
    attributes.setNamedItem(check);
    store::XmlNode presses = document.createAttribute(std::string(kPressesAttribute));
    presses.setText(NextPressCount(named));
    attributes.setNamedItem(presses);
    return document.save(path);
}

SignalRelay::SignalRelay() : m_thread([this] { Run(); }) {}

SignalRelay::~SignalRelay() {
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void SignalRelay::Relay(std::vector<std::string> files, std::size_t running, std::string stamp) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back({std::move(files), running, std::move(stamp)});
    }
    m_changed.notify_all();
}

void SignalRelay::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

void SignalRelay::Run() {
    store::XmlDocument document;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_ending || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Press press = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        for (std::size_t i = 0; i < press.files.size(); ++i) {
            // At the end only running copies still matter; a killed copy's file can wait.
            if (i >= press.running && m_ending)
                break;
            StampSignalFile(press.files[i], press.stamp, document);
        }
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace click
