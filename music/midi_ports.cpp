#include "music/midi_ports.h"

#include <windows.h>

#include "core/reg_module.h"
#include "core/text_rules.h"
#include "music/music_engine.h"

namespace lt {

namespace {

MidiDeviceTable g_table = BuildMidiTable({});

constexpr const char* DriversKey = "System\\CurrentControlSet\\control\\MediaResources\\midi";

// Friendly names of the installed MIDI drivers, in registry order; the scan
// ends at the first sub-key that gives no name.
std::vector<std::string> DriverNames()
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    // Opened for reading: listing the drivers must not create keys.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DriversKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0; i < MidiDeviceTable::Size - 1; ++i) {
        char sub[1024] = {};
        DWORD length = sizeof sub;
        if (RegEnumKeyExA(key, i, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string subName = TrimPadding(std::string_view(sub, length));
        if (subName.empty())
            break;
        const std::string path = std::string(DriversKey) + "\\" + subName;
        HKEY driver = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &driver) != ERROR_SUCCESS)
            break;
        RegCloseKey(driver);
        const std::string name = TrimPadding(GetRegValue(HKEY_LOCAL_MACHINE, path, "FriendlyName"));
        if (name.empty())
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

} // namespace

const MidiDeviceTable& MidiDevices()
{
    return g_table;
}

void EnumMidiDevices()
{
    g_table = BuildMidiTable(DriverNames());
}

void ApplyMidiPort()
{
    MusicEngine().ApplyMidiPort();
}

void ApplyMidiPortIfMidiOpen()
{
    PlaybackEngine& engine = MusicEngine();
    if (engine.IsOpen() && engine.CurrentBackEnd() == BackEnd::Midi)
        engine.ApplyMidiPort();
}

} // namespace lt
