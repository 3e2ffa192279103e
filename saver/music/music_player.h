// Vitrelux_BGM: the show's background music from audio CD, MP3 or WAV, driven through
// the platform's media control interface and wave output.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The platform's media control interface (mciSendStringA / mciGetErrorStringA).
class MciSender {
public:
    virtual ~MciSender() = default;
    // Sends a command; when reply is non-null, stores the reply cut to replyCapacity-1 characters (text up to the first NUL).
    virtual std::uint32_t send(const std::string& command, std::string* reply, std::size_t replyCapacity) = 0;
    virtual bool errorText(std::uint32_t code, std::string& text) = 0;  // false when no text is available
};

// The platform's wave output (waveOutGetNumDevs / PlaySoundA).
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual unsigned waveDeviceCount() = 0;
    virtual void playLooping(const std::string& file) = 0;
    virtual void stopAll() = 0;
};

class MusicPlayer {
public:
    MusicPlayer(MciSender& mci, SoundPlayer& sound);

    void CdOpen();
    // One look at the drive, every 200 ms of the show: replays the repeat track (0: the whole disc) once it has moved on.
    void CdWatch(std::int16_t RepeatTrack);
    void CdStop();

    void Mp3OpenAndPlay(const std::string& MusicFile);
    bool Mp3IsPlaying();
    void Mp3Repeat();
    void Mp3Close();

    void WavPlay(const std::string& MusicFile);
    void WavStop();

    // 0 and the reply, or the error code and its text; -1 for an empty command.
    std::int32_t MciCommand(const std::string& command, std::string& result);
    // The reply, or "Error:<code>".
    std::string MciQuery(const std::string& command);
    std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);
    // The text of the last MciQuery or MciPlay.
    const std::string& ResultText() const { return resultText_; }

    // False until a watch has read the drive; false again after a watch that could not.
    bool CdAvailable = false;

private:
    bool watchCd(std::int16_t repeatTrack);
    std::uint32_t sendWithoutReply(const std::string& command);

    MciSender& mci_;
    SoundPlayer& sound_;
    std::string resultText_;
};

// The file's last three characters, upper-cased: "WAV", "MP3", "MID".
std::string MusicFileKind(const std::string& MusicFile);
