// winmm calls for the music module: MCI command strings, their error texts and looping WAV playback.
#include "saver/music/music_win32.h"

#include <algorithm>
#include <cstring>
#include <windows.h>
#include <mmsystem.h>

std::uint32_t SystemMci::send(const AnsiText& command, AnsiText* reply, std::size_t replyCapacity)
{
    if (!reply)
        return mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    std::string buffer(replyCapacity, '\0');
    const MCIERROR code = mciSendStringA(command.c_str(), buffer.data(), static_cast<UINT>(replyCapacity), nullptr);
    // Nothing promises a NUL inside the buffer (std::string keeps one past its end), so the reply is cut to the caller's size.
    const std::size_t length = std::min(std::strlen(buffer.c_str()), replyCapacity - 1);
    *reply = AnsiText(buffer.substr(0, length));
    return code;
}

bool SystemMci::errorText(std::uint32_t code, AnsiText& text)
{
    char buffer[256] = {};
    if (!mciGetErrorStringA(code, buffer, sizeof buffer))
        return false;
    text = AnsiText(buffer);
    return true;
}

unsigned SystemSound::waveDeviceCount()
{
    return waveOutGetNumDevs();
}

void SystemSound::playLooping(const AnsiText& file)
{
    PlaySoundA(file.c_str(), nullptr, SND_ASYNC | SND_LOOP);
}

void SystemSound::stopAll()
{
    PlaySoundA(nullptr, nullptr, 0);
}
