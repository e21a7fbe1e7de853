#include "shell/manifest.h"

#include <array>

namespace shell {
namespace {

// The lines of the manifest; a line's trailing blank is part of it.
constexpr std::array<std::string_view, 22> kLines{{
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?> )",
    R"(<assembly )",
    R"(   xmlns="urn:schemas-microsoft-com:asm.v1" )",
    R"(   manifestVersion="1.0">)",
    R"(<assemblyIdentity )",
    R"(    processorArchitecture="x86" )",
    R"(    version="EXEVERSION")",
    R"(    type="win32")",
    R"(    name="COMPANYNAME.EXENAME"/>)",
    R"(    <description>EXEDESCRIPTION</description>)",
    R"(    <dependency>)",
    R"(    <dependentAssembly>)",
    R"(    <assemblyIdentity)",
    R"(         type="win32")",
    R"(         name="Microsoft.Windows.Common-Controls")",
    R"(         version="6.0.0.0")",
    R"(         publicKeyToken="6595b64144ccf1df")",
    R"(         language="*")",
    R"(         processorArchitecture="x86"/>)",
    R"(    </dependentAssembly>)",
    R"(    </dependency>)",
    R"(</assembly>)",
}};

void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

} // namespace

std::string ManifestPath(std::string_view folder, std::string_view exeName) {
    std::string path(folder);
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path += kSeparator;
    return path + std::string(exeName) + ".exe.manifest";
}

std::string ManifestText(std::string_view exeName, int major, int minor, int revision,
                         std::string_view description, std::string_view company) {
    std::string text;
    for (std::string_view line : kLines) {
        text += line;
        text += "\r\n";
    }
    ReplaceAll(text, "EXENAME", std::string(exeName) + ".exe");
    ReplaceAll(text, "EXEVERSION",
               std::to_string(major) + "." + std::to_string(minor) + "." +
                   std::to_string(revision) + ".0");
    ReplaceAll(text, "EXEDESCRIPTION", description);
    ReplaceAll(text, "COMPANYNAME", company);
    return text;
}

} // namespace shell
