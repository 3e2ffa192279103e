// The snapshot file on real files: GDI's conversion, the row copy, orientation and the refusals; and
// the texture made of it.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "common/snapshot_place_win32.h"
#include "render/renderer_win32.h"
#include "render/snapshot_win32.h"
#include "tests/win32/gdi_picture_win32.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint16_t v)
{
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A test picture whose every pixel differs: row y, column x.
Rgb pixelAt(int x, int y)
{
    return {static_cast<std::uint8_t>(40 * x + 1), static_cast<std::uint8_t>(60 * y + 2), static_cast<std::uint8_t>(7 * x + 11 * y)};
}

// Encodes rows bottom-up (or top-down) at 24 or 32 bits, with a file header.
Bytes encodeBitmap(int width, int height, int bits, bool topDown, std::uint32_t headerSize = 40)
{
    const int stride = (bits * width + 31) / 32 * 4;
    Bytes pixels;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;  // y counts from the top of the picture
        std::size_t start = pixels.size();
        for (int x = 0; x < width; ++x) {
            Rgb p = pixelAt(x, y);
            pixels.insert(pixels.end(), {p.b, p.g, p.r});
            if (bits == 32)
                pixels.push_back(0);
        }
        pixels.resize(start + stride, 0);
    }
    Bytes file = {'B', 'M'};
    put32(file, 14 + headerSize + pixels.size());
    put32(file, 0);
    put32(file, 14 + headerSize);
    put32(file, headerSize);
    put32(file, width);
    put32(file, topDown ? -height : height);
    put16(file, 1);
    put16(file, bits);
    put32(file, 0);
    put32(file, pixels.size());
    put32(file, 2835);
    put32(file, 2835);
    put32(file, 0);
    put32(file, 0);
    file.resize(14 + headerSize, 0);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

class SnapshotLoader : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"vitrelux_loader_test.bmp";
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    const std::wstring& write(const Bytes& bytes)
    {
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (!bytes.empty())
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path_;
    }

    std::wstring path_;
};

// The texture wants the bottom row first, whatever the file's row order.
void expectUprightPicture(const RgbPicture& image, int width, int height)
{
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = image.pixels.data() + (row * width + x) * 3;
            EXPECT_EQ((Rgb{p[0], p[1], p[2]}), pixelAt(x, height - 1 - row)) << "row " << row << " column " << x;
        }
}

TEST_F(SnapshotLoader, DecodesTheFormatsItIsGiven)
{
    struct Case {
        int width, height, bits;
        bool topDown;
    };
    const Case cases[] = {
        {5, 3, 24, false},  // one padding byte per source row
        {6, 2, 24, false}, {7, 4, 24, false}, {4, 4, 24, false},
        {5, 3, 32, false},  // the front end's own format on a 32-bit display
        {5, 3, 24, true},   {3, 2, 32, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.bits << (c.topDown ? " top-down" : ""));
        std::wstring message = L"sentinel";
        RgbPicture image;
        ASSERT_TRUE(loadWithGdi(write(encodeBitmap(c.width, c.height, c.bits, c.topDown)), image, message));
        expectUprightPicture(image, c.width, c.height);
        EXPECT_EQ(message, L"");
    }
}

TEST_F(SnapshotLoader, ReadsAPaletteBitmapThroughItsColourTable)
{
    // 8-bit, 2 x 1, colours used 3: entries (B, G, R, 0).
    Bytes file = {'B', 'M'};
    put32(file, 14 + 40 + 12 + 4);
    put32(file, 0);
    put32(file, 14 + 40 + 12);
    put32(file, 40);
    put32(file, 2);
    put32(file, 1);
    put16(file, 1);
    put16(file, 8);
    for (std::uint32_t v : {0u, 0u, 0u, 0u, 3u, 0u})
        put32(file, v);
    file.insert(file.end(), {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0});
    file.insert(file.end(), {2, 1, 0, 0});
    std::wstring message;
    RgbPicture image;
    ASSERT_TRUE(loadWithGdi(write(file), image, message));
    EXPECT_EQ(image.pixels, (Bytes{90, 80, 70, 60, 50, 40}));
}

TEST_F(SnapshotLoader, RefusesWithTheMessageTheUserSees)
{
    Bytes good = encodeBitmap(4, 4, 24, false);
    Bytes truncated(good.begin(), good.end() - 5);
    Bytes pixelOffsetPastEnd = good;
    pixelOffsetPastEnd[10] = 0xFF;
    pixelOffsetPastEnd[11] = 0xFF;
    struct Case {
        const char* what;
        Bytes bytes;
        std::wstring message;
    };
    const Case cases[] = {
        {"header size 108", encodeBitmap(4, 4, 24, false, 108), L"Unknown DIB file format."},
        {"header size 124", encodeBitmap(4, 4, 24, false, 124), L"Unknown DIB file format."},
        {"rows cut short", truncated, L"Image file conversion error."},
        {"pixel offset past the end", pixelOffsetPastEnd, L"Image file conversion error."},
        {"only a file header", Bytes(good.begin(), good.begin() + 14), L"Image file conversion error."},
    };
    for (const Case& c : cases) {
        std::wstring message;
        RgbPicture image;
        EXPECT_FALSE(loadWithGdi(write(c.bytes), image, message)) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
}

TEST_F(SnapshotLoader, EmptyFileCannotBeMapped)
{
    std::wstring message;
    RgbPicture image;
    EXPECT_FALSE(loadWithGdi(write(Bytes{}), image, message));
    EXPECT_EQ(message, L"Failed to open DIB file " + path_ + L".\n");
}

// The bytes as the user's snapshot, where the renderer reads it.
void writeSnapshot(const Bytes& bytes)
{
    CreateDirectoryW(snapshotFolder().c_str(), nullptr);
    HANDLE file = CreateFileW(snapshotPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A GL context on a window of its own, current while it lives.
class GlContext {
public:
    GlContext()
    {
        window_ = CreateWindowExA(0, "STATIC", "texture test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
        dc_ = GetDC(window_);
        if (setupPixelFormat(dc_))
            context_ = wglCreateContext(dc_);
        made_ = context_ && wglMakeCurrent(dc_, context_);
    }
    ~GlContext()
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    bool made() const { return made_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    bool made_ = false;
};

// The texture has one level, the picture as gluScaleImage scales it to the sides gluBuild2DMipmaps
// picks: what the show looked like when the library built the whole chain.
TEST(SnapshotTexture, LevelZeroIsThePictureAsTheLibraryScalesItAndNothingMore)
{
    GlContext gl;
    ASSERT_TRUE(gl.made());
    // 32-bit pictures as the front end writes them on today's displays, read where they lie in the
    // file; 24-bit ones with padded rows, one of them top-down.
    const struct {
        int side, bits;
        bool topDown;
        int textureSide;
    } cases[] = {{1024, 32, false, 1024}, {1280, 24, false, 1024}, {1366, 24, true, 1024}, {1920, 32, false, 2048},
                 {3840, 32, false, 4096}};
    for (const auto [side, bits, topDown, textureSide] : cases) {
        writeSnapshot(encodeBitmap(side, side, bits, topDown));
        RgbPicture picture;
        std::wstring message;
        ASSERT_TRUE(loadWithGdi(snapshotPath(), picture, message)) << side;

        SnapshotTexture texture;
        GLuint name = texture.make(message);
        EXPECT_EQ(message, L"") << side;
        GLint width = 0, height = 0, above = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &above);
        EXPECT_EQ(width, textureSide) << side;
        EXPECT_EQ(height, textureSide) << side;
        EXPECT_EQ(above, 0) << side << ": a level above 0 is defined";
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        Bytes level(static_cast<std::size_t>(width) * height * 3, 0xA5);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, level.data());
        Bytes expected(level.size(), 0x5A);
        ASSERT_EQ(gluScaleImage(GL_RGB, side, side, GL_UNSIGNED_BYTE, picture.pixels.data(), width, height, GL_UNSIGNED_BYTE,
                                expected.data()), 0);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < level.size(); ++i)
            differing += level[i] != expected[i];
        EXPECT_EQ(differing, 0u) << side << ": " << width << " x " << height;

        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glDeleteTextures(1, &name);
    }
    DeleteFileW(snapshotPath().c_str());
}

// Neither a preparation that throws (an allocation that failed) nor a thread that cannot be started
// ends the show: the first leaves plain squares, the second has the picture prepared on the main
// thread. A missing snapshot is no fault: plain squares, and no message.
TEST(SnapshotTexture, IsLeftOutWhenPreparingItThrowsAndMadeOnTheMainThreadWithoutAThread)
{
    GlContext gl;
    ASSERT_TRUE(gl.made());
    const struct {
        const char* what;
        TextureLevel (*prepare)();
        bool snapshot;
        bool made;
        const wchar_t* message;
    } cases[] = {
        {"a preparation that throws", []() -> TextureLevel { throw std::bad_alloc(); }, true, false, L"Out of memory."},
        {"on its own thread", prepareUserSnapshot, true, true, L""},
        {"no snapshot", prepareUserSnapshot, false, false, L""},
    };
    for (const auto& c : cases) {
        if (c.snapshot)
            writeSnapshot(encodeBitmap(64, 64, 24, false));
        else
            DeleteFileW(snapshotPath().c_str());
        SnapshotTexture texture(c.prepare);
        EXPECT_TRUE(texture.prepared(30000)) << c.what;
        std::wstring message;
        GLuint name = texture.make(message);
        EXPECT_EQ(name != 0, c.made) << c.what;
        EXPECT_EQ(message, c.message) << c.what;
        glDeleteTextures(1, &name);
        // What was prepared is used up: the next one is prepared here, as where no thread could start.
        name = texture.make(message);
        EXPECT_EQ(name != 0, c.made) << c.what << ", without a thread";
        glDeleteTextures(1, &name);
    }
    DeleteFileW(snapshotPath().c_str());
}

} // namespace
