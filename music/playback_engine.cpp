#include "music/playback_engine.h"

#include <algorithm>

#include "core/text_rules.h"
#include "music/music_rules.h"

namespace lt {

namespace {
constexpr int ModeAnswerSize = 1024;
constexpr int NumberAnswerSize = 15;
} // namespace

PlaybackEngine::PlaybackEngine(MciPort& mci, Mp3Port& mp3, SystemPort& system, Settings& settings)
    : mci_(mci), mp3_(mp3), system_(system), settings_(settings)
{
}

void PlaybackEngine::SetHooks(PlayerHooks* hooks)
{
    hooks_ = hooks;
}

void PlaybackEngine::Timer(bool on)
{
    if (hooks_)
        hooks_->SetMusicTimer(on);
}

void PlaybackEngine::Pump(int times)
{
    for (int i = 0; i < times; ++i)
        system_.PumpEvents();
}

const char* PlaybackEngine::Alias() const
{
    return backEnd_ == BackEnd::Wave ? "WAV" : backEnd_ == BackEnd::Midi ? "MID" : nullptr;
}

bool PlaybackEngine::OpenMciFile(const std::string& path, const char* alias, const char* type)
{
    if (path.empty() || !system_.FileExists(path))
        return false;
    StopMusic();
    const std::string target = MciPathArgument(path, system_.ShortPath(path));
    const std::uint32_t code = mci_.SendString("Open " + target + " alias " + alias + " Type " + type, nullptr, 0);
    if (code != 0) {
        system_.ShowMessage(TrimPadding(mci_.ErrorText(code)));
        Timer(false);
        mci_.Execute(std::string("Close ") + alias);
        return false;
    }
    return true;
}

bool PlaybackEngine::OpenWaveFile(const std::string& path)
{
    return OpenMciFile(path, "WAV", "Waveaudio");
}

bool PlaybackEngine::OpenMidiFile(const std::string& path)
{
    if (!OpenMciFile(path, "MID", "Sequencer"))
        return false;
    // The port is applied to the device just opened, whatever was open before.
    const BackEnd previous = backEnd_;
    const bool wasOpen = open_;
    backEnd_ = BackEnd::Midi;
    open_ = true;
    ApplyMidiPort();
    backEnd_ = previous;
    open_ = wasOpen;
    mci_.SendString("set MID time format milliseconds", nullptr, 0);
    return true;
}

bool PlaybackEngine::OpenMp3File(const std::string& path)
{
    return mp3_.Open(path, input_) == 1;
}

bool PlaybackEngine::Open(BackEnd backEnd, const std::string& path)
{
    bool ok = false;
    switch (backEnd) {
    case BackEnd::Wave:
        ok = OpenWaveFile(path);
        break;
    case BackEnd::Midi:
        ok = OpenMidiFile(path);
        break;
    case BackEnd::Mp3:
        ok = OpenMp3File(path);
        break;
    case BackEnd::None:
        break;
    }
    if (!ok)
        return false;
    open_ = true;
    backEnd_ = backEnd;
    // Some sequencers answer in microseconds per beat: keep such values in
    // range rather than let them wrap to negative tempos.
    fileTempo_ = backEnd == BackEnd::Midi ? static_cast<std::int16_t>(std::clamp(GetMidiTempo(), 0, 32767)) : 0;
    return true;
}

int PlaybackEngine::GetMusicState()
{
    if (backEnd_ == BackEnd::Mp3) {
        std::int32_t position = 0;
        return mp3_.GetState(position);
    }
    const char* alias = Alias();
    if (!alias || !open_)
        return 0;
    std::string answer;
    mci_.SendString(std::string("status ") + alias + " mode", &answer, ModeAnswerSize);
    return ModeFromAnswer(answer);
}

std::int32_t PlaybackEngine::GetMusicLength()
{
    if (!open_)
        return 0;
    if (backEnd_ == BackEnd::Mp3)
        return input_.PlayTime;
    const char* alias = Alias();
    if (!alias)
        return 0;
    std::string answer;
    mci_.SendString(std::string("status ") + alias + " length", &answer, NumberAnswerSize);
    return SecondsFromAnswer(answer);
}

std::int32_t PlaybackEngine::GetMusicPosition()
{
    if (!open_)
        return 0;
    if (backEnd_ == BackEnd::Mp3) {
        std::int32_t position = 0;
        mp3_.GetState(position);
        return position;
    }
    const char* alias = Alias();
    if (!alias)
        return 0;
    std::string answer;
    mci_.SendString(std::string("status ") + alias + " position", &answer, NumberAnswerSize);
    return SecondsFromAnswer(answer);
}

bool PlaybackEngine::PlayMusic()
{
    const int state = GetMusicState();
    bool ok = false;
    if (state == 0) {
        if (const char* alias = Alias()) {
            if (GetMusicLength() == GetMusicPosition())
                mci_.SendString(std::string("seek ") + alias + " to " + "0", nullptr, 0);
            ok = mci_.Execute(std::string("Play ") + alias);
        } else if (backEnd_ == BackEnd::Mp3) {
            ok = mp3_.Play() == 1;
        }
        Timer(true);
    } else if (state == 2) {
        if (const char* alias = Alias())
            ok = mci_.Execute(std::string("resume ") + alias);
        else if (backEnd_ == BackEnd::Mp3)
            ok = mp3_.Restart() == 1;
        Timer(true);
    }
    if (ok)
        userStop_ = false;
    return ok;
}

void PlaybackEngine::StopMusic()
{
    const int state = GetMusicState();
    if (state == 1 || state == 2) {
        if (const char* alias = Alias())
            mci_.Execute(std::string("Stop ") + alias);
        else if (backEnd_ == BackEnd::Mp3)
            mp3_.Pause(); // keeps the position; the next play resumes
        Timer(false);
    }
    userStop_ = true;
}

void PlaybackEngine::PauseMusic()
{
    if (GetMusicState() != 1)
        return;
    if (const char* alias = Alias())
        mci_.Execute(std::string("Pause ") + alias);
    else if (backEnd_ == BackEnd::Mp3)
        mp3_.Pause();
    Timer(false);
}

void PlaybackEngine::CloseMusic()
{
    // A second close would send "Close" to a device that is gone, and
    // mciExecute would show its error box.
    if (!open_)
        return;
    const int state = GetMusicState();
    if (state < 0 || state > 2)
        return;
    const char* alias = Alias();
    if (state != 0) {
        if (alias)
            mci_.Execute(std::string("Stop ") + alias);
        else if (backEnd_ == BackEnd::Mp3)
            mp3_.Stop();
    }
    if (alias)
        mci_.Execute(std::string("Close ") + alias);
    else if (backEnd_ == BackEnd::Mp3)
        mp3_.Close();
    Timer(false);
    open_ = false;
}

void PlaybackEngine::SeekMusic(const std::string& position)
{
    const int state = GetMusicState();
    if (state < 0 || state > 2)
        return;
    const bool start = AsciiUpper(position) == "START";
    if (const char* alias = Alias()) {
        const std::string target = start ? position : std::to_string(RoundHalfEven(LeadingNumber(position) * 1000.0));
        mci_.SendString(std::string("seek ") + alias + " to " + target, nullptr, 0);
        if (state == 1)
            PlayMusic(); // an MCI seek halts playback
    } else if (backEnd_ == BackEnd::Mp3) {
        mp3_.Seek(start ? 0 : static_cast<std::int32_t>(RoundHalfEven(LeadingNumber(position))));
    }
}

std::int32_t PlaybackEngine::GetMidiTempo()
{
    std::string answer;
    mci_.SendString("status MID tempo", &answer, NumberAnswerSize);
    return static_cast<std::int32_t>(LeadingNumber(answer));
}

void PlaybackEngine::SetMidiTempo(std::int16_t tempo)
{
    lastTempo_ = tempo;
    mci_.Execute("set MID tempo " + std::to_string(tempo));
}

void PlaybackEngine::ChangeMidiTempo(std::int16_t tempo)
{
    if (open_ && backEnd_ == BackEnd::Midi)
        SetMidiTempo(tempo);
}

void PlaybackEngine::SetMusicVolume(int volume)
{
    if (!open_)
        return;
    volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    if (backEnd_ == BackEnd::Midi)
        system_.SetMidiOutVolume(MidiVolumeWord(volume));
    mp3_.SetVolume(volume, volume);
    settings_.Volume = static_cast<std::int16_t>(volume);
}

std::string PlaybackEngine::ReadMidiTitle(const std::string& path)
{
    const auto bytes = system_.ReadWholeFile(path);
    return bytes ? MidiTitle(*bytes) : "No Title";
}

std::string PlaybackEngine::GetMusicTitle(const std::string& path)
{
    if (!open_)
        return "";
    switch (backEnd_) {
    case BackEnd::Wave:
        return "No Title";
    case BackEnd::Midi:
        return ReadMidiTitle(path);
    case BackEnd::Mp3:
        return Mp3DisplayTitle({input_.Artist, sizeof input_.Artist}, {input_.Title, sizeof input_.Title});
    case BackEnd::None:
        break;
    }
    return "";
}

std::int32_t PlaybackEngine::GetWaveStatus(const std::string& item)
{
    std::string answer;
    mci_.SendString("status WAV " + item, &answer, ModeAnswerSize);
    return static_cast<std::int32_t>(LeadingNumber(answer));
}

bool PlaybackEngine::CheckEndOfTrack(WaveEndCounter& counter, int secondOfMinute)
{
    if (!open_ || userStop_ || GetMusicState() != 0)
        return false;
    if (backEnd_ == BackEnd::Wave && counter.Count < 5) {
        // MCI may report a WAV piece stopped for a moment while it starts.
        if (secondOfMinute != counter.LastSecond) {
            ++counter.Count;
            counter.LastSecond = secondOfMinute;
        }
        return false;
    }
    system_.PumpEvents();
    // The pump may have closed the piece or stopped it on purpose.
    if (!open_ || userStop_ || !hooks_)
        return false;
    const int next = hooks_->NextMusicEntry();
    if (next <= 0)
        return false;
    CloseMusic();
    hooks_->ActivateEntry(next);
    return true;
}

void PlaybackEngine::ApplyMidiPort()
{
    system_.PumpEvents();
    std::string answer;
    mci_.SendString("status MID mode", &answer, ModeAnswerSize);
    const int n = settings_.MidiDevice;
    const bool known = n >= 0 && n < MidiDeviceTable::Size;
    const auto port = [&] {
        const std::int32_t number = midiTable_ && known ? midiTable_->Records[n].Port : 0;
        return "set MID Port " + std::to_string(number);
    };
    if (answer.substr(0, 7) != "playing") {
        if (known) {
            mci_.Execute(port());
            Pump(3);
            return;
        }
    } else {
        StopMusic();
        if (known) {
            mci_.Execute(port());
            Pump(settings_.ErrorWait);
            PlayMusic();
            Pump(3);
            return;
        }
    }
    mci_.Execute("set MID Port mapper");
}

} // namespace lt
