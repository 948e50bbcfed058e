#include "core/list_file_format.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

using Fields = std::vector<std::string>;

Fields AllFields(std::string_view text)
{
    Fields out;
    FieldReader reader(text);
    while (!reader.AtEnd())
        out.push_back(reader.Next());
    return out;
}

TEST(ListFileFormat, FieldGrammar)
{
    struct Row {
        std::string text;
        Fields expected;
    };
    const std::vector<Row> rows = {
        {"", {}},
        {"a,b\r\nc", {"a", "b", "c"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}}, // CR, LF and CR LF each end one field
        {"  a, \tb", {"a", "b"}},         // blanks before a field go
        {"a b ,c", {"a b ", "c"}},        // blanks inside and after stay
        {"\"x,y\"z,w", {"x,y", "w"}},     // after the closing quote: dropped
        {"\"open", {"open"}},             // no closing quote: to the end
        {"\"two\r\nlines\",x", {"two\r\nlines", "x"}},
        {"ab\"c,d", {"ab\"c", "d"}}, // a quote inside is plain text
        {",,", {"", ""}},            // empty fields come back empty
        // Written before quoting existed: a comma path splits in two.
        {"LumatroveList Ver5.0\r\nC:\\x,y.mid\r\n", {"LumatroveList Ver5.0", "C:\\x", "y.mid"}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(AllFields(rows[r].text), rows[r].expected) << "row " << r;
    EXPECT_EQ(FieldReader("").Next(), "") << "reading past the end gives empty fields";
}

TEST(ListFileFormat, Header)
{
    EXPECT_EQ(ListHeaderLine(), "LumatroveList Ver5.0");
    struct Row {
        std::string field;
        bool expected;
    };
    const std::vector<Row> rows = {
        {"LumatroveList Ver5.0", true}, {"lumatrovelist", true},         {"LumatroveLis", false},
        {" LumatroveList", false},      {"\x82\x6bumatroveList", false}, // full-width "Ｌ"
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(IsListHeader(rows[r].field), rows[r].expected) << "row " << r << ": " << rows[r].field;
}

TEST(ListFileFormat, ImageReadsBackWhole)
{
    EXPECT_EQ(ListFileImage(FileTable{}), "LumatroveList Ver5.0\r\n");
    const std::vector<std::string> paths = {"C:\\a.mid", "C:\\x,y.mid", " C:\\lead.mid", "C:\\q\"in.mid", "C:\\,"};
    FileTable t;
    for (const auto& p : paths)
        t.Append(p, FileKind::Midi);
    const std::string image = ListFileImage(t);
    EXPECT_EQ(image, "LumatroveList Ver5.0\r\nC:\\a.mid\r\n\"C:\\x,y.mid\"\r\n\" C:\\lead.mid\"\r\n"
                     "C:\\q\"in.mid\r\n\"C:\\,\"\r\n");

    Fields expected{ListHeaderLine()};
    expected.insert(expected.end(), paths.begin(), paths.end());
    EXPECT_EQ(AllFields(image), expected);
}

TEST(ListFileFormat, M3uCandidate)
{
    struct Row {
        std::string m3u, field, expected;
    };
    const std::vector<Row> rows = {
        {"C:\\m\\list.m3u", "a.mid", "C:\\m\\a.mid"},
        {"C:\\m\\list.m3u", "C:\\a.mid", "C:\\m\\C:\\a.mid"}, // absolute: names nothing
        {"list.m3u", "a.mid", "a.mid"},
        {"C:\\\x95\x5c.m3u", "a.mid", "C:\\a.mid"}, // "C:\表.m3u": the trail byte 5C is no folder mark
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(M3uCandidate(rows[r].m3u, rows[r].field), rows[r].expected) << "row " << r;
}

TEST(ListFileFormat, CanNamePath)
{
    struct Row {
        std::string field;
        bool expected;
    };
    const std::vector<Row> rows = {
        {"", false},
        {"C:\\a.mid", true},
        {std::string("C:\\a.mid\0junk", 13), false},
        {"C:\\\x95\x5c\\b.mid", true}, // bytes above 0x7F are no control bytes
        {std::string(259, 'a'), true},
        {std::string(260, 'a'), false},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(CanNamePath(rows[r].field), rows[r].expected) << "row " << r;
}

} // namespace
} // namespace lt
