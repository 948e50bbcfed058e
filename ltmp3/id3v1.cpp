#include "ltmp3/id3v1.h"

#include <algorithm>
#include <cstring>

#include "core/text_rules.h"
#include "ltmp3/ltmp3_records.h"

namespace ltmp3 {

namespace {

constexpr std::array<std::string_view, 126> Genres = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A capella",
    "Euro-House",
    "Dance Hall",
};

// At most width bytes, never half of a double-byte character.
std::string_view Fit(std::string_view text, std::size_t width);

// A field as text: up to its first NUL, without a lead byte cut off from its
// trail byte, without trailing blanks.
std::string ReadField(std::span<const std::uint8_t> bytes)
{
    std::string text = lt::CutAtNul(std::string(bytes.begin(), bytes.end()));
    // Trimming can leave a lone lead byte at the end, and dropping it can
    // bare more blanks: repeat until neither changes the text, so that what
    // is read writes back unchanged.
    for (;;) {
        std::string next = lt::TrimPadding(Fit(text, text.size()));
        if (next == text)
            return text;
        text = std::move(next);
    }
}

std::string_view Fit(std::string_view text, std::size_t width)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t step = lt::IsSjisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > width || i + step > text.size())
            break;
        i += step;
    }
    return text.substr(0, i);
}

void PutField(std::uint8_t* out, std::string_view text, std::size_t width)
{
    const std::string_view fitted = Fit(text, width);
    std::memcpy(out, fitted.data(), fitted.size());
}

std::string RecordText(const char* field, std::size_t width)
{
    return lt::TrimPadding(lt::CutAtNul(std::string_view(field, width)));
}

template <std::size_t N> void PutRecordText(char (&field)[N], std::string_view text)
{
    std::memset(field, 0, N);
    const std::string_view fitted = Fit(text, N - 1);
    std::memcpy(field, fitted.data(), fitted.size());
}

} // namespace

std::optional<Id3v1Tag> ReadId3v1(std::span<const std::uint8_t> file)
{
    if (file.size() < Id3v1Bytes)
        return std::nullopt;
    const auto t = file.last(Id3v1Bytes);
    if (t[0] != 'T' || t[1] != 'A' || t[2] != 'G')
        return std::nullopt;
    Id3v1Tag tag;
    tag.Title = ReadField(t.subspan(3, 30));
    tag.Artist = ReadField(t.subspan(33, 30));
    tag.Album = ReadField(t.subspan(63, 30));
    tag.Year = ReadField(t.subspan(93, 4));
    // ID3v1.1: a NUL before the last comment byte makes that byte the track.
    const bool hasTrack = t[125] == 0 && t[126] != 0;
    tag.Comment = ReadField(t.subspan(97, hasTrack ? 28 : 30));
    tag.Track = hasTrack ? t[126] : 0;
    tag.Genre = t[127];
    return tag;
}

std::array<std::uint8_t, Id3v1Bytes> WriteId3v1(const Id3v1Tag& tag)
{
    std::array<std::uint8_t, Id3v1Bytes> t{};
    t[0] = 'T';
    t[1] = 'A';
    t[2] = 'G';
    PutField(&t[3], tag.Title, 30);
    PutField(&t[33], tag.Artist, 30);
    PutField(&t[63], tag.Album, 30);
    PutField(&t[93], tag.Year, 4);
    const bool keepTrack = tag.Track > 0 && tag.Track < 256 && Fit(tag.Comment, 30).size() <= 28;
    PutField(&t[97], tag.Comment, keepTrack ? 28 : 30);
    if (keepTrack)
        t[126] = static_cast<std::uint8_t>(tag.Track);
    t[127] = static_cast<std::uint8_t>(tag.Genre >= 0 && tag.Genre < 256 ? tag.Genre : 255);
    return t;
}

std::string_view GenreName(int genre)
{
    return genre >= 0 && genre < static_cast<int>(Genres.size()) ? Genres[genre] : std::string_view();
}

void TagToRecord(const Id3v1Tag& tag, Ltmp3TagInfo& record)
{
    std::memset(&record, 0, sizeof record);
    PutRecordText(record.Title, tag.Title);
    PutRecordText(record.Artist, tag.Artist);
    PutRecordText(record.Album, tag.Album);
    PutRecordText(record.Year, tag.Year);
    PutRecordText(record.Comment, tag.Comment);
    record.Genre = tag.Genre;
    PutRecordText(record.GenreName, GenreName(tag.Genre));
}

Id3v1Tag TagFromRecord(const Ltmp3TagInfo& record)
{
    Id3v1Tag tag;
    tag.Title = RecordText(record.Title, sizeof record.Title);
    tag.Artist = RecordText(record.Artist, sizeof record.Artist);
    tag.Album = RecordText(record.Album, sizeof record.Album);
    tag.Year = RecordText(record.Year, sizeof record.Year);
    tag.Comment = RecordText(record.Comment, sizeof record.Comment);
    tag.Genre = record.Genre;
    return tag;
}

} // namespace ltmp3
