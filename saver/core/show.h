// The saver show: snapshot, renderer start, music, and the watch that ends the show with the renderer.
#pragma once
#include <atomic>
#include <string>

#include "saver/core/settings.h"
#include "saver/music/music_calls.h"

enum class ShowTimer { Timer1, Timer2, Timer3 };

// What the hidden saver window asks of the system.
class ShowPlatform {
public:
    virtual ~ShowPlatform() = default;
    // Copies the desktop into the W x W picture and saves it as the user's snapshot file; false when
    // nothing was saved.
    virtual bool saveDesktopSnapshot() = 0;
    virtual void startRenderer(const std::string& path) = 0;
    virtual bool rendererWindowExists() = 0;
    // Whether the renderer started by startRenderer is still running (false when it never started).
    virtual bool rendererRunning() = 0;
    virtual void setTimer(ShowTimer timer, bool running) = 0;
    virtual void closeSaverWindow() = 0;
    virtual void showCursor() = 0;
    virtual void terminate() = 0;
};

class SaverShow {
public:
    SaverShow(ShowPlatform& platform, MusicCalls& music, const Settings& settings, std::string ModeLetter,
              std::string ProgramFolder);

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Form_QueryUnload();
    bool timerRunning(ShowTimer timer) const;

private:
    void setTimer(ShowTimer timer, bool running);
    void startMusic();

    ShowPlatform& platform_;
    MusicCalls& music_;
    const Settings& settings_;
    std::string modeLetter_;
    std::string RendererPath;
    bool running_[3] = {false, false, true};
    bool rendererSeen_ = false;
    // Set by the music's own thread once a watch of the drive has found no disc it can read.
    std::atomic<bool> cdGone_{false};
};
