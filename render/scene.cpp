// Sheet spawner and the portable half of the frame.
#include "render/scene.h"

namespace {

// All but one of the 0.1 factors are doubles; the half-size offset is the float 0.1 widened.
constexpr double tenth = 0.1;
constexpr double halfSizeOffset = static_cast<double>(0.1f);

struct Draw {
    RandomSource& random;
    int mod(int divisor) { return random.next() % divisor; }
    float offset(int divisor, int shift) { return static_cast<float>(mod(divisor) - shift); }
};

Sheet* makeRandomSheet(SheetList& sheets, float now, RandomSource& random)
{
    Sheet* sheet = new Sheet(&sheets, now);
    Draw draw{random};
    // Each value takes exactly one draw, in this order: a fixed seed maps to fixed sheets.
    float position[3];
    position[0] = draw.offset(80, 50);
    position[1] = draw.offset(80, 50);
    position[2] = draw.offset(20, 160);
    float velocity[3];
    velocity[0] = static_cast<float>(draw.mod(10) - 0.005);
    velocity[1] = static_cast<float>(draw.mod(10) - 0.005);
    velocity[2] = static_cast<float>(draw.mod(20) - 0.001);
    const float red = static_cast<float>((draw.mod(100) + 1) * 0.02);
    const float green = static_cast<float>((draw.mod(100) + 1) * 0.02);
    const float redVelocity = static_cast<float>((draw.mod(16) - 8) * tenth);
    const float greenVelocity = static_cast<float>((draw.mod(12) - 5) * tenth);
    const float fadeOutRate = static_cast<float>(draw.mod(5) * tenth + 0.5);
    const float lifetime = static_cast<float>(draw.mod(15) * tenth + 4.5);
    const float halfSize = static_cast<float>((draw.mod(10) - 5) * tenth + halfSizeOffset);
    const float growth = static_cast<float>((draw.mod(6) - 3) * tenth);

    const float colour[4] = {red, green, 0, 1.0f};
    const float colourVelocity[4] = {redVelocity, greenVelocity, 0, 0};
    sheet->configure(position, velocity, colour, colourVelocity, halfSize, growth, lifetime, fadeOutRate);
    return sheet;
}

} // namespace

void spawnBurst(SheetList& sheets, float now, RandomSource& random)
{
    // The bound is drawn afresh before every sheet: three always, a fourth and fifth by chance.
    for (int i = 0; i < random.next() % 3 + 3; ++i) {
        Sheet* sheet = makeRandomSheet(sheets, now, random);
        if (!sheets.add(sheet))
            delete sheet;
    }
}

void Scene::start(float now, RandomSource& random)
{
    spawnBurst(sheets_, now, random);
}

void Scene::step(float now, float delta, RandomSource& random)
{
    if (static_cast<Extended>(now) - lastBurstTime_ > 1.0) {
        spawnBurst(sheets_, now, random);
        lastBurstTime_ = now;
    }
    sheets_.update(now, delta);
}
