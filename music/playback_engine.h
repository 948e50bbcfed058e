// The playback engine: one music file at a time on one of three back ends,
// the MCI waveaudio and sequencer devices and the MP3 library.
#pragma once
#include <cstdint>
#include <string>

#include "core/settings_rules.h"
#include "ltmp3/ltmp3_records.h"
#include "music/engine_ports.h"
#include "music/midi_ports.h"

namespace lt {

enum class BackEnd : std::int16_t { None = 0, Wave = 1, Midi = 2, Mp3 = 3 };

// The player's count of stopped ticks before a WAV piece counts as ended.
struct WaveEndCounter {
    int Count = 0;
    int LastSecond = -1;
};

class PlaybackEngine {
public:
    PlaybackEngine(MciPort& mci, Mp3Port& mp3, SystemPort& system, Settings& settings);

    void SetHooks(PlayerHooks* hooks); // null: no window (timer switches go nowhere)
    void SetMidiTable(const MidiDeviceTable* table) { midiTable_ = table; }

    enum class OpenResult {
        Opened,
        Failed,     // nothing said: a missing file, or the MP3 library refused it
        Reported,   // the device's error text has been shown
        Superseded, // another open or a close came while messages ran; it owns the state
    };
    // Opens with the back end's operation (for MIDI the port and the time
    // format too) and records the open flag, the back end and the file tempo.
    bool Open(BackEnd backEnd, const std::string& path, OpenResult* result = nullptr);

    bool PlayMusic();
    void StopMusic();
    void PauseMusic();
    void CloseMusic();
    void SeekMusic(const std::string& position);
    int GetMusicState();
    std::int32_t GetMusicLength();
    std::int32_t GetMusicPosition();

    std::int32_t GetMidiTempo();
    void SetMidiTempo(std::int16_t tempo);
    void ChangeMidiTempo(std::int16_t tempo);
    void SetMusicVolume(int volume);

    std::string GetMusicTitle(const std::string& path);
    std::string ReadMidiTitle(const std::string& path);
    std::int32_t GetWaveStatus(const std::string& item);

    // The end-of-track rule, run by the player's timer after it redraws;
    // secondOfMinute is the clock's. True when it moved on to another entry.
    bool CheckEndOfTrack(WaveEndCounter& counter, int secondOfMinute);

    // Applies the MidiDevice setting to the sequencer.
    void ApplyMidiPort();

    bool IsOpen() const { return open_; }
    // The state last read from the device or left by a command of the
    // engine: what the player shows without asking the device again.
    int KnownState() const { return knownState_; }
    BackEnd CurrentBackEnd() const { return backEnd_; }
    bool UserStopped() const { return userStop_; }
    void SetUserStopped(bool on) { userStop_ = on; }
    std::int16_t LastTempoSent() const { return lastTempo_; }
    std::int16_t FileTempo() const { return fileTempo_; }
    const Ltmp3InputInfo& InputInfo() const { return input_; }
    bool GetMpegInfo(Ltmp3MpegInfo& info) { return mp3_.GetMpegInfo(info) == 1; }

private:
    OpenResult OpenMciFile(const std::string& path, const char* alias, const char* type);
    const char* Alias() const; // "WAV" or "MID" for the MCI back ends, else null
    // mciExecute until a command of this device has failed and shown its
    // box; after that quietly, so one fault gives one box.
    bool Execute(const std::string& command);
    void Timer(bool on);
    // False when the program is ending or another open or close came
    // meanwhile: the caller stops there.
    bool Pump(int times, unsigned device);

    MciPort& mci_;
    Mp3Port& mp3_;
    SystemPort& system_;
    Settings& settings_;
    PlayerHooks* hooks_ = nullptr;
    const MidiDeviceTable* midiTable_ = nullptr;

    BackEnd backEnd_ = BackEnd::None;
    bool open_ = false;
    bool userStop_ = false;
    bool told_ = false;   // a command of the open device failed in its box
    unsigned device_ = 0; // counts opens and closes
    int knownState_ = 0;
    std::int16_t lastTempo_ = 0;
    std::int16_t fileTempo_ = 0;
    Ltmp3InputInfo input_{};
};

} // namespace lt
