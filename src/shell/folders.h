// Where the program's files live. A copy whose folder it may write to keeps everything beside
// itself (the portable mode); an installed copy keeps what it writes in the user's configuration
// folder and reads its help text and icon themes from the installed data folder. Toolkit-free:
// the caller gathers the facts, this decides.
#pragma once

#include <optional>
#include <string>

namespace shell {

struct FolderFacts {
    std::string exeFolder;          // the executable's folder, absolute
    bool exeFolderWritable = false; // this user may create files there
    bool dataBeside = false;        // <exeFolder>/../share/zorvane exists: an installed copy
    std::string xdgConfigHome;      // $XDG_CONFIG_HOME, empty when unset
    std::string home;               // $HOME, empty when unset
};

struct Folders {
    std::string config; // config.xml, events.xml, the signal files, the manifest
    std::string data;   // Zorvane.txt, IconThemes/
    bool portable = false;
};

// nullopt: an installed copy with no usable configuration folder (neither $XDG_CONFIG_HOME nor
// $HOME set to an absolute path). An installed copy is never portable, even where it may write
// beside itself (root may write to /usr/bin).
std::optional<Folders> DecideFolders(const FolderFacts& facts);

// The facts about this machine, read from the file system and the environment.
FolderFacts ReadFolderFacts(const std::string& exeFolder);

// Makes the configuration folder, readable by its user alone, when it is not there yet (with its
// parents). False when it is not there and cannot be made.
bool MakeConfigFolder(const std::string& folder);

// What makes an existing configuration folder unsafe to use, for the user; nullopt when it is
// not there yet, or belongs to this user and no one else may write in it. Whoever else may write
// there could plant a link that makes the program overwrite one of this user's files (as ssh
// asks of ~/.ssh).
std::optional<std::string> UntrustedConfigFolder(const std::string& folder);

// The installed data folder of an executable in <prefix>/bin: <prefix>/share/zorvane.
std::string InstalledDataFolder(const std::string& exeFolder);

} // namespace shell
