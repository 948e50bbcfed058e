// The MP3 tag editor: the open MP3 piece's stream information and its tag,
// which the user edits and stores.
#pragma once

namespace lt {

// Opens the editor (or brings it forward) and fills it from the open piece.
void ShowTagEditor();

} // namespace lt
