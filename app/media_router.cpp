#include "app/media_router.h"

#include "core/file_list.h"
#include "movie/view_movie_mdl.h"
#include "music/music_engine.h"
#include "music/player_window.h"
#include "viewer/view_mdl.h"

// Each subsystem's window opens here; a subsystem not yet built leaves its
// entries listed without a window.

namespace lt {

namespace {

class MediaRouter final : public MediaOpener {
public:
    void OpenPicture(int entryIndex) override
    {
        OpenPictureView(entryIndex);
    }

    void FocusPicture(const std::string& path) override
    {
        FocusPictureView(path);
    }

    void ClosePicture(const std::string& path) override
    {
        ClosePictureView(path);
    }

    void OpenMusic(const std::string& path, FileKind kind) override
    {
        SetPlayerHooks(&Player());
        Player().OpenMusicFile(path, kind);
    }

    void OpenMovie(const std::string& path) override
    {
        lt::OpenMovie(path);
    }
};

MediaRouter g_router;

} // namespace

void InstallMediaRouter()
{
    SetMediaOpener(&g_router);
}

} // namespace lt
