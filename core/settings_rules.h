// The settings record, its key table and the conversions of read values.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

struct Settings {
    std::int32_t XPos = 0, YPos = 0;
    std::int32_t XStart = 0, YStart = 0, XEnd = 4695, YEnd = 0;
    std::int16_t Visible = 1;
    std::int16_t MidiDevice = -1;
    std::int32_t ErrorWait = 0;
    std::string FontName = "ＭＳ 明朝";
    std::int16_t FontSize = 11;
    bool FontItalic = false;
    bool FontBold = false;
    std::int16_t Volume = 100;
};

enum class Conversion { Numeric32, Numeric16, Whole16, IsOne, Trimmed };

struct SettingKey {
    const char* Section;
    const char* Key;
    const char* Default; // ANSI bytes
    int ReadLimit;       // bytes including the terminator
    Conversion Convert;
};

// "ErrorWait" counts rounds of pending events the music waits after a
// device switch; beyond this bound a typed number would hang the player.
inline constexpr std::int32_t MaxErrorWait = 10000;
constexpr std::int32_t ClampErrorWait(std::int32_t rounds)
{
    return rounds < 0 ? 0 : rounds > MaxErrorWait ? MaxErrorWait : rounds;
}

// Every key in read order.
const std::vector<SettingKey>& SettingKeys();

// Stores a value read for key (already cut to its read limit) into s.
void ApplySetting(Settings& s, const SettingKey& key, std::string_view value);

// What a profile read with this limit (bytes, terminator included) hands
// back: at most limit - 1 bytes, never half of a double-byte character.
std::string CutToReadLimit(std::string_view value, int limit);

// The exact content of a freshly created settings file (80 bytes).
std::string DefaultSettingsFile();

// The open-dialog filter built after reading the settings.
std::string OpenDialogFilter();

// Decimal text as written back: no leading blank, '-' for negatives.
std::string SettingText(std::int64_t value);

} // namespace lt
