// Vitrelux_BGM: the show's background music from audio CD, MP3 or WAV, driven through
// the platform's media control interface and wave output.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "saver/ansi_text.h"

// The platform's media control interface (mciSendStringA / mciGetErrorStringA).
class MciSender {
public:
    virtual ~MciSender() = default;
    // Sends a command; when reply is non-null, stores the reply cut to replyCapacity-1 characters (text up to the first NUL).
    virtual std::uint32_t send(const AnsiText& command, AnsiText* reply, std::size_t replyCapacity) = 0;
    virtual bool errorText(std::uint32_t code, AnsiText& text) = 0;  // false when no text is available
};

// The platform's wave output (waveOutGetNumDevs / PlaySoundA).
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual unsigned waveDeviceCount() = 0;
    virtual void playLooping(const AnsiText& file) = 0;
    virtual void stopAll() = 0;
};

class MusicPlayer {
public:
    MusicPlayer(MciSender& mci, SoundPlayer& sound);

    void CdOpen();
    // One look at the drive, every 200 ms of the show: replays the repeat track (0: the whole disc) once it has moved on.
    void CdWatch(std::int16_t RepeatTrack);
    void CdStop();

    void Mp3OpenAndPlay(const AnsiText& MusicFile);
    bool Mp3IsPlaying();
    void Mp3Repeat();
    void Mp3Close();

    void WavPlay(const AnsiText& MusicFile);
    void WavStop();

    // 0 and the reply, or the error code and its text; -1 for an empty command.
    std::int32_t MciCommand(const AnsiText& command, AnsiText& result);
    // The reply, or "Error:<code>".
    AnsiText MciQuery(const AnsiText& command);
    std::int32_t MciPlay(const AnsiText& device, const AnsiText& from, const AnsiText& to);
    // The text of the last MciQuery or MciPlay.
    const AnsiText& ResultText() const { return resultText_; }

    // False until a watch has read the drive; false again after a watch that could not.
    bool CdAvailable = false;

private:
    bool watchCd(std::int16_t repeatTrack);
    std::uint32_t sendWithoutReply(const AnsiText& command);

    MciSender& mci_;
    SoundPlayer& sound_;
    AnsiText resultText_;
};

// The file's last three characters, upper-cased: "WAV", "MP3", "MID".
AnsiText MusicFileKind(const AnsiText& MusicFile);
