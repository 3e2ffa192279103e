// Sheet phases, motion and growth, and the list walk that removes dead sheets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "tests/native/fakes.h"

namespace {

Sheet* configuredSheet(SheetList* list, float opacity, float halfSize = 1, float growth = 0, float lifetime = 5,
                       float fadeOutRate = 0.5f)
{
    Sheet* sheet = new Sheet(list, 0);
    const float position[3] = {1, 2, -150};
    const float velocity[3] = {0.5f, -1, 2};
    const float colour[4] = {0.2f, 0.4f, 0, opacity};
    const float colourVelocity[4] = {0.1f, -0.2f, 0, 7};
    sheet->configure(position, velocity, colour, colourVelocity, halfSize, growth, lifetime, fadeOutRate);
    return sheet;
}

TEST(Sheet, FadeInEndsAtFloatPointNinetyNineWithOpacityOne)
{
    struct Case {
        float opacity;
        float delta;
        bool stillFadingIn;
        float expected;
    };
    const Case cases[] = {
        {0.5f, 0.1f, true, 0.6f},
        {0.98f, 0.01f, false, 1.0f},  // reaches 0.99 (float) exactly or more
        {0.001f, 0.5f, true, 0.501f},
        {1.0f, 0.0f, false, 1.0f},    // the spawner's sheets leave the fade-in at once
        {0.9f, 0.0899999f, true, 0.9899999f},
    };
    for (const Case& c : cases) {
        const float delta = c.delta;
        Sheet* sheet = configuredSheet(nullptr, c.opacity);
        sheet->update(0, delta);
        EXPECT_EQ(sheet->fadingIn, c.stillFadingIn) << c.opacity << " + " << c.delta;
        EXPECT_FLOAT_EQ(sheet->colour[3], c.expected) << c.opacity << " + " << c.delta;
        delete sheet;
    }
}

TEST(Sheet, HoldsUntilLifetimeIsStrictlyExceededThenFadesOut)
{
    float now = 10;
    const float delta = 0.25f;
    Sheet* sheet = configuredSheet(nullptr, 1, 1, 0, 5);
    sheet->birthTime = now;
    sheet->update(now, delta);  // leaves the fade-in
    now = 15;   // exactly the lifetime: still holding
    sheet->update(now, delta);
    EXPECT_FALSE(sheet->fadingOut);
    EXPECT_EQ(sheet->colour[3], 1.0f);
    now = 15.25f;
    sheet->update(now, delta);
    EXPECT_TRUE(sheet->fadingOut);
    EXPECT_EQ(sheet->colour[3], 1.0f) << "the update that starts the fade-out leaves the opacity";
    sheet->update(now, delta);
    EXPECT_FLOAT_EQ(sheet->colour[3], 0.875f);
    delete sheet;
}

TEST(Sheet, OnlyANegativeOpacityKills)
{
    const float delta = 0.5f;
    Sheet* sheet = configuredSheet(nullptr, 1, 1, 0, 5, 1.0f);
    sheet->fadingIn = false;
    sheet->fadingOut = true;
    sheet->colour[3] = 0.5f;
    sheet->update(0, delta);
    EXPECT_EQ(sheet->colour[3], 0.0f);
    EXPECT_TRUE(sheet->alive);
    const float x = sheet->position[0];
    sheet->update(0, delta);
    EXPECT_FALSE(sheet->alive);
    EXPECT_EQ(sheet->colour[3], -0.5f) << "not clamped";
    EXPECT_EQ(sheet->position[0], x + 0.25f) << "the dying update still moves the sheet";
    delete sheet;
}

TEST(Sheet, MovesAndChangesColourPerSecondWithoutClamping)
{
    const float delta = 2;
    Sheet* sheet = configuredSheet(nullptr, 1);
    sheet->colour[1] = 0.1f;
    sheet->update(0, delta);
    EXPECT_FLOAT_EQ(sheet->position[0], 2);
    EXPECT_FLOAT_EQ(sheet->position[1], 0);
    EXPECT_FLOAT_EQ(sheet->position[2], -146);
    EXPECT_FLOAT_EQ(sheet->colour[0], 0.4f);
    EXPECT_FLOAT_EQ(sheet->colour[1], -0.3f);
    EXPECT_EQ(sheet->colour[2], 0.0f);
    EXPECT_EQ(sheet->colour[3], 1.0f) << "the fourth colour velocity is never used";
    delete sheet;
}

TEST(Sheet, GrowthPerSixtiethOfASecondIsBounded)
{
    struct Case {
        float halfSize;
        float growth;
        int updates;
        float expected;
    };
    const Case cases[] = {
        {16.9f, 0.2f, 1, 17.1f},   // grows past 17 once...
        {16.9f, 0.2f, 5, 17.1f},   // ...then stops
        {17.0f, 0.2f, 1, 17.2f},   // 17 itself is not above the maximum
        {0.3f, -0.2f, 1, 0.1f},
        {0.3f, -0.2f, 4, 0.0f},    // shrinks to 0 and stays there
        {-0.4f, 0.2f, 1, 0.0f},    // starts below 0, comes up to 0
        {-0.4f, 0.2f, 2, 0.2f},
    };
    for (const Case& c : cases) {
        const float delta = 1.0f / 60;
        Sheet* sheet = configuredSheet(nullptr, 1, c.halfSize, c.growth, 1000);
        // A frame of a 60 Hz display grows by the growth itself, to the last bit.
        float unscaled = c.halfSize;
        for (int i = 0; i < c.updates; ++i) {
            sheet->update(0, delta);
            if (unscaled <= 17.0f)
                unscaled = std::max(0.0f, static_cast<float>(static_cast<Extended>(unscaled) + c.growth));
        }
        EXPECT_EQ(sheet->halfSize, unscaled) << c.halfSize << " " << c.growth << " x" << c.updates;
        EXPECT_NEAR(sheet->halfSize, c.expected, 1e-5) << c.halfSize << " " << c.growth << " x" << c.updates;
        EXPECT_TRUE(sheet->alive);
        delete sheet;
    }
}

TEST(Sheet, GrowsAsMuchPerSecondAtEveryFrameRate)
{
    for (float growth : {0.1f, -0.1f}) {
        float grownAt60 = 0;
        for (int rate : {60, 75, 120, 144, 240}) {
            const float delta = 1.0f / static_cast<float>(rate);
            Sheet* sheet = configuredSheet(nullptr, 1, 8, growth, 1000);
            for (int frame = 0; frame < rate; ++frame)
                sheet->update(0, delta);
            const float grown = sheet->halfSize - 8;
            if (rate == 60)
                grownAt60 = grown;
            EXPECT_NEAR(grown, grownAt60, std::abs(grownAt60) * 0.01f) << rate << " Hz, growth " << growth;
            delete sheet;
        }
        EXPECT_NEAR(grownAt60, growth * 60, 1e-4) << growth;
    }
}

TEST(Sheet, DrawsTheWholeTextureUpright)
{
    Sheet* sheet = configuredSheet(nullptr, 1, 2);
    RecordingPainter painter;
    sheet->draw(painter);
    ASSERT_EQ(painter.strips.size(), 1u);
    const DrawnStrip& drawn = painter.strips[0];
    for (const SheetVertex& v : drawn.strip) {
        EXPECT_EQ(v.z, -150.0f);
        // s grows to the right and t upwards.
        EXPECT_EQ(v.s, v.x > 1 ? 1.0f : 0.0f);
        EXPECT_EQ(v.t, v.y > 2 ? 1.0f : 0.0f);
        EXPECT_EQ(std::abs(v.x - 1), 2.0f);
        EXPECT_EQ(std::abs(v.y - 2), 2.0f);
    }
    EXPECT_EQ(drawn.strip[0].x, 3.0f);
    EXPECT_EQ(drawn.strip[0].y, 4.0f);
    EXPECT_EQ(drawn.strip[3].x, -1.0f);
    EXPECT_EQ(drawn.strip[3].y, 0.0f);
    EXPECT_EQ(drawn.colour[0], 0.2f);
    EXPECT_EQ(drawn.colour[3], 1.0f);
    delete sheet;
}

// Counts destructions so a test can tell the list destroyed exactly the sheets it dropped.
int destroyedSheets = 0;
struct CountedSheet : Sheet {
    explicit CountedSheet(SheetList* list) : Sheet(list, 0) {}
    ~CountedSheet() override { ++destroyedSheets; }
};

std::vector<Sheet*> linkedSheets(const SheetList& list)
{
    std::vector<Sheet*> sheets;
    for (Sheet* s = list.head; s; s = s->next)
        sheets.push_back(s);
    return sheets;
}

void fillList(SheetList& list, std::vector<Sheet*>& sheets, int count)
{
    for (int i = 0; i < count; ++i) {
        Sheet* sheet = new CountedSheet(&list);
        const float position[3] = {static_cast<float>(i), 0, 0};
        const float zero[4] = {0, 0, 0, 0};
        const float colour[4] = {1, 1, 1, 1};
        sheet->configure(position, zero, colour, zero, 1, 0, 100, 1);
        ASSERT_TRUE(list.add(sheet));
        sheets.push_back(sheet);
    }
}

void markDying(Sheet* sheet)
{
    sheet->fadingIn = false;
    sheet->fadingOut = true;
    sheet->colour[3] = 0;
}

TEST(SheetList, RemovesDeadSheetsAtEveryPosition)
{
    struct Case {
        int size;
        std::set<int> dying;
    };
    const Case cases[] = {
        {1, {0}}, {3, {0}}, {3, {1}}, {3, {2}}, {4, {0, 1}}, {4, {2, 3}}, {5, {0, 2, 4}}, {3, {0, 1, 2}}, {3, {}},
    };
    for (const Case& c : cases) {
        const float delta = 0.5f;
        SheetList list(500);
        std::vector<Sheet*> sheets;
        fillList(list, sheets, c.size);
        std::vector<Sheet*> survivors;
        for (int i = 0; i < c.size; ++i) {
            if (c.dying.count(i))
                markDying(sheets[i]);
            else
                survivors.push_back(sheets[i]);
        }
        destroyedSheets = 0;
        RecordingPainter painter;
        list.update(0, delta);
        list.draw(painter);

        SCOPED_TRACE(testing::Message() << "size " << c.size << ", dying " << c.dying.size());
        EXPECT_EQ(destroyedSheets, static_cast<int>(c.dying.size()));
        EXPECT_EQ(list.count, static_cast<int>(survivors.size()));
        EXPECT_EQ(linkedSheets(list), survivors);
        EXPECT_EQ(list.head, survivors.empty() ? nullptr : survivors.front());
        EXPECT_EQ(list.tail, survivors.empty() ? nullptr : survivors.back());
        ASSERT_EQ(painter.strips.size(), survivors.size()) << "dead sheets are not drawn";
        for (std::size_t i = 0; i < survivors.size(); ++i)
            EXPECT_EQ(painter.strips[i].strip[0].x, survivors[i]->position[0] + 1);

        // A sheet added afterwards links behind the new tail.
        Sheet* added = new CountedSheet(&list);
        ASSERT_TRUE(list.add(added));
        survivors.push_back(added);
        EXPECT_EQ(linkedSheets(list), survivors);
        EXPECT_EQ(list.tail, added);
    }
}

TEST(SheetList, EmptyListDrawsNothing)
{
    SheetList list(500);
    RecordingPainter painter;
    list.update(0, 0.5f);
    list.draw(painter);
    EXPECT_TRUE(painter.strips.empty());
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
}

TEST(SheetList, RefusesTheSheetAfterCapacity)
{
    SheetList list(500);
    std::vector<Sheet*> sheets;
    fillList(list, sheets, 500);
    Sheet extra(&list, 0);
    EXPECT_FALSE(list.add(&extra));
    EXPECT_EQ(list.count, 500);
    EXPECT_EQ(list.tail, sheets.back());
    EXPECT_EQ(sheets.back()->next, nullptr);
}

TEST(SheetList, DestroysEverySheetItHolds)
{
    destroyedSheets = 0;
    {
        SheetList list(500);
        std::vector<Sheet*> sheets;
        fillList(list, sheets, 7);
    }
    EXPECT_EQ(destroyedSheets, 7);
}

} // namespace
