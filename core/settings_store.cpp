#include "core/settings_store.h"

#include <windows.h>

#include <vector>

namespace lt {

namespace {
Settings g_settings;
std::string g_openFilter;

void WriteKey(const std::string& ini, const char* section, const char* key, std::int64_t value)
{
    WritePrivateProfileStringA(section, key, SettingText(value).c_str(), ini.c_str());
}
} // namespace

Settings& AppSettings()
{
    return g_settings;
}
const std::string& OpenFilter()
{
    return g_openFilter;
}

void LoadSettings(const std::string& iniPath)
{
    for (const SettingKey& key : SettingKeys()) {
        std::vector<char> buffer(static_cast<std::size_t>(key.ReadLimit) + 1, '\0');
        DWORD n = GetPrivateProfileStringA(key.Section, key.Key, key.Default, buffer.data(),
                                           static_cast<DWORD>(key.ReadLimit), iniPath.c_str());
        // The platform already cut the value; this also keeps a double-byte
        // character from being split at the limit.
        ApplySetting(g_settings, key, CutToReadLimit(std::string_view(buffer.data(), n), key.ReadLimit));
    }
    g_openFilter = OpenDialogFilter();
}

void WriteVolume(const std::string& iniPath)
{
    WriteKey(iniPath, "MusicPlayer", "Volume", g_settings.Volume);
}

void WriteSystemSettings(const std::string& iniPath)
{
    const Settings& s = g_settings;
    WriteKey(iniPath, "System", "XPos", s.XPos);
    WriteKey(iniPath, "System", "YPos", s.YPos);
    WriteKey(iniPath, "System", "XStart", s.XStart);
    WriteKey(iniPath, "System", "YStart", s.YStart);
    WriteKey(iniPath, "System", "XEnd", s.XEnd);
    WriteKey(iniPath, "System", "YEnd", s.YEnd);
    WriteKey(iniPath, "System", "Visible", s.Visible);
    WriteKey(iniPath, "System", "MidiDevice", s.MidiDevice);
    WriteKey(iniPath, "System", "ErrorWait", s.ErrorWait);
}

} // namespace lt
