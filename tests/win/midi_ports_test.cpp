#include <windows.h>

#include <gtest/gtest.h>

#include "controller/reg_module.h"
#include "music/midi_ports.h"

namespace {
constexpr const char* Drivers = "System\\CurrentControlSet\\control\\MediaResources\\midi";
}

// Driver keys as the platform lists them: the table takes their friendly
// names in sorted order and stops at a driver without one.
TEST(MidiPorts, TableFromTheDriverKeys)
{
    HKEY existing = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Drivers, 0, KEY_READ, &existing) == ERROR_SUCCESS) {
        RegCloseKey(existing);
        GTEST_SKIP() << "this system lists its own MIDI drivers";
    }
    const std::pair<const char*, const char*> drivers[] = {{"a", "Zeta Synth"}, {"b", "Alpha Out"}, {"c", "MPU"}};
    for (const auto& [key, name] : drivers) {
        const std::string path = std::string(Drivers) + "\\" + key;
        ASSERT_EQ(lt::CreateRegKey(HKEY_LOCAL_MACHINE, path), 0) << path;
        ASSERT_TRUE(lt::SetRegText(HKEY_LOCAL_MACHINE, path, "FriendlyName", name));
    }
    lt::EnumMidiDevices();
    const lt::MidiDeviceTable found = lt::MidiDevices();
    for (const auto& [key, name] : drivers)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(Drivers) + "\\" + key).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, Drivers);
    lt::EnumMidiDevices();

    ASSERT_EQ(found.Count, 3);
    const char* expected[] = {"Default MidiOut Device", "Alpha Out", "MPU", "Zeta Synth"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(found.Records[i].Name, expected[i]) << "record " << i;
    EXPECT_EQ(found.Records[3].Port, 3);
    EXPECT_EQ(lt::MidiDevices().Count, 0) << "no key: the default entry alone";
}
