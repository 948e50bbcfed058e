// Times adding a folder of many files, in process with the real model and
// file system (the folder browser itself is left out). Prints, never judges.
//   lt_folder_bench.exe [files]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../win/temp_folder.h"
#include "controller/folder_select.h"
#include "core/file_list.h"

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 1000;
    lt::test::TempFolder folder;
    for (int i = 0; i < files; ++i) {
        // One in ten is a MIDI file, the rest pictures: the kind comes from the first bytes.
        std::string name = std::to_string(i);
        if (i % 10 == 0)
            folder.Write(name + ".mid", lt::test::MidiBytes);
        else
            folder.Write(name + ".bmp", lt::test::BmpBytes);
    }
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    lt::AddFolderFiles(folder.Path());
    QueryPerformanceCounter(&t1);
    std::printf("(d) folder of %d files: %.0f ms, %d entries\n", files,
                double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart), lt::FileList().Table.Count());
    return 0;
}
