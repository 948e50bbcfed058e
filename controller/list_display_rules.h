// What the controller's list box shows for the file table and a kind filter.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_table.h"

namespace lt {

struct ListLine {
    std::string Text; // ANSI
    int EntryIndex;   // 1-based index into the table (the item data)
};

struct ListDisplay {
    std::vector<ListLine> Lines;
    int Chosen = -1; // line to select, or -1
    int Widest = 0;  // widest line in ANSI bytes
};

// "0007 C:\x.bmp": index zero-padded to 4, a blank, the path.
std::string ListLineText(int index, std::string_view path);

// Lines for every entry from firstIndex on that the filter shows (FilterAll
// shows all); Chosen is the line whose path equals select, when select is not
// empty.
ListDisplay BuildListDisplay(const FileTable& table, std::int16_t filter, std::string_view select, int firstIndex = 1);

// LB_SETHORIZONTALEXTENT width: 45 bytes of 7 pixels fill the 337-pixel list.
int HorizontalExtent(int widestBytes);

} // namespace lt
