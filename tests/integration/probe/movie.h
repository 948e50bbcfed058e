// Probe commands for the movie window (see movie.cpp).
#pragma once
#include <string>
#include <vector>

namespace lt::probe {

// Runs a movie command when name is one; false for other names.
bool RunMovieCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode);

} // namespace lt::probe
