// The saver show's handlers, each a fixed sequence of steps.
#include "saver/core/show.h"

#include <utility>

#include "common/contract.h"

SaverShow::SaverShow(ShowPlatform& platform, MusicPlayer& music, const Settings& settings, std::string ModeLetter,
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
        music_.CdOpen();
        setTimer(ShowTimer::Timer2, true);
    } else if (settings_.MusicSource == 2) {
        const std::string kind = MusicFileKind(settings_.MusicFile);
        if (kind == "WAV") {
            music_.WavPlay(settings_.MusicFile);
        } else if (kind == "MP3") {
            music_.Mp3OpenAndPlay(settings_.MusicFile);
            setTimer(ShowTimer::Timer1, true);
        }
    }
}

void SaverShow::Timer1_Timer()
{
    music_.Mp3Repeat();
}

void SaverShow::Timer2_Timer()
{
    music_.CdWatch(settings_.RepeatTrack);
    if (!music_.CdAvailable)
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
    if (timerRunning(ShowTimer::Timer2)) {
        setTimer(ShowTimer::Timer2, false);
        music_.CdStop();
    }
    if (settings_.MusicSource == 2) {
        const std::string kind = MusicFileKind(settings_.MusicFile);
        if (kind == "WAV") {
            music_.WavStop();
        } else if (kind == "MP3") {
            setTimer(ShowTimer::Timer1, false);
            music_.Mp3Close();
        }
    }
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
