#include "click/signal_relay.h"

#include "click/hot_key_rules.h"
#include "store/file_lock.h"
#include "store/file_system.h"
#include "store/path_text.h"
#include "store/process_info.h"
#include "store/xml_document.h"

#include <cstdio>
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

namespace {

constexpr std::chrono::seconds kLockPatience{2};

} // namespace

Stamp StampSignalFile(const std::string& path, const std::string& stamp, uint64_t presses,
                      store::XmlDocument& document) {
    const std::filesystem::path file = store::ToFsPath(path);
    const auto lock = store::FileLock::Take(
        store::PathText(file.parent_path() / std::string(kSignalLockName)), kLockPatience);
    if (!lock)
        return Stamp::Locked;
    std::error_code error;
    if (std::filesystem::symlink_status(file, error).type() != std::filesystem::file_type::regular)
        return Stamp::LeftAlone;
    if (!document.load(path, store::kSmallFileLimit))
        return Stamp::LeftAlone;
    const SignalAttributes named = RootAttributes(document);
    store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    store::XmlNode check = document.createAttribute("Check");
    check.setText(stamp);
    attributes.setNamedItem(check);
    store::XmlNode count = document.createAttribute(std::string(kPressesAttribute));
    count.setText(NextPressCount(named, presses));
    attributes.setNamedItem(count);
    // A link put in the file's place meanwhile is replaced, never written through.
    return document.save(path, store::LinkRule::ReplaceLink) ? Stamp::Stamped : Stamp::LeftAlone;
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

std::optional<Pressed> PressForEveryCopy(const std::string& folder) {
    const std::optional<SignalFiles> files = ListSignalFiles(folder, {});
    if (!files)
        return std::nullopt;
    store::XmlDocument document;
    const std::string stamp = PressStamp(SecondsSinceMidnight());
    Pressed pressed;
    for (const std::string& file : files->running) {
        const Stamp outcome = StampSignalFile(file, stamp, 1, document);
        pressed.stamped += outcome == Stamp::Stamped ? 1 : 0;
        pressed.locked += outcome == Stamp::Locked ? 1 : 0;
    }
    return pressed;
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
        const Stamp outcome = StampSignalFile(file, waiting.stamp, waiting.presses, document);
        lock.lock();
        // Held by a stopped or hung stamper: what waits would wait as long, one file after the
        // other. It is given up, and said so.
        if (outcome == Stamp::Locked) {
            std::fprintf(stderr,
                         "zorvane: the signal files stayed locked by another process; %zu "
                         "copies did not hear the hot key\n",
                         m_running.size() + m_others.size() + 1);
            m_running.clear();
            m_others.clear();
        }
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace click
