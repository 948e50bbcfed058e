#include "controller/media_router.h"

#include "core/file_list.h"
#include "music/music_engine.h"
#include "music/player_window.h"

// Each subsystem's window opens here; a subsystem not yet built leaves its
// entries listed without a window.

namespace lt {

namespace {

class MediaRouter final : public MediaOpener {
public:
    void OpenPicture(int entryIndex) override
    {
        (void)entryIndex; // picture windows
    }

    void FocusPicture(const std::string& path) override
    {
        (void)path; // picture windows
    }

    void ClosePicture(const std::string& path) override
    {
        (void)path; // picture windows
    }

    void OpenMusic(const std::string& path, FileKind kind) override
    {
        SetPlayerHooks(&Player());
        Player().OpenMusicFile(path, kind);
    }

    void OpenMovie(const std::string& path) override
    {
        (void)path; // movie window
    }
};

MediaRouter g_router;

} // namespace

void InstallMediaRouter()
{
    SetMediaOpener(&g_router);
}

} // namespace lt
