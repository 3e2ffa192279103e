// The covers' windows: black, top-most, never activated, no taskbar button, the pointer hidden
// over them; and the system's monitor list.
#pragma once
#include "render/covers.h"

// Class name and title: the front end watches the renderer's own title, never this one.
inline constexpr char coverWindowName[] = "Vitrelux_Cover";

class SystemCoverWindows : public CoverSystem {
public:
    std::vector<ScreenRect> monitors() override;
    void* createCover(const ScreenRect& rect) override;
    void moveCover(void* cover, const ScreenRect& rect) override;
    void destroyCover(void* cover) override;
};
