// The system's MCI (mciSendStringA) and wave output (PlaySoundA) behind the music module's interfaces.
#pragma once
#include "saver/music/music_player.h"

class SystemMci : public MciSender {
public:
    std::uint32_t send(const AnsiText& command, AnsiText* reply, std::size_t replyCapacity) override;
    bool errorText(std::uint32_t code, AnsiText& text) override;
};

class SystemSound : public SoundPlayer {
public:
    unsigned waveDeviceCount() override;
    void playLooping(const AnsiText& file) override;
    void stopAll() override;
};
