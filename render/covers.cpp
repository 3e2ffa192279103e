// Where the covers go, and keeping one window for each.
#include "render/covers.h"

#include <algorithm>

namespace {

ScreenRect intersection(const ScreenRect& a, const ScreenRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// The monitor minus the show: full-width bands above and below it, and beside it the bands
// between them.
void addBandsAround(const ScreenRect& monitor, const ScreenRect& show, std::vector<ScreenRect>& rects)
{
    ScreenRect inside = intersection(monitor, show);
    if (inside.empty()) {
        rects.push_back(monitor);
        return;
    }
    const ScreenRect bands[] = {
        {monitor.left, monitor.top, monitor.right, inside.top},
        {monitor.left, inside.bottom, monitor.right, monitor.bottom},
        {monitor.left, inside.top, inside.left, inside.bottom},
        {inside.right, inside.top, monitor.right, inside.bottom},
    };
    for (const ScreenRect& band : bands)
        if (!band.empty())
            rects.push_back(band);
}

} // namespace

std::vector<ScreenRect> coverRectangles(const std::vector<ScreenRect>& monitors, const ScreenRect& show)
{
    std::vector<ScreenRect> candidates;
    for (const ScreenRect& monitor : monitors)
        if (!monitor.empty())
            addBandsAround(monitor, show, candidates);
    std::vector<ScreenRect> rects;
    for (const ScreenRect& rect : candidates)
        if (std::find(rects.begin(), rects.end(), rect) == rects.end())
            rects.push_back(rect);
    return rects;
}

void Covers::layOut(const ScreenRect& show)
{
    const std::vector<ScreenRect> rects = coverRectangles(system_.monitors(), show);
    const std::size_t kept = std::min(rects.size(), windows_.size());
    for (std::size_t index = 0; index < kept; ++index)
        system_.moveCover(windows_[index], rects[index]);
    for (std::size_t index = kept; index < rects.size(); ++index)
        if (void* cover = system_.createCover(rects[index]))
            windows_.push_back(cover);
    while (windows_.size() > rects.size()) {
        system_.destroyCover(windows_.back());
        windows_.pop_back();
    }
}

void Covers::remove()
{
    for (void* cover : windows_)
        system_.destroyCover(cover);
    windows_.clear();
}
