// Test-only: saves a settings file over and over until killed, so that a test can kill it at any
// moment of a save. Usage: store_settings_writer SETTINGS_FILE
// Values alternate between a short and a long text so that the file changes size on every save.
// Prints one line per completed save; exits with 1 when a save fails.
#include "store/settings_file.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    const std::string file = argv[1];
    const std::string longText(4000, 'x');
    for (unsigned long save = 0;; ++save) {
        const bool odd = save % 2 != 0;
        if (!store::SetConfigValue(file, "Loop", odd ? longText : "1") ||
            !store::SetConfigValue(file, "Delay", odd ? "0" : std::to_string(save))) {
            std::fprintf(stderr, "save %lu failed\n", save);
            return 1;
        }
        std::printf("%lu\n", save);
        std::fflush(stdout);
    }
}
