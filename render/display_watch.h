// Whether the show is drawn: not while the system says that the display is off.
#pragma once
#include <cstdint>

#include "render/frame_clock.h"

// The display's state as the system's power-setting reports give it.
enum class DisplayState : std::uint32_t { Off = 0, On = 1, Dimmed = 2 };

class DisplayWatch {
public:
    explicit DisplayWatch(FrameClock& clock) : clock_(clock) {}
    // A state the system reported: off stops the frames and the clock; on, or dimmed (still seen),
    // starts them again where they were. Other values say nothing.
    void displayChanged(std::uint32_t state);
    bool drawing() const { return drawing_; }

private:
    FrameClock& clock_;
    bool drawing_ = true;
};
