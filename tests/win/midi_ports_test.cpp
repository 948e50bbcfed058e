#include <windows.h>

#include <gtest/gtest.h>

#include "core/reg_module.h"
#include "music/midi_ports.h"

// Driver keys as the platform lists them: the table takes their friendly
// names (in sorted order) and is empty without the key.
TEST(MidiPorts, TableFromTheDriverKeys)
{
    const std::string drivers = "System\\CurrentControlSet\\control\\MediaResources\\midi";
    HKEY existing = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, drivers.c_str(), 0, KEY_READ, &existing) == ERROR_SUCCESS) {
        RegCloseKey(existing);
        GTEST_SKIP() << "this system lists its own MIDI drivers";
    }
    const std::pair<const char*, const char*> keys[] = {{"a", "Zeta Synth"}, {"b", "Alpha Out"}, {"c", "MPU"}};
    for (const auto& [key, name] : keys) {
        ASSERT_EQ(lt::CreateRegKey(HKEY_LOCAL_MACHINE, drivers + "\\" + key), 0) << key;
        ASSERT_TRUE(lt::SetRegText(HKEY_LOCAL_MACHINE, drivers + "\\" + key, "FriendlyName", name));
    }
    lt::EnumMidiDevices();
    const lt::MidiDeviceTable found = lt::MidiDevices();
    for (const auto& [key, name] : keys)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (drivers + "\\" + key).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, drivers.c_str());
    lt::EnumMidiDevices();

    ASSERT_EQ(found.Count, 3);
    const char* expected[] = {"Default MidiOut Device", "Alpha Out", "MPU", "Zeta Synth"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(found.Records[i].Name, expected[i]) << "record " << i;
    EXPECT_EQ(lt::MidiDevices().Count, 0) << "no key: the default entry alone";
}
