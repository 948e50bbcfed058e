// The file list model with its windows replaced by a recorder, for tests that add files through the real LoadFile.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/file_list.h"
#include "core/list_files.h"
#include "core/message_pump.h"
#include "temp_folder.h"

namespace lt::test {

using Paths = std::vector<std::string>;

// Records what the model asks of the windows, in order ("picture 2",
// "music C:\x.mid", "movie ...", "focus ...", "close ...", "list ...").
struct CallRecorder final : MediaOpener, ListDisplayTarget {
    Paths calls;
    Paths music;      // paths handed to the player
    int rebuilds = 0; // rebuilds the list box would do (it ignores batch mode's)
    // What a picture window's own close handling does besides.
    std::function<void(const std::string&)> onClose;

    void OpenPicture(int index) override { calls.push_back("picture " + std::to_string(index)); }
    void FocusPicture(const std::string& p) override { calls.push_back("focus " + p); }
    void ClosePicture(const std::string& p) override
    {
        calls.push_back("close " + p);
        if (onClose)
            onClose(p);
    }
    void OpenMusic(const std::string& p, FileKind) override { calls.push_back("music " + p), music.push_back(p); }
    void OpenMovie(const std::string& p) override { calls.push_back("movie " + p); }
    void MakeList(std::string_view select) override
    {
        if (!FileList().BatchMode)
            ++rebuilds, calls.push_back("list " + std::string(select));
    }
};

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset();
        SetMediaOpener(&rec), SetListDisplay(&rec), InstallListReader();
    }
    void TearDown() override
    {
        SetMediaOpener(nullptr), SetListDisplay(nullptr), SetListReader(nullptr);
        FileList() = FileListState{};
        MSG msg; // a quit left for the main loop belongs to this test alone
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ResetQuitting();
    }
    void Reset() // an empty list and a fresh recorder
    {
        FileList() = FileListState{};
        rec = CallRecorder{};
    }
    void Load(const std::string& path)
    {
        FileList().CurrentFile = path;
        LoadFile();
    }
    static Paths Listed()
    {
        Paths out;
        for (const FileEntry& e : FileList().Table.Entries())
            out.push_back(e.Path);
        return out;
    }
    // A list file naming paths, written as the program writes it.
    static std::string WriteList(const TempFolder& in, std::string_view name, const Paths& paths)
    {
        FileTable t;
        for (const auto& p : paths)
            t.Append(p, FileKind::Midi);
        EXPECT_TRUE(WriteListFile(in.File(name), t)) << name;
        return in.File(name);
    }

    TempFolder dir;
    CallRecorder rec;
};

} // namespace lt::test
