// The owner's relay of a hot-key press to the other running copies: it stamps their signal files
// on a thread of its own, so that a folder full of files left by killed copies never holds up the
// window. Files of copies known to be running are stamped first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace store {
class XmlDocument;
}

namespace click {

// Stamps one signal file with a press: "Check" takes the stamp and "Presses" one more than it
// held. Only a regular file is stamped, never one reached through a link. False when the file was
// left alone.
bool StampSignalFile(const std::string& path, const std::string& stamp,
                     store::XmlDocument& document);

class SignalRelay {
public:
    SignalRelay();
    // Stamps what is still queued for the copies known to be running, then ends.
    ~SignalRelay();
    SignalRelay(const SignalRelay&) = delete;
    SignalRelay& operator=(const SignalRelay&) = delete;

    // Queues one press for these files, in this order; the first `running` of them belong to
    // copies known to be running.
    void Relay(std::vector<std::string> files, std::size_t running, std::string stamp);
    // Waits until every queued press is stamped.
    void Wait();

private:
    struct Press {
        std::vector<std::string> files;
        std::size_t running;
        std::string stamp;
    };

    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Press> m_queue;
    bool m_busy = false;
    std::atomic<bool> m_ending{false};
    std::thread m_thread; // last: starts once the rest is in place
};

} // namespace click
