#include "music/music_rules.h"

#include <cstdio>

#include "core/path_rules.h"
#include "core/text_rules.h"

namespace lt {

namespace {
constexpr const char* NoTitle = "No Title";

std::string TrimBoth(std::string_view text)
{
    std::size_t b = 0;
    while (b < text.size() && text[b] == ' ')
        ++b;
    return TrimPadding(text.substr(b));
}
} // namespace

int ModeFromAnswer(std::string_view answer)
{
    if (answer.substr(0, 7) == "playing")
        return 1;
    if (answer.substr(0, 7) == "stopped")
        return 0;
    if (answer.substr(0, 6) == "paused")
        return 2;
    if (TrimPadding(answer).empty())
        return -1;
    return 0;
}

std::int32_t SecondsFromAnswer(std::string_view answer)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(LeadingNumber(answer)) / 1000);
}

std::uint32_t MidiVolumeWord(int volume)
{
    volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    const std::uint32_t x = static_cast<std::uint32_t>(volume) * 65535u / 100u;
    return x | (x << 16);
}

std::string MciPathArgument(std::string_view longPath, std::string_view shortPath)
{
    const std::string shortText = TrimPadding(shortPath);
    if (!shortText.empty() && shortText.find(' ') == std::string::npos)
        return shortText;
    std::string quoted;
    quoted.reserve(longPath.size() + 2);
    quoted.push_back('"');
    quoted.append(longPath);
    quoted.push_back('"');
    return quoted;
}

std::string MidiTitle(std::span<const std::uint8_t> file)
{
    if (file.size() < 22)
        return NoTitle;
    const std::int64_t trackLength =
        (std::int64_t(file[18]) << 24) | (file[19] << 16) | (file[20] << 8) | std::int64_t(file[21]);
    std::int64_t last = trackLength - 2;
    // The pattern needs four bytes; a length beyond the file is cut to it.
    const std::int64_t lastInFile = static_cast<std::int64_t>(file.size()) - 4;
    if (last > lastInFile)
        last = lastInFile;
    for (std::int64_t i = 0; i <= last; ++i) {
        if (file[i] != 0 || file[i + 1] != 0xFF || (file[i + 2] != 0x03 && file[i + 2] != 0x01))
            continue;
        const std::size_t n = file[i + 3];
        const std::size_t begin = static_cast<std::size_t>(i) + 4;
        const std::size_t end = std::min(file.size(), begin + n);
        if (n == 0)
            return NoTitle;
        const std::string text = TrimBoth(std::string(file.begin() + begin, file.begin() + end));
        return text.empty() ? NoTitle : text;
    }
    return NoTitle;
}

int ClampTempo(std::int32_t answer)
{
    return answer < 0 ? 0 : answer > kMaxTempo ? kMaxTempo : static_cast<int>(answer);
}

std::string FormatPlayTime(std::int32_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    return ZeroPad(std::to_string(seconds / 60), 2) + "：" + ZeroPad(std::to_string(seconds % 60), 2);
}

std::string FolderOf(std::string_view path)
{
    return FolderPrefix(path);
}

std::string PlayerTitle(const std::string& title, std::string_view path)
{
    if (title != NoTitle)
        return title;
    const std::size_t slash = LastSeparator(path);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Mp3DisplayTitle(std::string_view artist, std::string_view title)
{
    const std::string a = TrimPadding(CutAtNul(artist));
    const std::string t = TrimPadding(CutAtNul(title));
    if (!a.empty() && !t.empty())
        return a + " - " + t;
    if (!t.empty())
        return t;
    if (!a.empty())
        return a;
    return NoTitle;
}

} // namespace lt
