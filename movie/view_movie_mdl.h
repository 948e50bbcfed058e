// The one movie of the program: opened into the one movie window.
#pragma once
#include <string>

namespace lt {

class MoviePlayer;

// Opens the movie at path in the movie window (or plays it again from the
// start when it is the open one).
void OpenMovie(const std::string& path);
// Stops and closes the open movie; the window stays.
void CloseMovie();

MoviePlayer& Movie();

} // namespace lt
