#include "music/midi_ports.h"

// Temporary: only the default record until the port table is built.
namespace lt {

namespace {
MidiDeviceTable g_table;
}

const MidiDeviceTable& MidiDevices()
{
    return g_table;
}

void EnumMidiDevices()
{
    g_table = {};
    g_table.Records[0] = {"Default MidiOut Device", -1, true};
}

void ApplyMidiPort() {}

void ApplyMidiPortIfMidiOpen() {}

} // namespace lt
