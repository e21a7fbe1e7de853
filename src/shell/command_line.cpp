#include "shell/command_line.h"

#include "runtime/conversions.h"

#include <string>

namespace shell {

CommandLineWords ReadCommandLine(std::string_view commandLine) {
    const std::string text = runtime::ToLowerAscii(commandLine);
    const auto has = [&text](std::string_view word) {
        return text.find(word) != std::string::npos;
    };
    return {has("run"), has("event") || has("load"), has("terminate")};
}

} // namespace shell
