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

bool PlaybackEngine::Pump(int times, unsigned device)
{
    for (int i = 0; i < times; ++i)
        if (!system_.PumpEvents() || device != device_)
            return false;
    return device == device_;
}

const char* PlaybackEngine::Alias() const
{
    return backEnd_ == BackEnd::Wave ? "WAV" : backEnd_ == BackEnd::Midi ? "MID" : nullptr;
}

bool PlaybackEngine::Execute(const std::string& command)
{
    if (told_)
        return mci_.SendString(command, nullptr, 0) == 0;
    if (mci_.Execute(command))
        return true;
    told_ = true;
    return false;
}

PlaybackEngine::OpenResult PlaybackEngine::OpenMciFile(const std::string& path, const char* alias, const char* type)
{
    if (path.empty() || !system_.FileExists(path))
        return OpenResult::Failed;
    StopMusic();
    const unsigned device = device_;
    const std::string target = MciPathArgument(path, system_.ShortPath(path));
    const std::uint32_t code = mci_.SendString("Open " + target + " alias " + alias + " Type " + type, nullptr, 0);
    if (code == 0)
        return OpenResult::Opened;
    // Quietly, before the box lets messages run: the device never opened,
    // and mciExecute would only add a second box saying so.
    mci_.SendString(std::string("Close ") + alias, nullptr, 0);
    system_.ShowMessage(TrimPadding(mci_.ErrorText(code)));
    if (device != device_)
        return OpenResult::Superseded; // the timer belongs to what came meanwhile
    Timer(false);
    return OpenResult::Reported;
}

bool PlaybackEngine::Open(BackEnd backEnd, const std::string& path, OpenResult* result)
{
    const unsigned device = ++device_;
    OpenResult r = OpenResult::Failed;
    if (backEnd == BackEnd::Wave)
        r = OpenMciFile(path, "WAV", "Waveaudio");
    else if (backEnd == BackEnd::Midi)
        r = OpenMciFile(path, "MID", "Sequencer");
    else if (backEnd == BackEnd::Mp3)
        r = mp3_.Open(path, input_) == 1 ? OpenResult::Opened : OpenResult::Failed;
    if (r == OpenResult::Opened) {
        open_ = true;
        backEnd_ = backEnd;
        told_ = false;
        knownState_ = 0;
        fileTempo_ = 0;
        if (backEnd == BackEnd::Midi) {
            // The port's waits let messages run: a newer open may have closed
            // this device and opened its own, and owns the state from then on.
            ApplyMidiPort();
            if (device != device_) {
                r = OpenResult::Superseded;
            } else {
                Execute("set MID time format milliseconds");
                fileTempo_ = static_cast<std::int16_t>(ClampTempo(GetMidiTempo()));
            }
        }
    }
    if (result)
        *result = r;
    return r == OpenResult::Opened;
}

int PlaybackEngine::GetMusicState()
{
    if (backEnd_ == BackEnd::Mp3) {
        std::int32_t position = 0;
        return knownState_ = mp3_.GetState(position);
    }
    const char* alias = Alias();
    if (!alias || !open_)
        return knownState_ = 0;
    std::string answer;
    mci_.SendString(std::string("status ") + alias + " mode", &answer, ModeAnswerSize);
    return knownState_ = ModeFromAnswer(answer);
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
        knownState_ = mp3_.GetState(position);
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
            ok = Execute(std::string("Play ") + alias);
        } else if (backEnd_ == BackEnd::Mp3) {
            ok = mp3_.Play() == 1;
        }
        Timer(true);
    } else if (state == 2) {
        if (const char* alias = Alias())
            ok = Execute(std::string("resume ") + alias);
        else if (backEnd_ == BackEnd::Mp3)
            ok = mp3_.Restart() == 1;
        Timer(true);
    }
    if (ok) {
        userStop_ = false;
        knownState_ = 1;
    }
    return ok;
}

void PlaybackEngine::StopMusic()
{
    const int state = GetMusicState();
    if (state == 1 || state == 2) {
        if (const char* alias = Alias()) {
            Execute(std::string("Stop ") + alias);
            knownState_ = 0;
        } else if (backEnd_ == BackEnd::Mp3) {
            mp3_.Pause(); // keeps the position; the next play resumes
            knownState_ = 2;
        }
        Timer(false);
    }
    userStop_ = true;
}

void PlaybackEngine::PauseMusic()
{
    if (GetMusicState() != 1)
        return;
    if (const char* alias = Alias())
        Execute(std::string("Pause ") + alias);
    else if (backEnd_ == BackEnd::Mp3)
        mp3_.Pause();
    knownState_ = 2;
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
            Execute(std::string("Stop ") + alias);
        else if (backEnd_ == BackEnd::Mp3)
            mp3_.Stop();
    }
    if (alias)
        Execute(std::string("Close ") + alias);
    else if (backEnd_ == BackEnd::Mp3)
        mp3_.Close();
    ++device_;
    Timer(false);
    open_ = false;
    knownState_ = 0;
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
    Execute("set MID tempo " + std::to_string(tempo));
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
    // The pump may have closed the piece or stopped it on purpose.
    if (!system_.PumpEvents() || !open_ || userStop_ || !hooks_)
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
    // Each wait lets messages run: once the device is closed or replaced,
    // the rest would go to a device this call never saw.
    const unsigned device = device_;
    if (!Pump(1, device))
        return;
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
            Execute(port());
            Pump(3, device);
            return;
        }
    } else {
        StopMusic();
        if (known) {
            Execute(port());
            if (!Pump(settings_.ErrorWait, device))
                return;
            PlayMusic();
            Pump(3, device);
            return;
        }
    }
    Execute("set MID Port mapper");
}

} // namespace lt
