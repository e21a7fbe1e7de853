#include "platform/qt/qt_visual_styles.h"

#include "platform/qt/qt_factories.h"

#include "platform/qt/toolkit_style.h"

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

bool QtVisualStyles::IsVisualStyleSystem() {
    return ModernStyleAvailable();
}

bool QtVisualStyles::ThemeLibraryPresent() {
    return ModernStyleAvailable();
}

bool QtVisualStyles::IsThemeActive() {
    return ModernStyleAvailable();
}

// The file systems here have no hidden or system attributes.
void QtVisualStyles::MarkHiddenSystem(const std::string& /*path*/) {}

// Only a regular file itself is made writable: a link is never followed, so a link planted in the
// manifest's place cannot make another file writable.
void QtVisualStyles::ClearAttributes(const std::string& path) {
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        ::fchmod(fd, (info.st_mode & 07777) | S_IWUSR);
    ::close(fd);
#else
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error)))
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
#endif
}

std::unique_ptr<VisualStyles> CreateToolkitVisualStyles() {
    return std::make_unique<QtVisualStyles>();
}

} // namespace platform
