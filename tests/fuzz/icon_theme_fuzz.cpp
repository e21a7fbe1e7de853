// Any bytes taken as an icon theme file: the theme reads without fault within its limits, the same
// way twice, and the same from a file as from memory; its frames fill picture slots and step
// through them without leaving the list.
#include "fuzz_support.h"
#include "store/xml_document.h"
#include "tray/icon_theme.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Some paths exist and some do not, some only in the data folder; no file system involved.
bool FakeExists(const std::string& path) {
    return !path.empty() && path.size() % 3 != 0;
}

void ExpectSound(const tray::FrameSequence& sequence, int previous) {
    fuzz::Expect(sequence.frames.size() <= tray::kMostFrames);
    for (const std::string& frame : sequence.frames)
        fuzz::Expect(FakeExists(frame));
    const int interval = sequence.interval;
    fuzz::Expect(interval == previous || interval == tray::kStillInterval ||
                 (interval >= tray::kShortestInterval && interval <= tray::kLongestInterval));
}

void StepThrough(const std::vector<std::string>& frames) {
    std::vector<bool> loaded;
    for (const std::string& frame : frames)
        loaded.push_back(frame.size() % 2 == 1);
    const auto pictureSlots = tray::ArrangeSlots(loaded);
    fuzz::Expect(!pictureSlots.empty() && pictureSlots.size() <= frames.size() + 1);
    std::size_t index = 0;
    for (std::size_t tick = 0; tick <= pictureSlots.size(); ++tick) {
        index = tray::NextFrameIndex(index, pictureSlots.size(), tick == 0);
        fuzz::Expect(index < pictureSlots.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    store::XmlDocument document;
    const bool loads = document.loadBytes(bytes);

    // From a file, against the real file system: it loads exactly when the bytes do.
    const std::string file = fuzz::ScratchFile("theme.xml");
    fuzz::WriteFile(file, bytes);
    tray::IconTheme fromFile;
    const tray::ThemeLoad load = tray::LoadIconTheme(file, fuzz::ScratchFolder(), fromFile);
    fuzz::Expect(load == (loads ? tray::ThemeLoad::Loaded : tray::ThemeLoad::Damaged));
    if (!loads)
        return 0;

    tray::IconTheme theme;
    theme.running.interval = tray::kStillInterval;
    tray::ReadIconTheme(document, "/data", FakeExists, theme);
    ExpectSound(theme.idle, tray::kFirstInterval);
    ExpectSound(theme.running, tray::kStillInterval);

    tray::IconTheme again = theme;
    again.running.interval = tray::kStillInterval;
    again.idle.interval = tray::kFirstInterval;
    tray::ReadIconTheme(document, "/data", FakeExists, again);
    fuzz::Expect(again.idle.frames == theme.idle.frames &&
                 again.running.frames == theme.running.frames);
    fuzz::Expect(again.idle.interval == theme.idle.interval &&
                 again.running.interval == theme.running.interval);
    fuzz::Expect(fromFile.idle.interval == theme.idle.interval);

    StepThrough(theme.idle.frames);
    StepThrough(theme.running.frames);
    return 0;
}
