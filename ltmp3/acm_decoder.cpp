#include "ltmp3/acm_decoder.h"

#include <cstring>

namespace ltmp3 {

bool AcmDecoder::Open(const FrameHeader& h, HACMDRIVER driver)
{
    Close();
    driver_ = driver;
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

    // Room for the frames of one call after what an earlier one left.
    src_.assign(2 * MaxFramesPerCall * MaxFrameBytes, 0);
    // Room for the frames of one call and what the codec may still hold back.
    dst_.assign((MaxFramesPerCall + 4) * 1152 * pcm_.nBlockAlign, 0);
    opened_ = 0;
    return OpenStream();
}

bool AcmDecoder::OpenStream()
{
    if (acmStreamOpen(&stream_, driver_, &mp3_.wfx, &pcm_, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) {
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
    carried_ = 0;
    ++opened_;
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
    if (carried_ + frames.size() > src_.size())
        carried_ = 0; // a codec that never takes its input: start over with these frames
    std::memcpy(src_.data() + carried_, frames.data(), frames.size());
    std::size_t held = carried_ + frames.size();
    // The header stays as prepared: its buffers fixed, only the lengths
    // offered change. A full output buffer means the codec may hold more:
    // ask again with what is left (possibly nothing) until it runs dry.
    for (int round = 0; round < 16; ++round) {
        header_.cbSrcLength = static_cast<DWORD>(held);
        header_.cbDstLength = static_cast<DWORD>(dst_.size());
        header_.cbSrcLengthUsed = header_.cbDstLengthUsed = 0;
        const DWORD flags =
            started_ ? ACM_STREAMCONVERTF_BLOCKALIGN : ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
        if (acmStreamConvert(stream_, &header_, flags) != 0) {
            carried_ = 0;
            return false;
        }
        started_ = true;
        out.insert(out.end(), dst_.data(), dst_.data() + header_.cbDstLengthUsed);
        const std::size_t used = header_.cbSrcLengthUsed > held ? held : header_.cbSrcLengthUsed;
        if (used > 0 && used < held)
            std::memmove(src_.data(), src_.data() + used, held - used);
        held -= used;
        if (header_.cbDstLengthUsed < header_.cbDstLength && (held == 0 || used == 0))
            break;
    }
    // What the codec did not take (part of a frame it waits to see whole)
    // goes in front of the next frames.
    carried_ = held;
    return true;
}

std::size_t DecodeFrames(AcmDecoder& decoder, std::span<const std::uint8_t> bytes, std::uint64_t base,
                         const StreamInfo& info, std::size_t first, std::size_t last, std::vector<std::uint8_t>& out)
{
    const std::uint64_t limit = base + bytes.size();
    std::size_t i = first;
    while (i < last) {
        // A run of adjacent frames wholly in the bytes, at most one call's worth.
        const std::uint64_t begin = info.Offsets[i];
        std::uint64_t end = begin;
        std::size_t n = 0;
        while (i < last && n < AcmDecoder::MaxFramesPerCall && info.Offsets[i] == end && end + 4 <= limit) {
            const auto h = ParseFrameHeader(bytes.subspan(static_cast<std::size_t>(end - base), 4));
            const std::uint64_t next = end + (h ? static_cast<std::uint64_t>(h->FrameBytes()) : 0);
            if (!h || next > limit)
                break;
            end = next;
            ++i;
            ++n;
        }
        if (n == 0)
            break; // the bytes end (or change) before the next frame does
        const auto run = bytes.subspan(static_cast<std::size_t>(begin - base), static_cast<std::size_t>(end - begin));
        if (!decoder.Decode(run, out))
            decoder.Restart(); // a run the codec refuses: start afresh after it
    }
    return i - first;
}

} // namespace ltmp3
