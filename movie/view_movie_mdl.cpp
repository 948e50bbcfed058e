#include "movie/view_movie_mdl.h"

#include "movie/mci_port.h"
#include "movie/movie_player.h"
#include "movie/view_avi.h"

namespace lt {

namespace {

struct MovieModule {
    ViewAvi view;
    MoviePlayer player{PlatformMci(), view};
    MovieModule() { view.Attach(&player); }
    // The player goes first; a window still up at exit must not call it.
    ~MovieModule() { view.Attach(nullptr); }
};

MovieModule& TheMovie()
{
    static MovieModule module;
    return module;
}

} // namespace

void OpenMovie(const std::string& path)
{
    TheMovie().player.OpenMovie(path);
}

void CloseMovie()
{
    TheMovie().player.CloseMovie();
}

MoviePlayer& Movie()
{
    return TheMovie().player;
}

} // namespace lt
