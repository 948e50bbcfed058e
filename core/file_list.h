// The file list of this run and the operations that add, open and remove
// its entries. Windows that open entries plug in through MediaOpener; the
// controller's list box plugs in through ListDisplayTarget.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_table.h"

namespace lt {

// Opens entries in the window that suits their kind.
class MediaOpener {
public:
    virtual ~MediaOpener() = default;
    virtual void OpenPicture(int entryIndex) = 0;
    virtual void FocusPicture(const std::string& path) = 0;
    // Closes the picture's window without its own close handling.
    virtual void ClosePicture(const std::string& path) = 0;
    virtual void OpenMusic(const std::string& path, FileKind kind) = 0;
    virtual void OpenMovie(const std::string& path) = 0;
};

// Rebuilds the list display.
class ListDisplayTarget {
public:
    virtual ~ListDisplayTarget() = default;
    virtual void MakeList(std::string_view select) = 0;
};

// Reads list files and play lists, adding what they name.
class ListReader {
public:
    virtual ~ListReader() = default;
    virtual void ReadListFile(const std::string& path) = 0;
    virtual void ReadM3uFile(const std::string& path) = 0;
};

struct FileListState {
    FileTable Table;
    std::string CurrentFile;
    bool BatchMode = false;
    bool QuietMode = false;
    std::int16_t KindFilter = FilterAll;
    int PlayingEntry = 0;
    bool PlayerShown = false;
    std::string LastMoviePath;
};

FileListState& FileList();

// Switches batch and/or quiet mode on for the life of a loop and puts back
// what was there before. Loops run inside each other (a folder added or the
// queue drained while a list is read), so none may switch them off outright.
class ListModeScope {
public:
    ListModeScope(bool batch, bool quiet);
    ~ListModeScope();
    ListModeScope(const ListModeScope&) = delete;
    ListModeScope& operator=(const ListModeScope&) = delete;

private:
    bool batch_;
    bool quiet_;
};

// Null pointers put back the built-in "do nothing" parts.
void SetMediaOpener(MediaOpener* opener);
void SetListDisplay(ListDisplayTarget* display);
void SetListReader(ListReader* reader);

// Asks the plugged-in display to rebuild (the controller's MakeList).
void RebuildListDisplay(std::string_view select);

// Adds (or activates) the file named by FileList().CurrentFile.
void LoadFile();
void AcxtiveFile(int index);
int FindEntry(std::string_view path);
// Both may run again from inside the picture window closing they cause.
void RemoveEntry(int index);
void ClearEntries();
int FindNextOfKind(int start, FileKind a, FileKind b, FileKind c, bool wrap);

} // namespace lt
