// The owner's relay of a hot-key press to the other running copies: it stamps their signal files
// on a thread of its own, so that a folder full of files left by killed copies never holds up the
// window. The files of copies known to be running go first, at every press; the others are
// stamped when there is time, several presses at once if need be.
#pragma once

#include "click/hot_key_rules.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace store {
class XmlDocument;
}

namespace click {

// What the hot-key rules read of a signal file's root: its first attribute and, after it, the
// press count where there is one.
SignalAttributes RootAttributes(const store::XmlDocument& document);

// Stamps one signal file with presses: "Check" takes the stamp and "Presses" grows by their
// number, under the folder's signal lock. Only a regular file is stamped, never one reached
// through a link. Locked: another process held the lock for two seconds (a stopped or hung
// stamper), and the file was left alone.
enum class Stamp { Stamped, LeftAlone, Locked };
Stamp StampSignalFile(const std::string& path, const std::string& stamp, uint64_t presses,
                      store::XmlDocument& document);

// The signal files in a folder, every file whose name holds "_HotKey": those of copies that run
// now, and the others (left by killed copies, or named so by hand).
struct SignalFiles {
    std::vector<std::string> running;
    std::vector<std::string> others;
};
// `windows`: the top-level windows there are, which tell whether an older copy's file (or another
// host's) is a running copy's. nullopt when the folder cannot be read.
std::optional<SignalFiles> ListSignalFiles(const std::string& folder,
                                           const std::vector<uint64_t>& windows);

// A press of the shared hot key from outside (zorvane --toggle): every running copy's signal file
// is stamped once, and each copy toggles within its poll. Files of copies that no longer run are
// left alone. How many were stamped, and how many stayed locked; nullopt when the folder cannot
// be read.
struct Pressed {
    size_t stamped = 0;
    size_t locked = 0;
};
std::optional<Pressed> PressForEveryCopy(const std::string& folder);

class SignalRelay {
public:
    SignalRelay();
    // Stamps what is still waiting for the copies known to be running, then ends.
    ~SignalRelay();
    SignalRelay(const SignalRelay&) = delete;
    SignalRelay& operator=(const SignalRelay&) = delete;

    // One press for each of these files; `running` are those of copies known to be running.
    void Relay(const std::vector<std::string>& running, const std::vector<std::string>& others,
               const std::string& stamp);
    // Waits until every press is stamped.
    void Wait();

private:
    struct Waiting {
        uint64_t presses = 0;
        std::string stamp;
    };
    using Queue = std::map<std::string, Waiting>;

    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    Queue m_running;
    Queue m_others;
    bool m_busy = false;
    std::atomic<bool> m_ending{false};
    std::thread m_thread; // last: starts once the rest is in place
};

} // namespace click
