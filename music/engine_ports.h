// What the playback engine needs from the platform, behind small interfaces:
// the real ones call MCI, the MP3 library and the kernel; tests record.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ltmp3/ltmp3_records.h"

namespace lt {

class MciPort {
public:
    virtual ~MciPort() = default;
    // mciSendStringA: the result code, and the answer up to its first NUL
    // when answerSize > 0 (empty when the command failed).
    virtual std::uint32_t SendString(const std::string& command, std::string* answer, int answerSize) = 0;
    // mciExecute: reports its own failure in a message box.
    virtual bool Execute(const std::string& command) = 0;
    virtual std::string ErrorText(std::uint32_t code) = 0;
};

// The MP3 library's functions the engine calls.
class Mp3Port {
public:
    virtual ~Mp3Port() = default;
    virtual std::int32_t Open(const std::string& path, Ltmp3InputInfo& info) = 0;
    virtual std::int32_t Play() = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual std::int32_t Restart() = 0;
    virtual void Seek(std::int32_t seconds) = 0;
    virtual std::int32_t GetState(std::int32_t& position) = 0;
    virtual void SetVolume(std::int32_t left, std::int32_t right) = 0;
    virtual void Close() = 0;
    virtual std::int32_t GetMpegInfo(Ltmp3MpegInfo& info) = 0;
};

class SystemPort {
public:
    virtual ~SystemPort() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // GetShortPathNameA's text as it comes ("" when it fails).
    virtual std::string ShortPath(const std::string& path) = 0;
    virtual std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) = 0;
    virtual void ShowMessage(const std::string& text) = 0; // OK button, application title
    virtual void SetMidiOutVolume(std::uint32_t word) = 0;
    // Lets pending window messages run; false once the program is ending.
    virtual bool PumpEvents() = 0;
};

// What the player window provides. Switching the timer creates the window
// when it does not exist yet.
class PlayerHooks {
public:
    virtual ~PlayerHooks() = default;
    virtual void SetMusicTimer(bool on) = 0;
    // The next MIDI or MP3 entry after the playing one (wrapping), 0 when none.
    virtual int NextMusicEntry() = 0;
    // Opens the entry in the player (the controller's AcxtiveFile).
    virtual void ActivateEntry(int index) = 0;
};

} // namespace lt
