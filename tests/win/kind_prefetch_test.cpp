#include <gtest/gtest.h>

#include <windows.h>

#include "core/file_kind.h"
#include "core/kind_prefetch.h"
#include "temp_folder.h"

namespace lt {
namespace {

// A batch answers as the disk does, and only while it lives.
TEST(KindPrefetch, AnswersLikeTheDiskAndOnlyForItsLifetime)
{
    test::TempFolder dir;
    // Rows of five: picture, MIDI, text, missing, hidden picture.
    const std::pair<bool, FileKind> expected[] = {
        {true, FileKind::Picture}, {true, FileKind::Midi}, {true, FileKind::None}, {false, {}}, {false, {}}};
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        paths.push_back(i % 5 == 3 ? dir.File(n)
                                   : dir.Write(n, i % 5 == 1   ? test::MidiBytes
                                                  : i % 5 == 2 ? "text"
                                                               : test::BmpBytes));
        if (i % 5 == 4)
            SetFileAttributesA(paths.back().c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    {
        KindPrefetch prefetch(paths);
        // Changes after the batch was taken are not seen by it...
        DeleteFileA(paths[0].c_str());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const bool exists = FileExists(paths[i]);
            EXPECT_EQ(exists, expected[i % 5].first) << "row " << i;
            EXPECT_EQ(exists ? GetFileKind(paths[i]) : FileKind::None, expected[i % 5].second) << "row " << i;
        }
        // ...but paths outside it still go to the disk.
        EXPECT_TRUE(FileExists(dir.Write("late.bmp", test::BmpBytes)));
    }
    EXPECT_FALSE(FileExists(paths[0])) << "after the batch the disk answers again";
}

} // namespace
} // namespace lt
