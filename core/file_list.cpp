#include "core/file_list.h"

#include <vector>

#include "core/file_kind.h"

namespace lt {

namespace {

// Until the viewer, player and movie windows plug in, entries are still added
// and listed; opening them does nothing.
class NoOpener final : public MediaOpener {
public:
    void OpenPicture(int) override {}
    void FocusPicture(const std::string&) override {}
    void ClosePicture(const std::string&) override {}
    void OpenMusic(const std::string&, FileKind) override {}
    void OpenMovie(const std::string&) override {}
};

class NoDisplay final : public ListDisplayTarget {
public:
    void MakeList(std::string_view) override {}
};

class NoReader final : public ListReader {
public:
    void ReadListFile(const std::string&) override {}
    void ReadM3uFile(const std::string&) override {}
};

FileListState g_list;
NoOpener g_noOpener;
NoDisplay g_noDisplay;
NoReader g_noReader;
MediaOpener* g_opener = &g_noOpener;
ListDisplayTarget* g_display = &g_noDisplay;
ListReader* g_reader = &g_noReader;

bool IsMusic(FileKind k)
{
    return k == FileKind::Wave || k == FileKind::Midi || k == FileKind::Mp3;
}

void PlayEntry(const std::string& path, FileKind kind, int index)
{
    if (g_list.QuietMode)
        return;
    g_opener->OpenMusic(path, kind); // the player shows itself when needed
    g_list.PlayingEntry = index;
}

} // namespace

FileListState& FileList()
{
    return g_list;
}

ListModeScope::ListModeScope(bool batch, bool quiet) : batch_(g_list.BatchMode), quiet_(g_list.QuietMode)
{
    g_list.BatchMode = batch_ || batch;
    g_list.QuietMode = quiet_ || quiet;
}

ListModeScope::~ListModeScope()
{
    g_list.BatchMode = batch_;
    g_list.QuietMode = quiet_;
}

void SetMediaOpener(MediaOpener* opener)
{
    g_opener = opener ? opener : &g_noOpener;
}
void SetListDisplay(ListDisplayTarget* display)
{
    g_display = display ? display : &g_noDisplay;
}
void SetListReader(ListReader* reader)
{
    g_reader = reader ? reader : &g_noReader;
}

void RebuildListDisplay(std::string_view select)
{
    g_display->MakeList(select);
}

void LoadFile()
{
    // A copy: readers called below change the current file.
    const std::string path = g_list.CurrentFile;
    if (path.empty() || !FileExists(path))
        return;
    FileKind kind = GetFileKind(path);
    if (kind == FileKind::None)
        return;
    if (int existing = FindEntry(path); existing != 0) {
        AcxtiveFile(existing);
        return;
    }
    if (kind == FileKind::List) {
        g_reader->ReadListFile(path);
    } else if (kind == FileKind::M3u) {
        g_reader->ReadM3uFile(path);
    } else {
        int index = g_list.Table.Append(path, kind);
        if (index == 0)
            return; // the table is full: refused
        if (kind == FileKind::Picture)
            g_opener->OpenPicture(index);
        else if (IsMusic(kind))
            PlayEntry(path, kind, index);
        else if (kind == FileKind::Movie) {
            g_opener->OpenMovie(path);
            g_list.LastMoviePath = path;
        }
    }
    g_display->MakeList(path);
}

void AcxtiveFile(int index)
{
    if (index < 1 || index > FileTable::Capacity || index > g_list.Table.Count())
        return;
    const FileEntry entry = g_list.Table.At(index);
    switch (entry.Kind) {
    case FileKind::Picture:
        g_opener->FocusPicture(entry.Path);
        break;
    case FileKind::Wave:
    case FileKind::Midi:
    case FileKind::Mp3:
        PlayEntry(entry.Path, entry.Kind, index);
        break;
    case FileKind::Movie:
        g_opener->OpenMovie(entry.Path);
        g_list.LastMoviePath = entry.Path;
        break;
    default:
        break;
    }
}

int FindEntry(std::string_view path)
{
    return g_list.Table.Find(path);
}

void RemoveEntry(int index)
{
    if (index < 1 || index > g_list.Table.Count())
        return;
    // Out of the table before its window goes: the window's closing may
    // remove entries itself, and must find the table whole.
    const FileEntry entry = g_list.Table.At(index);
    g_list.Table.Remove(index);
    if (entry.Kind == FileKind::Picture)
        g_opener->ClosePicture(entry.Path);
}

void ClearEntries()
{
    std::vector<FileEntry> gone = g_list.Table.Entries();
    g_list.Table.Clear();
    for (const FileEntry& entry : gone)
        if (entry.Kind == FileKind::Picture)
            g_opener->ClosePicture(entry.Path);
}

int FindNextOfKind(int start, FileKind a, FileKind b, FileKind c, bool wrap)
{
    return g_list.Table.FindNextOfKind(start, a, b, c, wrap);
}

} // namespace lt
