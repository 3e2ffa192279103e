// The saver show's handlers, each a fixed sequence of steps.
#include "saver/core/show.h"

#include <utility>
#include <vector>

#include "common/contract.h"

namespace {

// How long the end of the show waits for the music to stop: a media layer that hangs then holds
// nothing, the process ends all the same.
constexpr std::chrono::milliseconds musicStopDeadline{1000};

struct TimerTable {
    ShowTimerEntry entry;
    void (SaverShow::*tick)();
};

// What each of the show's timers watches, in the order of ShowTimer.
const TimerTable timers[] = {
    // The MP3's end, to play it again.
    {{ShowTimer::Timer1, "Timer1", 1, 1000}, &SaverShow::Timer1_Timer},
    // The CD's track and the disc itself.
    {{ShowTimer::Timer2, "Timer2", 2, 200}, &SaverShow::Timer2_Timer},
    // The renderer's window, whose end is the show's.
    {{ShowTimer::Timer3, "Timer3", 3, 500}, &SaverShow::Timer3_Timer},
};

} // namespace

const ShowTimerEntry& showTimerEntry(ShowTimer timer)
{
    return timers[static_cast<int>(timer)].entry;
}

ShowMusic ShowMusicOf(const Settings& settings)
{
    if (settings.MusicSource == 1)
        return ShowMusic::Cd;
    if (settings.MusicSource != 2)
        return ShowMusic::None;
    const AnsiText kind = MusicFileKind(settings.MusicFile);
    if (kind == "WAV")
        return ShowMusic::Wav;
    return kind == "MP3" ? ShowMusic::Mp3 : ShowMusic::None;
}

SaverShow::SaverShow(ShowPlatform& platform, MusicCalls& music, const Settings& settings, std::string ModeLetter,
                     const AnsiText& ProgramFolder)
    : platform_(platform), music_(music), settings_(settings), modeLetter_(std::move(ModeLetter)),
      RendererPath(ProgramFolder + "\\" + contract::rendererFileName), musicKind_(ShowMusicOf(settings))
{
}

void SaverShow::Form_Load()
{
    setTimer(ShowTimer::Timer3, true);
    // A snapshot that cannot be saved leaves the previous one for the renderer; the show goes on.
    platform_.saveDesktopSnapshot();
    platform_.startRenderer(RendererPath);
    startMusic();
}

void SaverShow::startMusic()
{
    const AnsiText file = settings_.MusicFile;
    switch (musicKind_) {
    case ShowMusic::Cd:
        music_.run([](MusicPlayer& player) { player.CdOpen(); });
        setTimer(ShowTimer::Timer2, true);
        break;
    case ShowMusic::Wav:
        music_.run([file](MusicPlayer& player) { player.WavPlay(file); });
        break;
    case ShowMusic::Mp3:
        music_.run([file](MusicPlayer& player) { player.Mp3OpenAndPlay(file); });
        setTimer(ShowTimer::Timer1, true);
        break;
    case ShowMusic::None:
        break;
    }
}

bool SaverShow::TimerTick(std::uintptr_t id)
{
    for (const TimerTable& timer : timers) {
        if (timer.entry.id == id) {
            (this->*timer.tick)();
            return true;
        }
    }
    return false;
}

void SaverShow::Timer1_Timer()
{
    music_.runIfIdle([](MusicPlayer& player) { player.Mp3Repeat(); });
}

// The drive is left alone from the first watch that could not read it.
void SaverShow::Timer2_Timer()
{
    if (!cdGone_) {
        const std::int16_t track = settings_.RepeatTrack;
        music_.runIfIdle([this, track](MusicPlayer& player) {
            player.CdWatch(track);
            cdGone_ = !player.CdAvailable;
        });
    }
    if (cdGone_)
        setTimer(ShowTimer::Timer2, false);
}

void SaverShow::Timer3_Timer()
{
    if (platform_.rendererWindowExists()) {
        rendererSeen_ = true;
        return;
    }
    // A renderer still starting up has no window yet: only one that came and went, or a renderer
    // that is no longer running, ends the show.
    if (!rendererSeen_ && platform_.rendererRunning())
        return;
    setTimer(ShowTimer::Timer3, false);
    platform_.closeSaverWindow();
}

void SaverShow::Form_QueryUnload()
{
    if (ended_)
        return;
    ended_ = true;
    std::vector<MusicCall> stops;
    if (timerRunning(ShowTimer::Timer2)) {
        setTimer(ShowTimer::Timer2, false);
        stops.push_back([](MusicPlayer& player) { player.CdStop(); });
    }
    if (musicKind_ == ShowMusic::Wav) {
        stops.push_back([](MusicPlayer& player) { player.WavStop(); });
    } else if (musicKind_ == ShowMusic::Mp3) {
        setTimer(ShowTimer::Timer1, false);
        stops.push_back([](MusicPlayer& player) { player.Mp3Close(); });
    }
    music_.finish(
        [stops](MusicPlayer& player) {
            for (const MusicCall& stop : stops)
                stop(player);
        },
        musicStopDeadline);
    if (modeLetter_ == "S")
        platform_.showCursor();
}

bool SaverShow::timerRunning(ShowTimer timer) const
{
    return running_[static_cast<int>(timer)];
}

void SaverShow::setTimer(ShowTimer timer, bool running)
{
    running_[static_cast<int>(timer)] = running;
    platform_.setTimer(showTimerEntry(timer), running);
}
