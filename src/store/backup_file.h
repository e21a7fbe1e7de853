// Damaged files kept before the program replaces them. The first backup of a file is
// "<file>.bak", the next ones "<file>.1.bak" to "<file>.9.bak", oldest first: a backup never
// replaces another, and with ten kept the oldest goes to make room.
#pragma once

#include <optional>
#include <string>

namespace store {

inline constexpr int kMostBackups = 10;

// The name of backup `number` (0 the first) of the file at path.
std::string BackupName(const std::string& path, int number);

// Copies the file at path to the next backup and answers the backup's name. The backups there
// are first move to the lowest names, oldest first, so that no gap is left. nullopt when room
// could not be made or the copy failed; the file itself is never touched.
std::optional<std::string> KeepBackup(const std::string& path);

} // namespace store
