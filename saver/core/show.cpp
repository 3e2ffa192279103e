// The saver show's handlers, each a fixed sequence of steps.
#include "saver/core/show.h"

#include <utility>
#include <vector>

#include "common/contract.h"

namespace {

// How long the end of the show waits for the music to stop: a media layer that hangs then holds
// nothing, the process ends all the same.
constexpr std::chrono::milliseconds musicStopDeadline{1000};

} // namespace

SaverShow::SaverShow(ShowPlatform& platform, MusicCalls& music, const Settings& settings, std::string ModeLetter,
                     std::string ProgramFolder)
    : platform_(platform), music_(music), settings_(settings), modeLetter_(std::move(ModeLetter)),
      RendererPath(std::move(ProgramFolder) + "\\" + contract::rendererFileName)
{
}

void SaverShow::Form_Load()
{
    // A snapshot that cannot be saved leaves the previous one for the renderer; the show goes on.
    platform_.saveDesktopSnapshot();
    platform_.startRenderer(RendererPath);
    startMusic();
}

void SaverShow::startMusic()
{
    if (settings_.MusicSource == 1) {
        music_.run([](MusicPlayer& player) { player.CdOpen(); });
        setTimer(ShowTimer::Timer2, true);
    } else if (settings_.MusicSource == 2) {
        const std::string kind = MusicFileKind(settings_.MusicFile);
        const std::string file = settings_.MusicFile;
        if (kind == "WAV") {
            music_.run([file](MusicPlayer& player) { player.WavPlay(file); });
        } else if (kind == "MP3") {
            music_.run([file](MusicPlayer& player) { player.Mp3OpenAndPlay(file); });
            setTimer(ShowTimer::Timer1, true);
        }
    }
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
    std::vector<MusicCall> stops;
    if (timerRunning(ShowTimer::Timer2)) {
        setTimer(ShowTimer::Timer2, false);
        stops.push_back([](MusicPlayer& player) { player.CdStop(); });
    }
    if (settings_.MusicSource == 2) {
        const std::string kind = MusicFileKind(settings_.MusicFile);
        if (kind == "WAV") {
            stops.push_back([](MusicPlayer& player) { player.WavStop(); });
        } else if (kind == "MP3") {
            setTimer(ShowTimer::Timer1, false);
            stops.push_back([](MusicPlayer& player) { player.Mp3Close(); });
        }
    }
    music_.finish(
        [stops](MusicPlayer& player) {
            for (const MusicCall& stop : stops)
                stop(player);
        },
        musicStopDeadline);
    if (modeLetter_ == "S")
        platform_.showCursor();
    platform_.terminate();
}

bool SaverShow::timerRunning(ShowTimer timer) const
{
    return running_[static_cast<int>(timer)];
}

void SaverShow::setTimer(ShowTimer timer, bool running)
{
    running_[static_cast<int>(timer)] = running;
    platform_.setTimer(timer, running);
}
