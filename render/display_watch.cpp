// The show's frames and clock held while the display is off.
#include "render/display_watch.h"

void DisplayWatch::displayChanged(std::uint32_t state)
{
    const bool seen = state == static_cast<std::uint32_t>(DisplayState::On) ||
                      state == static_cast<std::uint32_t>(DisplayState::Dimmed);
    if (state == static_cast<std::uint32_t>(DisplayState::Off) && drawing_) {
        clock_.pause();
        drawing_ = false;
    } else if (seen && !drawing_) {
        clock_.resume();
        drawing_ = true;
    }
}
