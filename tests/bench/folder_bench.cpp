// Times adding a folder of many files, in process with the real model and
// file system (the folder browser itself is left out). Prints, never judges.
//   lt_folder_bench.exe [files]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "controller/folder_select.h"
#include "core/file_list.h"

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 1000;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "lt-folder-bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        // Two bytes decide the kind: "BM" is a picture, "MThd" a MIDI file.
        const bool midi = i % 10 == 0;
        std::string path = folder + "\\f" + std::to_string(i) + (midi ? ".mid" : ".bmp");
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD put = 0;
        WriteFile(f, midi ? "MThd" : "BM", midi ? 4 : 2, &put, nullptr);
        CloseHandle(f);
    }
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    lt::AddFolderFiles(folder);
    QueryPerformanceCounter(&t1);
    std::printf("(d) folder of %d files: %.0f ms, %d entries\n", files,
                double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(freq.QuadPart), lt::FileList().Table.Count());

    std::string from = folder + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
    return 0;
}
