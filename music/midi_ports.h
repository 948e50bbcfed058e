// The MIDI output ports: the table read at start-up, and the port applied to
// the sequencer.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lt {

struct MidiDevice {
    std::string Name;
    std::int32_t Port = 0;
    bool Usable = false;
};

struct MidiDeviceTable {
    static constexpr int Size = 21; // record 0 is the default device
    std::array<MidiDevice, Size> Records{};
    int Count = 0; // devices found, after record 0
};

const MidiDeviceTable& MidiDevices();

// The table for the friendly names of the drivers found: the default device
// first, then at most 20 names in ascending byte order, each with its own
// index as its port number.
MidiDeviceTable BuildMidiTable(std::vector<std::string> names);

// Builds the table from the installed MIDI drivers (once, at start-up).
void EnumMidiDevices();
// Applies the MidiDevice setting to the open MIDI piece.
void ApplyMidiPort();
// The settings panel's OK: applies the port when the engine has a MIDI piece open.
void ApplyMidiPortIfMidiOpen();

} // namespace lt
