#include "controller/folder_select.h"

#include <shlobj.h>

#include "core/file_kind.h"
#include "core/file_list.h"
#include "core/kind_prefetch.h"
#include "core/path_rules.h"
#include "core/win_handles.h"

namespace lt {

std::string BrowseForFolder(HWND owner)
{
    char path[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = "フォルダを選択してください";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return {};
    SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    return std::string(path);
}

std::vector<std::string> FolderFiles(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find)
        return files;
    constexpr DWORD excluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if ((data.dwFileAttributes & excluded) == 0)
            files.push_back(folder + data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return files;
}

namespace {

// Adds the files quietly; the last MIDI file among them then starts. Stops
// when the program ends meanwhile.
void AddQuietly(const std::vector<std::string>& files)
{
    std::string lastMidi;
    KindPrefetch prefetch(files);
    {
        ListModeScope quiet(false, true);
        std::size_t added = 0;
        for (const std::string& path : files) {
            FileList().CurrentFile = path;
            if (GetFileKind(path) == FileKind::Midi)
                lastMidi = path;
            LoadFile();
            // A big folder keeps the window answering, and Exit ends it.
            if (++added % 64 == 0 && !PumpMessages())
                return;
        }
    }
    if (!lastMidi.empty())
        AcxtiveFile(FindEntry(lastMidi));
}

} // namespace

void AddFolderFiles(std::string folder)
{
    folder = WithTrailingSeparator(folder);
    {
        ListModeScope batch(true, false);
        // Every file of the folder is collected; the list itself stops at
        // its own capacity.
        std::vector<std::string> files = FolderFiles(folder);
        if (!files.empty())
            AddQuietly(files);
    }
    RebuildListDisplay("");
}

} // namespace lt
