// The sheets' texture: the desktop snapshot that the front end saved, read and scaled on a thread
// of its own while the renderer starts, then uploaded.
#pragma once
#include <cstdint>
#include <future>
#include <memory>
#include <string>

// The texture's one level in packed (blue, green, red) rows, bottom row first; no pixels when there
// is no texture, and then perhaps a message for the user.
struct TextureLevel {
    std::unique_ptr<std::uint8_t[]> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::wstring message;
};

// Reads, converts and scales the user's snapshot.
TextureLevel prepareUserSnapshot();

class SnapshotTexture {
public:
    // Starts prepare on a thread of its own. Neither a thread that cannot be started nor an
    // exception of prepare's costs the show: the first has the texture prepared by make, the second
    // costs the texture.
    explicit SnapshotTexture(TextureLevel (*prepare)() = prepareUserSnapshot);
    // Whether what was started is ready (or nothing was), after waiting for it up to the given time.
    bool prepared(std::uint32_t milliseconds) const;
    // Makes the texture from what was prepared (prepared now where no thread could start, or what
    // was prepared is used up), and returns its name; 0 where there is none, and then perhaps a
    // message for the user. Needs the GL context.
    unsigned make(std::wstring& message);

private:
    TextureLevel (*prepare_)();
    std::future<TextureLevel> level_;
};
