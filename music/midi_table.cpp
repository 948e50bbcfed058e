#include <algorithm>

#include "music/midi_ports.h"

namespace lt {

MidiDeviceTable BuildMidiTable(std::vector<std::string> names)
{
    MidiDeviceTable table;
    table.Records[0] = {"Default MidiOut Device", -1, true};
    std::sort(names.begin(), names.end());
    const std::size_t count = std::min<std::size_t>(names.size(), MidiDeviceTable::Size - 1);
    for (std::size_t i = 0; i < count; ++i)
        table.Records[i + 1] = {names[i], static_cast<std::int32_t>(i + 1), true};
    table.Count = static_cast<int>(count);
    return table;
}

} // namespace lt
