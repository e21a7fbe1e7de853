#include "shell/folders.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace shell {
namespace {

bool Absolute(const std::string& path) {
    return !path.empty() && std::filesystem::path(path).is_absolute();
}

} // namespace

FolderFacts ReadFolderFacts(const std::string& exeFolder) {
    FolderFacts facts;
    facts.exeFolder = exeFolder;
#ifdef _WIN32
    facts.exeFolderWritable = _access(exeFolder.c_str(), 2) == 0;
#else
    facts.exeFolderWritable = access(exeFolder.c_str(), W_OK) == 0;
#endif
    std::error_code error;
    facts.dataBeside = std::filesystem::is_directory(InstalledDataFolder(exeFolder), error);
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    facts.xdgConfigHome = xdg ? xdg : "";
    facts.home = home ? home : "";
    return facts;
}

bool MakeConfigFolder(const std::string& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return true;
    std::filesystem::create_directories(folder, error);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, error);
    return std::filesystem::is_directory(folder, error);
}

std::optional<std::string> UntrustedConfigFolder(const std::string& folder) {
#ifdef _WIN32
    (void)folder; // a user's profile folders are kept the user's by their access lists
    return std::nullopt;
#else
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return std::nullopt;
    const std::string fix = ", so it is not used. Make it yours, writable by you alone "
                            "(chmod 700), or remove it.";
    if (info.st_uid != ::geteuid())
        return "The settings folder " + folder + " belongs to another user" + fix;
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "The settings folder " + folder + " may be written by other users" + fix;
    return std::nullopt;
#endif
}

std::string InstalledDataFolder(const std::string& exeFolder) {
    return (std::filesystem::path(exeFolder).parent_path() / "share" / "zorvane")
        .lexically_normal()
        .string();
}

std::optional<Folders> DecideFolders(const FolderFacts& facts) {
    if (!facts.dataBeside && facts.exeFolderWritable)
        return Folders{facts.exeFolder, facts.exeFolder, true};
    const std::string data =
        facts.dataBeside ? InstalledDataFolder(facts.exeFolder) : facts.exeFolder;
    // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and ignored.
    if (Absolute(facts.xdgConfigHome))
        return Folders{(std::filesystem::path(facts.xdgConfigHome) / "zorvane").string(), data};
    if (Absolute(facts.home))
        return Folders{(std::filesystem::path(facts.home) / ".config" / "zorvane").string(), data};
    return std::nullopt;
}

} // namespace shell
