#include "music/tag_rules.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/text_rules.h"

namespace lt {

std::string YesNo(std::int32_t flag)
{
    return flag == 1 ? "有り" : "無し";
}

std::vector<InfoLine> MpegInfoLines(const Ltmp3MpegInfo& info)
{
    const auto n = [](std::int32_t v) { return std::to_string(v); };
    return {
        {10, "MPEG-" + n(info.Version) + " レイヤー " + n(info.Layer)},
        {22, "ﾋﾞｯﾄﾚｰﾄ " + n(info.BitRate) + "kbit/sec"},
        {34, "ｻﾝﾌﾟﾙﾚｰﾄ " + n(info.SampleRate) + "Hz"},
        {46, info.Channels == 1 ? "出力ﾁｬﾝﾈﾙ ﾓﾉﾗﾙ" : "出力ﾁｬﾝﾈﾙ ｽﾃﾚｵ"},
        {58, "演奏時間 " + n(info.PlayTime)},
        {70, "ﾌﾚｰﾑ数 " + n(info.FrameCount)},
        {82, "ﾌｧｲﾙｻｲｽﾞ " + n(info.FileSize)},
        {106, "著作権 " + YesNo(info.Copyright)},
        {118, "ｴﾗｰ保護 " + YesNo(info.Protection)},
        {130, "個人情報 " + YesNo(info.Private)},
        {142, "ｵﾘｼﾞﾅﾙ " + YesNo(info.Original)},
        {154, "ｴﾝﾌｧｼｽ " + YesNo(info.Emphasis)},
    };
}

std::string PadField(std::string_view text, std::size_t width)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t step = IsSjisLead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > width)
            break;
        end += step;
    }
    std::string out(text.substr(0, end));
    out.resize(width, ' ');
    return out;
}

std::string YearField(std::string_view typed)
{
    const double value = LeadingNumber(typed);
    std::string text;
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        text = std::to_string(static_cast<long long>(value));
    } else {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        text = buffer;
    }
    return PadField(text, 5);
}

namespace {

template <std::size_t N> void Put(char (&field)[N], const std::string& text)
{
    std::memcpy(field, text.data(), N);
}

} // namespace

void FillTag(Ltmp3TagInfo& tag, std::string_view title, std::string_view artist, std::string_view album,
             std::string_view year, std::string_view comment)
{
    Put(tag.Title, PadField(title, sizeof tag.Title));
    Put(tag.Artist, PadField(artist, sizeof tag.Artist));
    Put(tag.Album, PadField(album, sizeof tag.Album));
    Put(tag.Year, YearField(year));
    Put(tag.Comment, PadField(comment, sizeof tag.Comment));
}

} // namespace lt
