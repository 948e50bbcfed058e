#include "core/command_queue_format.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

TEST(CommandQueueFormat, ArgumentsOfDropsTheProgramName)
{
    struct Row {
        std::string line, args;
    };
    const std::vector<Row> rows = {
        {"\"C:\\a b\\x.exe\" C:\\song.mp3", "C:\\song.mp3"},
        {"\"C:\\a b\\x.exe\"  \t/S", "/S"},
        {"C:\\x.exe\t \"C:\\my file.bmp\" ", "\"C:\\my file.bmp\" "},
        {"\"C:\\a b\\x.exe\" ", ""},
        {"\"C:\\unclosed b.exe /S", ""},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(ArgumentsOf(rows[r].line), rows[r].args) << "row " << r;
}

TEST(CommandQueueFormat, ArgumentsOfKeeps30000Characters)
{
    EXPECT_EQ(ArgumentsOf("x.exe " + std::string(30005, 'a')), std::string(30000, 'a'));
    // A double-byte character counts once and is never split.
    const std::string a = "\x82\xa0"; // あ
    const std::string kept = std::string(29999, 'a') + a;
    EXPECT_EQ(ArgumentsOf("x.exe " + kept + a), kept);
}

TEST(CommandQueueFormat, SplitPieces)
{
    struct Row {
        std::string text;
        Strings pieces;
    };
    const std::vector<Row> rows = {
        {"a\r\nb\r\nc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"\r\na", {"", "a"}},
        {"a\nb\rc", {"a\nb\rc"}}, // a lone CR or LF is part of the path
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(SplitPieces(rows[r].text), rows[r].pieces) << "row " << r;
}

TEST(CommandQueueFormat, AppendThenParseRoundTrips)
{
    Bytes image;
    ASSERT_TRUE(AppendRecord(image, "abc"));
    EXPECT_EQ(image, (Bytes{1, 0, 3, 0, 'a', 'b', 'c'}));
    const std::string japanese = "C:\\\x89\xb9\x8a\x79.mid"; // C:\音楽.mid
    ASSERT_TRUE(AppendRecord(image, japanese));
    ASSERT_TRUE(AppendRecord(image, ""));
    EXPECT_EQ(image[0], 3);
    EXPECT_EQ(image[7], japanese.size()) << "length counts bytes";
    EXPECT_EQ(ParseQueue(image), (Strings{"abc", japanese, ""}));

    Bytes stub{7}; // too short to hold a count: started afresh
    ASSERT_TRUE(AppendRecord(stub, "x"));
    EXPECT_EQ(stub, (Bytes{1, 0, 1, 0, 'x'}));
}

TEST(CommandQueueFormat, AppendRefusesWhatDoesNotFit)
{
    Bytes full(2 + 2 * 32767, 0); // 32767 empty records
    full[0] = 0xFF;
    full[1] = 0x7F;
    const Bytes before = full;
    EXPECT_FALSE(AppendRecord(full, "x"));
    EXPECT_EQ(full, before);
    Bytes image;
    EXPECT_FALSE(AppendRecord(image, std::string(65536, 'a')));
    EXPECT_TRUE(image.empty());
    EXPECT_TRUE(AppendRecord(image, std::string(65535, 'a')));
    EXPECT_EQ(ParseQueue(image).at(0).size(), 65535u);
}

TEST(CommandQueueFormat, ParseQueueToleratesDamage)
{
    struct Row {
        Bytes image;
        Strings records;
    };
    const std::vector<Row> rows = {
        {{1}, {}},
        {{0, 0, 1, 0, 'a'}, {}},                          // count 0
        {{5, 0, 1, 0, 'a'}, {"a"}},                       // count larger than the records
        {{0xFF, 0xFF, 1, 0, 'a', 1, 0, 'b'}, {"a", "b"}}, // negative count
        {{2, 0, 1, 0, 'a', 3, 0, 'b'}, {"a"}},            // second record cut short
        {{2, 0, 1, 0, 'a', 9}, {"a"}},                    // half a length field
        {{1, 0, 0xFF, 0xFF, 'a'}, {}},                    // length 65535 past the end
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(ParseQueue(rows[r].image), rows[r].records) << "row " << r;
}

TEST(CommandQueueFormat, CleanQueuedPath)
{
    struct Row {
        std::string record, path;
    };
    const std::vector<Row> rows = {
        {"\"C:\\a b.mp3\"", "C:\\a b.mp3"},
        {"C:\\x.mp3   ", "C:\\x.mp3"},
        {"\"C:\\x.mp3\"  ", "C:\\x.mp3"},
        {"\"C:\\x.mp3  ", "C:\\x.mp3"},
        {"C:\\x\"", "C:\\x\""}, // no opening quote: the last one stays
        {"\"", ""},
        {"\"\"", ""},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(CleanQueuedPath(rows[r].record), rows[r].path) << "row " << r;
}

} // namespace
} // namespace lt
