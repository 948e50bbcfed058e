#include "movie/movie_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/path_rules.h"
#include "core/text_rules.h"

namespace lt {

const std::array<SpeedPreset, 5> SpeedPresets = {{
    {"半速", 50},
    {"普通", 100},
    {"倍速", 200},
    {"参速", 300},
    {"迅速", 500},
}};

std::string GetField(std::string_view text, int n, std::string_view delimiter)
{
    if (n < 1)
        return {};
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        std::size_t p = delimiter.empty() ? std::string_view::npos : text.find(delimiter, start);
        if (p == std::string_view::npos)
            return {};
        start = p + delimiter.size();
    }
    std::size_t end = delimiter.empty() ? std::string_view::npos : text.find(delimiter, start);
    return std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string FileNameOf(std::string_view path)
{
    const std::size_t last = LastSeparator(path);
    return last == std::string_view::npos ? std::string() : std::string(path.substr(last + 1));
}

bool ModeIs(std::string_view reply, std::string_view mode)
{
    return reply.substr(0, mode.size()) == mode;
}

FrameSize ParseSourceRect(std::string_view reply)
{
    auto field = [&](int n) {
        double v = LeadingNumber(GetField(reply, n, " "));
        return static_cast<int>(std::min(std::fabs(v), 32767.0));
    };
    return {field(3), field(4)};
}

FrameSize MovieWindowSize(FrameSize frame)
{
    return {frame.Width + 7, frame.Height + 91};
}

std::string OpenTarget(std::string_view path, std::string_view shortPath)
{
    if (path.find(' ') == std::string_view::npos)
        return std::string(path);
    if (!shortPath.empty() && shortPath.find(' ') == std::string_view::npos)
        return std::string(shortPath);
    std::string quoted(1, '"');
    quoted.append(path).push_back('"');
    return quoted;
}

std::string OpenCommand(std::string_view target, std::uintptr_t parentWindow)
{
    return "open " + std::string(target) + " alias AVI nostatic parent " + std::to_string(parentWindow) +
           " style Child";
}

std::uintptr_t WindowHandleOfReply(std::string_view reply)
{
    const std::int64_t value = RoundHalfEven(LeadingNumber(reply));
    if (value < INT32_MIN || value > UINT32_MAX)
        return 0;
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(low));
}

std::string SeekCommand(int frame)
{
    return "seek AVI to " + std::to_string(frame);
}

std::string SpeedCommand(int movieSpeed)
{
    return "set AVI speed " + std::to_string(movieSpeed);
}

std::string SpeedCaption(int movieSpeed)
{
    return std::to_string(movieSpeed / 10) + "％";
}

bool AtEnd(double position, std::int32_t length)
{
    return length > 0 && position >= length - 1;
}

int PositionScale::BarMax() const
{
    return static_cast<int>(std::clamp<std::int32_t>(Length, 0, 32767));
}

int PositionScale::ToBar(double frame) const
{
    const int max = BarMax();
    if (max == 0)
        return 0;
    double bar = Length > max ? frame * max / Length : frame;
    return static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(bar), 0, max));
}

std::int32_t PositionScale::ToFrame(int bar) const
{
    const int max = BarMax();
    if (max == 0)
        return 0;
    std::int64_t frame = Length > max ? RoundHalfEven(static_cast<double>(bar) * Length / max) : bar;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(frame, 0, Length - 1));
}

MovieKeyCommand MovieKeyFor(int keyCode)
{
    switch (keyCode) {
    case 32: // Space
        return {MovieKey::PlayStop};
    case 36: // Home
        return {MovieKey::Rewind};
    case 37: // Left
        return {MovieKey::PositionBack};
    case 39: // Right
        return {MovieKey::PositionOn};
    case 38: // Up
        return {MovieKey::Faster};
    case 40: // Down
        return {MovieKey::Slower};
    default:
        break;
    }
    const int count = static_cast<int>(SpeedPresets.size());
    if (keyCode >= '1' && keyCode < '1' + count)
        return {MovieKey::Preset, keyCode - '1'};
    if (keyCode >= 97 && keyCode < 97 + count) // numeric pad 1
        return {MovieKey::Preset, keyCode - 97};
    return {};
}

bool KeyRepeats(MovieKey action)
{
    return action == MovieKey::PositionBack || action == MovieKey::PositionOn || action == MovieKey::Slower ||
           action == MovieKey::Faster;
}

int PositionKeyStep(int barMax)
{
    return std::max(barMax / 10, 1);
}

MovieLayout LayoutMovie(int clientWidth, int clientHeight)
{
    const int w = std::max(clientWidth, 0);
    const int h = std::max(clientHeight - 45, 0);
    MovieLayout l;
    l.Label1 = {8, 6, 77, 12};
    l.SpScroll = {92, 4, std::max(w - 92, 0), 16};
    l.PicAvi = {0, 24, w, h};
    l.LaRader = {0, h + 30, w, 12};
    l.SclPos = {80, h + 28, std::max(w - 80, 0), 16};
    l.LineEnd = w;
    return l;
}

} // namespace lt
