#include "store/backup_file.h"

#include "store/atomic_write.h"
#include "store/file_system.h"
#include "store/path_text.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace store {

std::string BackupName(const std::string& path, int number) {
    return number == 0 ? path + ".bak" : path + "." + std::to_string(number) + ".bak";
}

std::optional<std::string> KeepBackup(const std::string& path) {
    std::vector<std::string> kept;
    for (int number = 0; number < kMostBackups; ++number)
        if (FileExists(BackupName(path, number)))
            kept.push_back(BackupName(path, number));
    if (kept.size() == kMostBackups) {
        if (!DeleteFile(kept.front()))
            return std::nullopt;
        kept.erase(kept.begin());
    }
    for (size_t place = 0; place < kept.size(); ++place) {
        const std::string name = BackupName(path, int(place));
        std::error_code error;
        if (kept[place] != name)
            std::filesystem::rename(ToFsPath(kept[place]), ToFsPath(name), error);
        if (error)
            return std::nullopt;
    }
    const std::string target = BackupName(path, int(kept.size()));
    if (CopyFileAtomically(path, target, LinkRule::ReplaceLink) != WriteResult::Written)
        return std::nullopt;
    return target;
}

} // namespace store
