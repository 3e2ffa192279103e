// The saver show: snapshot, renderer start, music, and the watch that ends the show with the renderer.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "saver/core/settings.h"
#include "saver/music/music_calls.h"

enum class ShowTimer { Timer1, Timer2, Timer3 };

// One of the show's timers: its id on the saver window and its interval.
struct ShowTimerEntry {
    ShowTimer timer;
    const char* name;
    std::uintptr_t id;
    std::uint32_t milliseconds;
};

const ShowTimerEntry& showTimerEntry(ShowTimer timer);

// The music the settings choose for the show, worked out once.
enum class ShowMusic { None, Cd, Wav, Mp3 };
ShowMusic ShowMusicOf(const Settings& settings);

// What the hidden saver window asks of the system.
class ShowPlatform {
public:
    virtual ~ShowPlatform() = default;
    // Copies the desktop into the W x W picture and saves it as the user's snapshot file; false when
    // nothing was saved.
    virtual bool saveDesktopSnapshot() = 0;
    virtual void startRenderer(const AnsiText& path) = 0;
    virtual bool rendererWindowExists() = 0;
    // Whether the renderer started by startRenderer is still running (false when it never started).
    virtual bool rendererRunning() = 0;
    virtual void setTimer(const ShowTimerEntry& timer, bool running) = 0;
    virtual void closeSaverWindow() = 0;
    virtual void showCursor() = 0;
};

class SaverShow {
public:
    SaverShow(ShowPlatform& platform, MusicCalls& music, const Settings& settings, std::string ModeLetter,
              const AnsiText& ProgramFolder);

    void Form_Load();
    // The tick of the timer with the given id; false for an id that is none of the show's.
    bool TimerTick(std::uintptr_t id);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    // Stops the music and gives the cursor back, once; the process's end is the caller's.
    void Form_QueryUnload();
    bool timerRunning(ShowTimer timer) const;

private:
    void setTimer(ShowTimer timer, bool running);
    void startMusic();

    ShowPlatform& platform_;
    MusicCalls& music_;
    const Settings& settings_;
    std::string modeLetter_;
    AnsiText RendererPath;
    ShowMusic musicKind_;
    bool running_[3] = {false, false, false};
    bool rendererSeen_ = false;
    bool ended_ = false;
    // Set by the music's own thread once a watch of the drive has found no disc it can read.
    std::atomic<bool> cdGone_{false};
};
