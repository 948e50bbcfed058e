// The program's one playback engine, on the real platform.
#pragma once
#include "music/playback_engine.h"

namespace lt {

PlaybackEngine& MusicEngine();

// The player window plugs in here; null puts back the default (no timer,
// the next piece from the file list).
void SetPlayerHooks(PlayerHooks* hooks);

} // namespace lt
