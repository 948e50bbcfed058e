#include "core/list_file_format.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

using Fields = std::vector<std::string>;

Fields AllFields(std::string_view text)
{
    Fields out;
    for (FieldReader reader(text); !reader.AtEnd();)
        out.push_back(reader.Next());
    return out;
}

TEST(ListFileFormat, FieldGrammar)
{
    const std::vector<std::pair<std::string, Fields>> rows = {
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
        {"LumatroveList Ver5.0\r\nC:\\x,y.mid\r\n", {"LumatroveList Ver5.0", "C:\\x", "y.mid"}}};
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(AllFields(rows[r].first), rows[r].second) << "row " << r;
    EXPECT_EQ(FieldReader("").Next(), "") << "reading past the end gives empty fields";

    for (const auto& [field, header] :
         std::vector<std::pair<std::string, bool>>{{"LumatroveList Ver5.0", true},
                                                   {"lumatrovelist", true},
                                                   {"LumatroveLis", false},
                                                   {" LumatroveList", false},
                                                   {"\x82\x6bumatroveList", false} /* full-width Ｌ */})
        EXPECT_EQ(IsListHeader(field), header) << field;
}

TEST(ListFileFormat, ImageReadsBackWhole)
{
    EXPECT_EQ(ListFileImage(FileTable{}), "LumatroveList Ver5.0\r\n");
    const Fields paths = {"C:\\a.mid", "C:\\x,y.mid", " C:\\lead.mid", "C:\\q\"in.mid", "C:\\,"};
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

TEST(ListFileFormat, WhatAFieldCanName)
{
    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "a.mid"), "C:\\m\\a.mid");
    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "C:\\a.mid"), "C:\\m\\C:\\a.mid") << "absolute: names nothing";
    EXPECT_EQ(M3uCandidate("list.m3u", "a.mid"), "a.mid");
    EXPECT_EQ(M3uCandidate("C:\\\x95\x5c.m3u", "a.mid"), "C:\\a.mid"); // C:\表.m3u

    const std::vector<std::pair<std::string, bool>> rows = {
        {"", false},
        {"C:\\a.mid", true},
        {std::string("C:\\a.mid\0junk", 13), false},
        {"C:\\\x95\x5c\\b.mid", true}, // bytes above 0x7F are no control bytes
        {std::string(MaxPathBytes, 'a'), true},
        {std::string(MaxPathBytes + 1, 'a'), false}};
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(CanNamePath(rows[r].first), rows[r].second) << "row " << r;
}

} // namespace
} // namespace lt
