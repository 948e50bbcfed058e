// The records the MP3 library fills and reads, laid out byte for byte as its
// callers expect. Texts are ANSI (Shift-JIS), NUL-padded.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct Ltmp3InputInfo {
    char Title[128];
    char Artist[128];
    std::int32_t Channels;
    std::int32_t BitRate;    // kbit/s
    std::int32_t SampleRate; // Hz
    std::int32_t PlayTime;   // whole seconds
};

struct Ltmp3MpegInfo {
    std::int32_t Version; // 1 = MPEG-1, 2 = MPEG-2 (and 2.5)
    std::int32_t Layer;
    std::int32_t Protection;
    std::int32_t Private;
    std::int32_t ChannelMode;
    std::int32_t Copyright;
    std::int32_t Original;
    std::int32_t Emphasis;
    std::int32_t Channels;
    std::int32_t BitRate;
    std::int32_t SampleRate;
    std::int32_t FileSize;
    std::int32_t FrameCount;
    std::int32_t PlayTime;
};

struct Ltmp3TagInfo {
    char Title[128];
    char Artist[128];
    char Album[128];
    char Year[5];
    char Comment[128];
    char Padding[3];
    std::int32_t Genre;
    char GenreName[128];
};

#pragma pack(pop)

static_assert(sizeof(Ltmp3InputInfo) == 272);
static_assert(sizeof(Ltmp3MpegInfo) == 56);
static_assert(sizeof(Ltmp3TagInfo) == 652);
static_assert(offsetof(Ltmp3TagInfo, Comment) == 389);
static_assert(offsetof(Ltmp3TagInfo, Genre) == 520);
static_assert(offsetof(Ltmp3TagInfo, GenreName) == 524);
