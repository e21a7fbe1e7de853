// Paths as the program holds them (UTF-8 text) and as the file system takes them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace store {

// The file-system path named by a UTF-8 path text, taken as written (no separator changes).
std::filesystem::path ToFsPath(std::string_view pathText);

// The UTF-8 text of a file-system path.
std::string PathText(const std::filesystem::path& path);

} // namespace store
