// One textured, tinted square of the animation, and the list that steps, prunes and draws them.
#pragma once
#include <cstdint>

// A corner of a sheet: texture coordinates (s, t) and position (x, y, z).
struct SheetVertex {
    float s, t, x, y, z;
};

// Where sheets are drawn: OpenGL in the renderer, a recorder in tests.
class SheetPainter {
public:
    virtual ~SheetPainter() = default;
    virtual void drawStrip(const float colour[4], const SheetVertex (&strip)[4]) = 0;
};

class SheetList;

class Sheet {
public:
    Sheet(SheetList* owner, float birthTime);
    virtual ~Sheet() = default;
    void configure(const float newPosition[3], const float newVelocity[3], const float newColour[4],
                   const float newColourVelocity[4], float newHalfSize, float newGrowth, float newLifetime,
                   float newFadeOutRate);
    // One frame's animation: now is the scene's time, delta the time since the last frame.
    void update(float now, float delta);
    void draw(SheetPainter& painter) const;

    float position[3] = {0, 0, 0};
    float velocity[3] = {0, 0, 0};
    float colour[4] = {1, 1, 1, 0.001f};
    float halfSize = 1.0f;
    float birthTime;
    float lifetime = 5.0f;
    bool alive = true;
    float growth = 0;
    bool growing = true;
    float maximumHalfSize = 17.0f;
    float colourVelocity[4];
    bool fadingIn = true;
    bool fadingOut = false;
    float fadeOutRate;
    float fadeInRate = 1.0f;
    SheetList* owner;
    Sheet* next = nullptr;
};

class SheetList {
public:
    explicit SheetList(std::int32_t capacity);
    virtual ~SheetList();
    SheetList(const SheetList&) = delete;
    SheetList& operator=(const SheetList&) = delete;

    // Takes ownership and returns true, or returns false when full (the caller keeps the sheet).
    bool add(Sheet* sheet);
    // Steps every sheet and destroys those that died.
    void update(float now, float delta);
    void draw(SheetPainter& painter) const;

    Sheet* head = nullptr;
    Sheet* tail = nullptr;
    std::int32_t count = 0;
    std::int32_t capacity;
};
