#include "core/settings_rules.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/text_rules.h"

namespace lt {

namespace {

constexpr const char* DefaultFontName = "ＭＳ 明朝";

template <typename T> T Clamp(std::int64_t value)
{
    return static_cast<T>(
        std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

std::int64_t Numeric(std::string_view text)
{
    return RoundHalfEven(LeadingNumber(text));
}

bool Is(const SettingKey& key, const char* name)
{
    return std::strcmp(key.Key, name) == 0;
}

} // namespace

const std::vector<SettingKey>& SettingKeys()
{
    static const std::vector<SettingKey> keys = {
        {"System", "XPos", "0", 20, Conversion::Numeric32},
        {"System", "YPos", "0", 20, Conversion::Numeric32},
        {"System", "XStart", "0", 20, Conversion::Numeric32},
        {"System", "YStart", "0", 20, Conversion::Numeric32},
        {"System", "XEnd", "4695", 20, Conversion::Numeric32},
        {"System", "YEnd", "0", 20, Conversion::Numeric32},
        {"System", "Visible", "1", 20, Conversion::Numeric16},
        {"System", "MidiDevice", "-1", 20, Conversion::Numeric16},
        {"System", "ErrorWait", "0", 20, Conversion::Numeric32},
        {"Title", "FontName", DefaultFontName, 100, Conversion::Trimmed},
        {"Title", "FontSize", "11", 4, Conversion::Whole16},
        {"Title", "FontItalic", "0", 4, Conversion::IsOne},
        {"Title", "FontBold", "0", 4, Conversion::IsOne},
        {"MusicPlayer", "Volume", "100", 4, Conversion::Numeric16},
    };
    return keys;
}

void ApplySetting(Settings& s, const SettingKey& key, std::string_view raw)
{
    // The read buffer is pre-filled with blanks; only the text up to the
    // terminator is the value.
    const std::string value = CutAtNul(raw);
    switch (key.Convert) {
    case Conversion::Numeric32: {
        const auto v = Clamp<std::int32_t>(Numeric(value));
        if (Is(key, "XPos"))
            s.XPos = v;
        else if (Is(key, "YPos"))
            s.YPos = v;
        else if (Is(key, "XStart"))
            s.XStart = v;
        else if (Is(key, "YStart"))
            s.YStart = v;
        else if (Is(key, "XEnd"))
            s.XEnd = v;
        else if (Is(key, "YEnd"))
            s.YEnd = v;
        else if (Is(key, "ErrorWait"))
            s.ErrorWait = ClampErrorWait(v);
        break;
    }
    case Conversion::Numeric16: {
        const auto v = Clamp<std::int16_t>(Numeric(value));
        if (Is(key, "Visible"))
            s.Visible = v;
        else if (Is(key, "MidiDevice"))
            s.MidiDevice = v;
        else if (Is(key, "Volume"))
            s.Volume = v;
        break;
    }
    case Conversion::Whole16: {
        // Text that is not a number leaves the key's default in force.
        const auto number = WholeNumber(value);
        const auto v = Clamp<std::int16_t>(number ? RoundHalfEven(*number) : Numeric(key.Default));
        if (Is(key, "FontSize"))
            s.FontSize = v;
        break;
    }
    case Conversion::IsOne: {
        const auto number = WholeNumber(value);
        const bool v = number && RoundHalfEven(*number) == 1;
        if (Is(key, "FontItalic"))
            s.FontItalic = v;
        else if (Is(key, "FontBold"))
            s.FontBold = v;
        break;
    }
    case Conversion::Trimmed:
        if (Is(key, "FontName"))
            s.FontName = TrimPadding(value);
        break;
    }
}

std::string CutToReadLimit(std::string_view value, int limit)
{
    if (limit <= 1)
        return {};
    const auto room = static_cast<std::size_t>(limit - 1);
    std::size_t end = 0;
    while (end < value.size()) {
        const std::size_t step = IsSjisLead(static_cast<unsigned char>(value[end])) ? 2 : 1;
        if (end + step > room)
            break;
        end += step;
    }
    return std::string(value.substr(0, std::min(end, value.size())));
}

std::string DefaultSettingsFile()
{
    static const char text[] = "[System]\r\n"
                               "XPos=0\r\n"
                               "YPos=0\r\n"
                               "XStart=0\r\n"
                               "YStart=0\r\n"
                               "XEnd=354\r\n"
                               "YEnd=0\r\n"
                               "Visible=1\r\n"
                               "\r\n"
                               "\0\0"; // with the literal's own terminator: three zero bytes
    return std::string(text, sizeof text);
}

std::string OpenDialogFilter()
{
    return "全てのﾌｧｲﾙ|*.*|ｸﾞﾗﾌｨｯｸ|*.bmp;*.gif;*.jpg|音楽|*.mid;*.mp3|効果音|*.wav|ｱﾆﾒｰｼｮﾝ|*.avi|";
}

std::string SettingText(std::int64_t value)
{
    return std::to_string(value);
}

} // namespace lt
