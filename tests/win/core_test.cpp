#include <gtest/gtest.h>

#include <system_error>
#include <thread>

#include "core/command_queue.h"
#include "core/file_kind.h"
#include "core/kind_prefetch.h"
#include "temp_folder.h"

using namespace lt;

using Paths = std::vector<std::string>;

TEST(CommandQueue, PiecesDrainInOrderWhileCopiesTakeTurns)
{
    test::TempFolder dir;
    const std::string queue = dir.File("LTDummy.ini");
    const std::string japanese = "C:\\\x8e\xca\x90\x5e.bmp"; // C:\写真.bmp: 5C trail byte
    ASSERT_TRUE(AppendToQueue(queue, "C:\\a.bmp"));
    ASSERT_TRUE(AppendToQueue(queue, japanese));

    // Another copy holds the file: the reader gives this tick up, the writer waits until the holder lets go.
    HANDLE held = CreateFileA(queue.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Paths paths;
    EXPECT_EQ(DrainQueue(queue, paths), DrainResult::Busy);
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    const DWORD start = GetTickCount();
    EXPECT_TRUE(AppendToQueue(queue, "\"C:\\c d.mid\""));
    EXPECT_GE(GetTickCount() - start, 200u);
    release.join();

    ASSERT_EQ(DrainQueue(queue, paths), DrainResult::Drained);
    EXPECT_EQ(paths, (Paths{"C:\\a.bmp", japanese, "\"C:\\c d.mid\""}));
    EXPECT_EQ(DrainQueue(queue, paths), DrainResult::NoFile) << "the drained file is gone";

    // The tail of a write cut short (a full disk) does not cost the records before it, nor the next one.
    ASSERT_TRUE(AppendToQueue(queue, "C:\\1.mid"));
    HANDLE f = CreateFileA(queue.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD put = 0;
    WriteFile(f, "\x40\x00half", 6, &put, nullptr);
    CloseHandle(f);
    ASSERT_TRUE(AppendToQueue(queue, "C:\\2.mid"));
    ASSERT_EQ(DrainQueue(queue, paths), DrainResult::Drained);
    EXPECT_EQ(paths, (Paths{"C:\\1.mid", "C:\\2.mid"}));

    // A file that never opens: the writer gives up after a few seconds.
    held = CreateFileA(queue.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_FALSE(AppendToQueue(queue, "C:\\x.bmp"));
    CloseHandle(held);
}

// A batch answers as the disk does, only while it lives, and also when no worker thread can be started.
TEST(KindPrefetch, AnswersLikeTheDiskForItsLifetime)
{
    test::TempFolder dir;
    // Rows of five: picture, MIDI, text, missing, hidden.
    const std::pair<bool, FileKind> expected[] = {
        {true, FileKind::Picture}, {true, FileKind::Midi}, {true, FileKind::None}, {false, {}}, {false, {}}};
    Paths paths;
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        const std::string_view bytes = i % 5 == 1 ? test::MidiBytes : i % 5 == 2 ? "text" : test::BmpBytes;
        paths.push_back(i % 5 == 3 ? dir.File(n) : dir.Write(n, bytes));
        if (i % 5 == 4)
            SetFileAttributesA(paths.back().c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    const WorkerStart cannotStart = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    for (const WorkerStart& start : {WorkerStart{}, cannotStart}) {
        {
            KindPrefetch prefetch(paths, start);
            DeleteFileA(paths[0].c_str());                 // changes after the batch are not seen by it...
            for (std::size_t i = 0; i < paths.size(); ++i) // exists, and then of what kind
                EXPECT_EQ(
                    std::make_pair(FileExists(paths[i]), FileExists(paths[i]) ? GetFileKind(paths[i]) : FileKind{}),
                    expected[i % 5])
                    << "row " << i;
            EXPECT_TRUE(FileExists(dir.Write("late.bmp", test::BmpBytes))) << "...others go to the disk";
        }
        EXPECT_FALSE(FileExists(paths[0])) << "after the batch the disk answers again";
        dir.Write("0", test::BmpBytes);
    }
}
