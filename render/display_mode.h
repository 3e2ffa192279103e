// Which display mode the show asks for: its own size as the display offers it, or no switch at all.
#pragma once
#include <cstdint>
#include <vector>

// The show's own size, asked of the display.
constexpr std::uint32_t showWidth = 1024;
constexpr std::uint32_t showHeight = 768;

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    // Hertz; 0 and 1 are how the system says "the display's default".
    std::uint32_t refreshRate = 0;

    bool operator==(const DisplayMode& other) const
    {
        return width == other.width && height == other.height && bitsPerPixel == other.bitsPerPixel &&
               refreshRate == other.refreshRate;
    }
};

// The modes to ask for, in order, at the show's size and the desktop's depth: the desktop's own
// rate first, then the other rates the display lists for that size, fastest first. Empty when the
// display lists no such mode: the show then keeps the desktop's mode. A display that lists no
// modes at all is asked for the desktop's rate, the one request that needs no list.
std::vector<DisplayMode> showModeRequests(const DisplayMode& desktop, const std::vector<DisplayMode>& offered,
                                          std::uint32_t width, std::uint32_t height);
