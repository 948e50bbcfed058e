#include <gtest/gtest.h>

#include <windows.h>

#include "core/file_kind.h"
#include "core/kind_prefetch.h"
#include "temp_folder.h"

namespace lt {
namespace {

// A batch answers exactly as the disk does, and only while it lives.
TEST(KindPrefetch, AnswersLikeTheDiskAndOnlyForItsLifetime)
{
    test::TempFolder dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i) {
        switch (i % 5) {
        case 0: paths.push_back(dir.Write("p" + std::to_string(i) + ".bmp", test::BmpBytes)); break;
        case 1: paths.push_back(dir.Write("m" + std::to_string(i) + ".mid", test::MidiBytes)); break;
        case 2: paths.push_back(dir.Write("t" + std::to_string(i) + ".txt", "text")); break;
        case 3: paths.push_back(dir.File("missing" + std::to_string(i))); break;
        default: {
            std::string hidden = dir.Write("h" + std::to_string(i) + ".bmp", test::BmpBytes);
            SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
            paths.push_back(hidden);
        }
        }
    }
    std::vector<std::pair<bool, FileKind>> disk;
    for (const std::string& p : paths)
        disk.emplace_back(FileExists(p), FileExists(p) ? GetFileKind(p) : FileKind::None);

    const std::string late = dir.File("late.bmp");
    {
        KindPrefetch prefetch(paths);
        // Changes after the batch was taken are not seen by it...
        DeleteFileA(paths[0].c_str());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            bool exists = FileExists(paths[i]);
            EXPECT_EQ(exists, disk[i].first) << "row " << i << " " << paths[i];
            if (exists)
                EXPECT_EQ(GetFileKind(paths[i]), disk[i].second) << "row " << i;
        }
        // ...but paths outside it still go to the disk.
        dir.Write("late.bmp", test::BmpBytes);
        EXPECT_TRUE(FileExists(late));
    }
    EXPECT_FALSE(FileExists(paths[0])) << "after the batch the disk answers again";
}

} // namespace
} // namespace lt
