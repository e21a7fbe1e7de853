// The application manifest that turns on the system's visual styles for the next process started
// from the executable: its path beside the executable and its text.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// The folder, one separator (none added when the folder already ends in one), the executable's
// name without extension, ".exe.manifest". The separator is the platform's; a folder ending in
// either separator counts.
std::string ManifestPath(std::string_view folder, std::string_view exeName);

// The manifest text with its placeholders replaced, in this order and each case-sensitively:
// EXENAME (exeName followed by ".exe"), EXEVERSION (major.minor.revision.0), EXEDESCRIPTION,
// COMPANYNAME (inserted verbatim).
std::string ManifestText(std::string_view exeName, int major, int minor, int revision,
                         std::string_view description, std::string_view company);

} // namespace shell
