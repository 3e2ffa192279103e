// The front end's three kinds of text, told apart by type. A plain std::string is UTF-8: what the
// user reads. AnsiText is bytes of the system's ANSI code page, as the A functions take and return
// them: paths, the music's commands and replies, the settings' values. ShiftJisText is a fixed
// Shift-JIS name (the settings' keys) whose bytes stay the same whatever the system's code page.
#pragma once
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class AnsiText {
public:
    AnsiText() = default;
    explicit AnsiText(std::string bytes) : bytes_(std::move(bytes)) {}
    // A literal in the source is ASCII, the same bytes in every code page; a std::string or a
    // const char* from elsewhere has to say what it holds.
    template <std::size_t N>
    AnsiText(const char (&literal)[N]) : bytes_(literal)
    {
    }

    const std::string& bytes() const { return bytes_; }
    const char* c_str() const { return bytes_.c_str(); }
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size(); }

    AnsiText& operator+=(const AnsiText& more)
    {
        bytes_ += more.bytes_;
        return *this;
    }

private:
    std::string bytes_;
};

inline AnsiText operator+(AnsiText text, const AnsiText& more)
{
    return text += more;
}

inline bool operator==(const AnsiText& a, const AnsiText& b)
{
    return a.bytes() == b.bytes();
}

inline bool operator!=(const AnsiText& a, const AnsiText& b)
{
    return !(a == b);
}

// Digits are ASCII in every code page.
AnsiText AnsiNumber(long long value);

struct ShiftJisText {
    const char* bytes;
};

// How the system's code page spells a path: the bytes that begin a two-byte character, after which
// the next byte belongs to it, even a '\\'. None in a one-byte code page such as 1252.
class AnsiCodePage {
public:
    AnsiCodePage() = default;
    explicit AnsiCodePage(const std::bitset<256>& leadBytes) : leadBytes_(leadBytes) {}

    // Up to the last '\\' or ':' that is a whole character, without the '\\' ("C:\\a.mp3" is in
    // "C:"); empty when there is none.
    AnsiText folderOf(const AnsiText& path) const;
    bool endsInSeparator(const AnsiText& path) const;

    bool operator==(const AnsiCodePage& other) const { return leadBytes_ == other.leadBytes_; }

private:
    std::size_t lastSeparator(const std::string& path, std::string_view separators) const;

    std::bitset<256> leadBytes_;
};
