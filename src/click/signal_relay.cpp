#include "click/signal_relay.h"

#include "click/hot_key_rules.h"
#include "store/file_system.h"
#include "store/process_info.h"
#include "store/xml_document.h"

#include <filesystem>

namespace click {

// Only the first attribute and the press count matter, so a file of any number of attributes
// costs one pass over them.
SignalAttributes RootAttributes(const store::XmlDocument& document) {
    const store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    SignalAttributes named;
    const store::XmlNode first = attributes.item(0);
    if (!first)
        return named;
    named.emplace_back(first.nodeName(), first.text());
    if (named.front().first != kPressesAttribute)
        if (const store::XmlNode presses = attributes.getNamedItem(kPressesAttribute))
            named.emplace_back(kPressesAttribute, presses.text());
    return named;
}

bool StampSignalFile(const std::string& path, const std::string& stamp, uint64_t presses,
                     store::XmlDocument& document) {
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::regular)
        return false;
    if (!document.load(path, store::kSmallFileLimit))
        return false;
    const SignalAttributes named = RootAttributes(document);
    store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    store::XmlNode check = document.createAttribute("Check");
    check.setText(stamp);
    attributes.setNamedItem(check);
    store::XmlNode count = document.createAttribute(std::string(kPressesAttribute));
    count.setText(NextPressCount(named, presses));
    attributes.setNamedItem(count);
    // A link put in the file's place meanwhile is replaced, never written through.
    return document.save(path, store::LinkRule::ReplaceLink);
}

std::optional<SignalFiles> ListSignalFiles(const std::string& folder,
                                           const std::vector<uint64_t>& windows) {
    const auto files = store::GetFolder(folder);
    if (!files)
        return std::nullopt;
    const std::string host = store::HostName();
    SignalFiles found;
    for (const store::FolderFile& file : *files) {
        if (file.name.find(kSignalFileMark) == std::string::npos)
            continue;
        const std::optional<SignalFileOwner> owner = ReadSignalFileName(file.name);
        const bool running =
            owner && RunningCopysFile(*owner, host, windows, store::ProcessRunning);
        (running ? found.running : found.others).push_back(file.path);
    }
    return found;
}

std::optional<size_t> PressForEveryCopy(const std::string& folder) {
    const std::optional<SignalFiles> files = ListSignalFiles(folder, {});
    if (!files)
        return std::nullopt;
    store::XmlDocument document;
    const std::string stamp = PressStamp(SecondsSinceMidnight());
    size_t stamped = 0;
    for (const std::string& file : files->running)
        stamped += StampSignalFile(file, stamp, 1, document) ? 1 : 0;
    return stamped;
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

void SignalRelay::Relay(const std::vector<std::string>& running,
                        const std::vector<std::string>& others, const std::string& stamp) {
    {
        std::lock_guard lock(m_mutex);
        for (const std::string& file : running) {
            Waiting& waiting = m_running[file];
            if (const auto found = m_others.find(file); found != m_others.end()) {
                waiting.presses += found->second.presses;
                m_others.erase(found);
            }
            ++waiting.presses;
            waiting.stamp = stamp;
        }
        for (const std::string& file : others) {
            Waiting& waiting = m_running.count(file) ? m_running[file] : m_others[file];
            ++waiting.presses;
            waiting.stamp = stamp;
        }
    }
    m_changed.notify_all();
}

void SignalRelay::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_running.empty() && m_others.empty() && !m_busy; });
}

void SignalRelay::Run() {
    store::XmlDocument document;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock,
                       [this] { return m_ending || !m_running.empty() || !m_others.empty(); });
        // At the end only running copies still matter; a killed copy's file can wait.
        Queue& queue = !m_running.empty() ? m_running : m_others;
        if (queue.empty() || (m_ending && &queue == &m_others))
            return;
        const auto next = queue.begin();
        const std::string file = next->first;
        const Waiting waiting = next->second;
        queue.erase(next);
        m_busy = true;
        lock.unlock();
        StampSignalFile(file, waiting.stamp, waiting.presses, document);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace click
