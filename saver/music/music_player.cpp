// Vitrelux_BGM's portable logic: the MCI command strings and how their replies are read.
#include "saver/music/music_player.h"

#include <charconv>

#include "saver/texts.h"

namespace {

constexpr std::size_t commandReplyCapacity = 512;
constexpr std::size_t cdModeReplyCapacity = 255;
constexpr std::size_t mp3ModeReplyCapacity = 30;

// ASCII only: Shift-JIS trail bytes can fall on a-z and must stay as they are.
AnsiText upperCased(const AnsiText& text)
{
    std::string upper = text.bytes();
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return AnsiText(upper);
}

bool contains(const AnsiText& text, const char* part)
{
    return text.bytes().find(part) != std::string::npos;
}

// MCI modes are compared on their first seven characters, the length of "playing" and "stopped".
AnsiText modeWord(const AnsiText& reply)
{
    return AnsiText(reply.bytes().substr(0, 7));
}

// Only plain decimal digits count as a track number; anything else is a reply the drive should not give.
bool readTrackNumber(const AnsiText& reply, long& number)
{
    const std::string& text = reply.bytes();
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end;
}

} // namespace

MusicPlayer::MusicPlayer(MciSender& mci, SoundPlayer& sound) : mci_(mci), sound_(sound) {}

void MusicPlayer::CdOpen()
{
    sendWithoutReply("open cdaudio");
    sendWithoutReply("set cdaudio time format tmsf");
}

void MusicPlayer::CdWatch(std::int16_t RepeatTrack)
{
    CdAvailable = watchCd(RepeatTrack);
}

// False as soon as the drive cannot be read; nothing more is sent then.
bool MusicPlayer::watchCd(std::int16_t repeatTrack)
{
    const AnsiText track = upperCased(MciQuery("status cdaudio current track"));
    if (contains(track, "ERR"))
        return false;
    if (contains(upperCased(MciQuery("status cdaudio number of tracks")), "ERR"))
        return false;
    AnsiText mode;
    mci_.send("status cdaudio mode", &mode, cdModeReplyCapacity);
    const bool stopped = modeWord(mode) == "stopped";
    if (repeatTrack == 0) {
        if (stopped)
            MciPlay("cdaudio", "", "");
        return true;
    }
    long currentTrack = 0;
    if (!readTrackNumber(track, currentTrack))
        return false;
    if (stopped || currentTrack != repeatTrack)
        MciPlay("cdaudio", MciQuery("status cdaudio position track " + AnsiNumber(repeatTrack)), "");
    return true;
}

void MusicPlayer::CdStop()
{
    sendWithoutReply("stop cdaudio");
    sendWithoutReply("close cdaudio");
}

void MusicPlayer::Mp3OpenAndPlay(const AnsiText& MusicFile)
{
    if (sendWithoutReply("open \"" + MusicFile + "\" type MPEGVideo Alias MP3Play") == 0)
        sendWithoutReply("play MP3Play");
}

bool MusicPlayer::Mp3IsPlaying()
{
    AnsiText mode;
    mci_.send("status MP3Play mode", &mode, mp3ModeReplyCapacity);
    return modeWord(mode) == "playing";
}

void MusicPlayer::Mp3Repeat()
{
    if (Mp3IsPlaying())
        return;
    sendWithoutReply("stop MP3Play");
    sendWithoutReply("play MP3Play from 0");
}

void MusicPlayer::Mp3Close()
{
    sendWithoutReply("stop MP3Play");
    sendWithoutReply("close MP3Play");
}

void MusicPlayer::WavPlay(const AnsiText& MusicFile)
{
    if (sound_.waveDeviceCount() >= 1)
        sound_.playLooping(MusicFile);
}

void MusicPlayer::WavStop()
{
    sound_.stopAll();
}

// The two texts of the program's own are Shift-JIS whatever the system's code page: nothing shows
// them, and a caller tells them from a reply by the code returned.
std::int32_t MusicPlayer::MciCommand(const AnsiText& command, AnsiText& result)
{
    if (command.empty()) {
        result = AnsiText(texts::mciEmptyCommandText.bytes);
        return -1;
    }
    AnsiText reply;
    const std::uint32_t code = mci_.send(command, &reply, commandReplyCapacity);
    if (code == 0)
        result = reply;
    else if (!mci_.errorText(code, result))
        result = AnsiText(texts::mciNoErrorText.bytes);
    return static_cast<std::int32_t>(code);
}

AnsiText MusicPlayer::MciQuery(const AnsiText& command)
{
    const std::int32_t code = MciCommand(command, resultText_);
    return code == 0 ? resultText_ : "Error:" + AnsiNumber(code);
}

std::int32_t MusicPlayer::MciPlay(const AnsiText& device, const AnsiText& from, const AnsiText& to)
{
    AnsiText command = "play " + device;
    if (!from.empty())
        command += " from " + from;
    if (!to.empty())
        command += " to " + to;
    return MciCommand(command, resultText_);
}

std::uint32_t MusicPlayer::sendWithoutReply(const AnsiText& command)
{
    return mci_.send(command, nullptr, 0);
}

AnsiText MusicFileKind(const AnsiText& MusicFile)
{
    const std::string& path = MusicFile.bytes();
    return upperCased(AnsiText(path.size() > 3 ? path.substr(path.size() - 3) : path));
}
