// The MIDI output ports: the table read at start-up, and the port applied to
// the sequencer.
#pragma once
#include <array>
#include <cstdint>
#include <string>

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

// Builds the table from the installed MIDI drivers (once, at start-up).
void EnumMidiDevices();
// Applies the MidiDevice setting to the open MIDI piece.
void ApplyMidiPort();
// The settings panel's OK: applies the port when the engine has a MIDI piece open.
void ApplyMidiPortIfMidiOpen();

} // namespace lt
