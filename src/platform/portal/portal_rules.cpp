#include "platform/portal/portal_rules.h"

#include "platform/backend_plan.h"
#include "store/atomic_write.h"
#include "store/file_read.h"
#include "store/file_system.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

namespace platform::portal {
namespace {

// How far a position lies outside a monitor, squared; 0 inside it. In floating point: the squares
// of two 32-bit distances overflow 64 bits.
double DistanceSquared(const Stream& stream, int32_t x, int32_t y) {
    const auto outside = [](int64_t value, int64_t low, int64_t size) -> int64_t {
        if (value < low)
            return low - value;
        return value >= low + size ? value - (low + size - 1) : 0;
    };
    const double dx = double(outside(x, stream.x, stream.width));
    const double dy = double(outside(y, stream.y, stream.height));
    return dx * dx + dy * dy;
}

bool IsTokenCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-_.:+/=").find(c) != std::string_view::npos;
}

constexpr size_t kLongestToken = 512;

} // namespace

std::optional<StreamPoint> MapToStream(const std::vector<Stream>& streams, int32_t x, int32_t y) {
    const Stream* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const Stream& stream : streams) {
        if (stream.width <= 0 || stream.height <= 0)
            continue;
        const double distance = DistanceSquared(stream, x, y);
        if (distance < bestDistance) {
            best = &stream;
            bestDistance = distance;
        }
    }
    if (!best)
        return std::nullopt;
    const int64_t localX = std::clamp<int64_t>(int64_t{x} - best->x, 0, best->width - 1);
    const int64_t localY = std::clamp<int64_t>(int64_t{y} - best->y, 0, best->height - 1);
    return StreamPoint{best->node, double(localX), double(localY)};
}

std::vector<ButtonChange> ButtonChanges(uint32_t flags) {
    struct Action {
        uint32_t flag;
        ButtonChange change;
    };
    static constexpr Action kActions[] = {
        {0x0002, {kBtnLeft, true}},   {0x0004, {kBtnLeft, false}},  {0x0008, {kBtnRight, true}},
        {0x0010, {kBtnRight, false}}, {0x0020, {kBtnMiddle, true}}, {0x0040, {kBtnMiddle, false}},
    };
    std::vector<ButtonChange> changes;
    for (const Action& action : kActions)
        if (flags & action.flag)
            changes.push_back(action.change);
    return changes;
}

std::string RefusalText(Refusal refusal, std::string_view detail) {
    std::string text;
    switch (refusal) {
    case Refusal::NoPortal:
        return std::string(kNoInputSynthesisText);
    case Refusal::NoAnswer:
        return "The desktop's portal (xdg-desktop-portal) is there but did not answer Zorvane in "
               "time; it may be stuck. Nothing was started. Press START to try again; if it "
               "still does not answer, log out and in again.";
    case Refusal::Denied:
        return "The desktop did not allow Zorvane to control the pointer, so nothing was "
               "clicked. Press START again and allow remote interaction when the desktop asks.";
    case Refusal::NoPointer:
        return "The desktop shared the screen with Zorvane but not the pointer, so it cannot "
               "click. Press START again and allow remote interaction when the desktop asks.";
    case Refusal::Failed:
        text = "The desktop's remote-desktop portal could not start a session for Zorvane";
        break;
    case Refusal::Closed:
        text = "The desktop ended Zorvane's remote-desktop session before it could click";
        break;
    case Refusal::Ended:
        text = "The desktop ended Zorvane's remote-desktop session while it was clicking, so "
               "the run was stopped";
        break;
    case Refusal::StillAsking:
        return "The desktop is still asking whether Zorvane may click. Answer its question "
               "first.";
    }
    if (!detail.empty())
        text.append(" (").append(detail).append(")");
    return text + ". Press START to ask the desktop again.";
}

std::optional<std::string> ParseRestoreToken(std::string_view bytes) {
    if (!bytes.empty() && bytes.back() == '\n')
        bytes.remove_suffix(1);
    if (bytes.empty() || bytes.size() > kLongestToken ||
        !std::all_of(bytes.begin(), bytes.end(), IsTokenCharacter))
        return std::nullopt;
    return std::string(bytes);
}

std::optional<std::string> ReadRestoreToken(const std::string& folder) {
    std::string bytes;
    if (store::ReadWholeFile(store::BuildPath(folder, kRestoreTokenFileName), bytes,
                             kLongestToken + 1) != store::ReadResult::Read)
        return std::nullopt;
    return ParseRestoreToken(bytes);
}

bool KeepRestoreToken(const std::string& folder, const std::string& token) {
    const std::string path = store::BuildPath(folder, kRestoreTokenFileName);
    if (token.empty())
        return !store::FileExists(path) || store::DeleteFile(path);
    if (ParseRestoreToken(token) != token)
        return false;
    const store::WriteResult written =
        store::ReplacePrivateFile(path, token + "\n", store::LinkRule::ReplaceLink);
    static bool told = false;
    if (written == store::WriteResult::NotRegularFile && !std::exchange(told, true))
        std::fprintf(stderr,
                     "zorvane: %s is not a regular file, so the desktop's leave to click cannot "
                     "be kept there; remove it to let the next runs skip the desktop's question\n",
                     path.c_str());
    return written == store::WriteResult::Written;
}

std::string InstanceBusName(std::string_view configFolder) {
    // FNV-1a, 64 bits: stable across runs and builds, unlike std::hash.
    uint64_t hash = 14695981039346656037ull;
    for (const char c : configFolder) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("org.zorvane.Zorvane.i") + digits;
}

std::string PreferredTrigger(uint32_t virtualKey) {
    // The shortcuts naming takes key names as keysyms: the lower-case letter.
    return std::string("CTRL+ALT+") + char(virtualKey - 'A' + 'a');
}

std::string ShortcutSessionToken(uint32_t virtualKey) {
    return std::string("zorvane_") + char(virtualKey - 'A' + 'a');
}

} // namespace platform::portal
