#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "core/command_queue.h"
#include "core/command_queue_format.h"
#include "temp_folder.h"

namespace lt {
namespace {

TEST(CommandQueue, AppendedPiecesDrainInOrderAndTheFileGoes)
{
    test::TempFolder dir;
    const std::string queue = dir.File("LTDummy.ini");
    // "写真.bmp" in Shift-JIS: two bytes per double-byte character.
    const std::string japanese = "C:\\\x8e\xca\x90\x5e.bmp";
    ASSERT_TRUE(AppendToQueue(queue, "C:\\a.bmp"));
    ASSERT_TRUE(AppendToQueue(queue, japanese));
    ASSERT_TRUE(AppendToQueue(queue, "\"C:\\c d.mid\""));

    std::vector<std::string> paths;
    ASSERT_EQ(DrainQueue(queue, paths), DrainResult::Drained);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\a.bmp", japanese, "\"C:\\c d.mid\""}));
    EXPECT_EQ(GetFileAttributesA(queue.c_str()), INVALID_FILE_ATTRIBUTES) << "queue file left behind";
    EXPECT_EQ(DrainQueue(queue, paths), DrainResult::NoFile);
}

TEST(CommandQueue, WriterWaitsForTheReaderAndReaderGivesUpForNow)
{
    test::TempFolder dir;
    const std::string queue = dir.File("LTDummy.ini");
    ASSERT_TRUE(AppendToQueue(queue, "C:\\first.bmp"));

    // Another copy holds the file exclusively for a moment.
    HANDLE held = CreateFileA(queue.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<std::string> paths;
    EXPECT_EQ(DrainQueue(queue, paths), DrainResult::Busy) << "a held queue must not block the tick";

    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    DWORD start = GetTickCount();
    bool appended = AppendToQueue(queue, "C:\\second.bmp");
    DWORD waited = GetTickCount() - start;
    release.join();
    ASSERT_TRUE(appended) << "the writer must retry until the holder lets go";
    EXPECT_GE(waited, 200u);

    ASSERT_EQ(DrainQueue(queue, paths), DrainResult::Drained);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\first.bmp", "C:\\second.bmp"}));
}

TEST(CommandQueue, WriterGivesUpOnAFileThatNeverOpens)
{
    test::TempFolder dir;
    const std::string queue = dir.File("LTDummy.ini");
    HANDLE held = CreateFileA(queue.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(AppendToQueue(queue, "C:\\x.bmp"));
    CloseHandle(held);
}

} // namespace
} // namespace lt
