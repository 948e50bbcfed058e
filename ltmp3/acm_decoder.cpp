#include "ltmp3/acm_decoder.h"

#include <cstring>

namespace ltmp3 {

namespace {
constexpr std::size_t MaxFrameBytes = 1441 + 4; // MPEG-1, 320 kbit/s at 32 kHz, padded
} // namespace

bool AcmDecoder::Open(const FrameHeader& h)
{
    Close();
    const int channels = h.Channels();
    mp3_ = {};
    mp3_.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3_.wfx.nChannels = static_cast<WORD>(channels);
    mp3_.wfx.nSamplesPerSec = static_cast<DWORD>(h.SampleRate);
    mp3_.wfx.nAvgBytesPerSec = static_cast<DWORD>(h.BitRate * 125);
    mp3_.wfx.nBlockAlign = 1;
    mp3_.wfx.wBitsPerSample = 0;
    mp3_.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3_.wID = MPEGLAYER3_ID_MPEG;
    mp3_.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3_.nBlockSize = static_cast<WORD>(h.FrameBytes());
    mp3_.nFramesPerBlock = 1;
    mp3_.nCodecDelay = 0;

    pcm_ = {};
    pcm_.wFormatTag = WAVE_FORMAT_PCM;
    pcm_.nChannels = static_cast<WORD>(channels);
    pcm_.nSamplesPerSec = static_cast<DWORD>(h.SampleRate);
    pcm_.wBitsPerSample = 16;
    pcm_.nBlockAlign = static_cast<WORD>(channels * 2);
    pcm_.nAvgBytesPerSec = pcm_.nSamplesPerSec * pcm_.nBlockAlign;

    src_.assign(MaxFramesPerCall * MaxFrameBytes, 0);
    // Room for the frames of one call and what the codec may still hold back.
    dst_.assign((MaxFramesPerCall + 4) * 1152 * pcm_.nBlockAlign, 0);
    return OpenStream();
}

bool AcmDecoder::OpenStream()
{
    if (acmStreamOpen(&stream_, nullptr, &mp3_.wfx, &pcm_, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) {
        stream_ = nullptr;
        return false;
    }
    header_ = {};
    header_.cbStruct = sizeof header_;
    header_.pbSrc = src_.data();
    header_.cbSrcLength = static_cast<DWORD>(src_.size());
    header_.pbDst = dst_.data();
    header_.cbDstLength = static_cast<DWORD>(dst_.size());
    if (acmStreamPrepareHeader(stream_, &header_, 0) != 0) {
        acmStreamClose(stream_, 0);
        stream_ = nullptr;
        return false;
    }
    started_ = false;
    return true;
}

void AcmDecoder::Close()
{
    if (!stream_)
        return;
    header_.cbSrcLength = static_cast<DWORD>(src_.size());
    header_.cbDstLength = static_cast<DWORD>(dst_.size());
    acmStreamUnprepareHeader(stream_, &header_, 0);
    acmStreamClose(stream_, 0);
    stream_ = nullptr;
}

bool AcmDecoder::Restart()
{
    if (!stream_)
        return false;
    // Reopening is the one reset every codec honours.
    Close();
    return OpenStream();
}

bool AcmDecoder::Decode(std::span<const std::uint8_t> frames, std::vector<std::uint8_t>& out)
{
    if (!stream_ || frames.size() > src_.size())
        return false;
    std::memcpy(src_.data(), frames.data(), frames.size());
    std::size_t offered = frames.size();
    std::size_t at = 0;
    // A full output buffer means the codec may hold more: ask again with
    // what is left (possibly nothing) until it runs dry.
    for (int round = 0; round < 16; ++round) {
        header_.pbSrc = src_.data() + at;
        header_.cbSrcLength = static_cast<DWORD>(offered);
        header_.cbDstLength = static_cast<DWORD>(dst_.size());
        header_.cbSrcLengthUsed = header_.cbDstLengthUsed = 0;
        const DWORD flags =
            started_ ? ACM_STREAMCONVERTF_BLOCKALIGN : ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
        if (acmStreamConvert(stream_, &header_, flags) != 0)
            return false;
        started_ = true;
        out.insert(out.end(), dst_.data(), dst_.data() + header_.cbDstLengthUsed);
        const std::size_t used = header_.cbSrcLengthUsed > offered ? offered : header_.cbSrcLengthUsed;
        at += used;
        offered -= used;
        if (header_.cbDstLengthUsed < header_.cbDstLength && (offered == 0 || used == 0))
            break;
    }
    header_.pbSrc = src_.data();
    return true;
}

bool DecodeFrames(AcmDecoder& decoder, std::span<const std::uint8_t> file, const StreamInfo& info, std::size_t first,
                  std::size_t last, std::vector<std::uint8_t>& out)
{
    std::size_t i = first;
    while (i < last) {
        // A run of adjacent frames, at most one call's worth.
        const std::size_t begin = info.Offsets[i];
        std::size_t end = begin;
        std::size_t n = 0;
        while (i < last && n < AcmDecoder::MaxFramesPerCall && info.Offsets[i] == end) {
            const auto h = ParseFrameHeader(file.subspan(info.Offsets[i], 4));
            end += h ? static_cast<std::size_t>(h->FrameBytes()) : 0;
            ++i;
            ++n;
        }
        if (!decoder.Decode(file.subspan(begin, end - begin), out))
            return false;
    }
    return true;
}

} // namespace ltmp3
