// Sheet animation (fade-in, hold, fade-out, drift, growth) and the sheet list walk.
#include "render/sheet.h"

#include "render/frame_clock.h"

namespace {

// The fade-in ends at the single-precision 0.99, not the double one.
constexpr float fadeInEnd = 0.99f;
// Growth is given per frame of the 60 Hz display the show was made on; a frame of exactly this
// long grows a sheet by its growth itself.
constexpr float growthFrameSeconds = 1.0f / 60;

// Each animation expression is evaluated in extended precision and stored as a float.
float advance(float value, float ratePerSecond, float delta)
{
    return static_cast<float>(static_cast<Extended>(value) + static_cast<Extended>(delta) * ratePerSecond);
}

float retreat(float value, float ratePerSecond, float delta)
{
    return static_cast<float>(static_cast<Extended>(value) - static_cast<Extended>(delta) * ratePerSecond);
}

} // namespace

Sheet::Sheet(SheetList* owner, float birthTime) : birthTime(birthTime), owner(owner) {}

void Sheet::configure(const float newPosition[3], const float newVelocity[3], const float newColour[4],
                      const float newColourVelocity[4], float newHalfSize, float newGrowth, float newLifetime,
                      float newFadeOutRate)
{
    for (int i = 0; i < 3; ++i) {
        position[i] = newPosition[i];
        velocity[i] = newVelocity[i];
    }
    for (int i = 0; i < 4; ++i) {
        colour[i] = newColour[i];
        colourVelocity[i] = newColourVelocity[i];
    }
    halfSize = newHalfSize;
    growth = newGrowth;
    lifetime = newLifetime;
    fadeOutRate = newFadeOutRate;
}

void Sheet::update(float now, float delta)
{
    if (fadingIn) {
        colour[3] = advance(colour[3], fadeInRate, delta);
        if (colour[3] >= fadeInEnd) {
            colour[3] = 1.0f;
            fadingIn = false;
        }
    } else if (fadingOut) {
        colour[3] = retreat(colour[3], fadeOutRate, delta);
        if (colour[3] < 0)
            alive = false;
    } else if (static_cast<Extended>(now) - birthTime > lifetime) {
        fadingOut = true;
    }

    for (int i = 0; i < 3; ++i) {
        position[i] = advance(position[i], velocity[i], delta);
        colour[i] = advance(colour[i], colourVelocity[i], delta);
    }

    // Scaled by the frame's time, so that a 240 Hz display grows its sheets no faster than 60 Hz.
    if (growing && halfSize <= maximumHalfSize) {
        const Extended frames = static_cast<Extended>(delta) / growthFrameSeconds;
        halfSize = static_cast<float>(static_cast<Extended>(halfSize) + growth * frames);
        if (halfSize < 0)
            halfSize = 0;
    }
}

void Sheet::draw(SheetPainter& painter) const
{
    const float x = position[0], y = position[1], z = position[2], h = halfSize;
    // Texture t grows upwards, so the snapshot lies upright on the square.
    const SheetVertex strip[4] = {
        {1, 1, x + h, y + h, z},
        {0, 1, x - h, y + h, z},
        {1, 0, x + h, y - h, z},
        {0, 0, x - h, y - h, z},
    };
    painter.drawStrip(colour, strip);
}

SheetList::SheetList(std::int32_t capacity) : capacity(capacity) {}

SheetList::~SheetList()
{
    Sheet* sheet = head;
    while (sheet) {
        Sheet* following = sheet->next;
        delete sheet;
        sheet = following;
    }
    head = tail = nullptr;
}

bool SheetList::add(Sheet* sheet)
{
    if (count >= capacity)
        return false;
    sheet->next = nullptr;
    if (!head)
        head = tail = sheet;
    else {
        tail->next = sheet;
        tail = sheet;
    }
    ++count;
    return true;
}

void SheetList::update(float now, float delta)
{
    Sheet* previous = nullptr;
    Sheet* current = head;
    while (current) {
        current->update(now, delta);
        Sheet* following = current->next;
        if (current->alive) {
            previous = current;
            current = following;
            continue;
        }
        if (previous)
            previous->next = following;
        else
            head = following;
        if (current == tail)
            tail = previous;
        delete current;
        --count;
        current = following;
    }
}

void SheetList::draw(SheetPainter& painter) const
{
    for (const Sheet* sheet = head; sheet; sheet = sheet->next)
        sheet->draw(painter);
}
