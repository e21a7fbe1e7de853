// An advisory lock between processes, held on a file of its own (flock, LockFileEx on Windows):
// what several processes read, change and write back in turns takes it first. The lock file is
// made where it is missing (readable by its user only) and never reached through a link.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace store {

class FileLock {
public:
    // Waits at most `patience` for the lock. nullopt when another process held it all that time
    // (it may be stopped, or hung), or the lock file cannot be opened.
    static std::optional<FileLock> Take(const std::string& path,
                                        std::chrono::milliseconds patience);
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    ~FileLock(); // lets go

private:
    explicit FileLock(intptr_t handle) : m_handle(handle) {}
    intptr_t m_handle; // a file descriptor, or a HANDLE on Windows; -1 when moved from
};

} // namespace store
