// The show's display mode requests, from the desktop's mode and the modes the display lists.
#include "render/display_mode.h"

#include <algorithm>

std::vector<DisplayMode> showModeRequests(const DisplayMode& desktop, const std::vector<DisplayMode>& offered,
                                          std::uint32_t width, std::uint32_t height)
{
    const DisplayMode atDesktopRate{width, height, desktop.bitsPerPixel, desktop.refreshRate};
    if (offered.empty())
        return {atDesktopRate};

    std::vector<std::uint32_t> rates;
    for (const DisplayMode& mode : offered)
        if (mode.width == width && mode.height == height && mode.bitsPerPixel == desktop.bitsPerPixel)
            rates.push_back(mode.refreshRate);
    std::sort(rates.begin(), rates.end(), [](std::uint32_t a, std::uint32_t b) { return a > b; });
    rates.erase(std::unique(rates.begin(), rates.end()), rates.end());

    std::vector<DisplayMode> requests;
    const auto desktopRate = std::find(rates.begin(), rates.end(), desktop.refreshRate);
    if (desktopRate != rates.end()) {
        requests.push_back(atDesktopRate);
        rates.erase(desktopRate);
    }
    for (std::uint32_t rate : rates)
        requests.push_back({width, height, desktop.bitsPerPixel, rate});
    return requests;
}
