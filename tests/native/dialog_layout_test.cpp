// The settings dialog's hit-testing against points measured on its artwork, and what each command
// id asks.
#include <gtest/gtest.h>

#include "saver/settings_dialog/dialog_layout.h"

namespace {

// Points measured on the dialog's artwork: in the panel the glyphs are 13 pixels square at x 28 and
// y 56 (音楽CD), 76 (なし) and 96 (MP3、WAV), their captions 13 high at x 44, 43, 22 and 60 wide.
TEST(DialogLayout, GlyphsAndCaptionsAreHitWhereTheArtworkDrawsThem)
{
    struct Case {
        int x, y;
        int option;  // -1: nothing
        bool onGlyph;
    };
    const Case cases[] = {
        {28, 56, 1, true}, {40, 68, 1, true}, {41, 60, -1, false}, {43, 60, -1, false}, {44, 56, 1, false},
        {86, 68, 1, false}, {87, 60, -1, false}, {34, 55, -1, false}, {34, 69, -1, false},
        {28, 76, 0, true}, {40, 88, 0, true}, {44, 80, 0, false}, {65, 88, 0, false}, {66, 80, -1, false},
        {34, 75, -1, false}, {34, 89, -1, false},
        {28, 96, 2, true}, {40, 108, 2, true}, {44, 96, 2, false}, {103, 108, 2, false}, {104, 100, -1, false},
        {34, 109, -1, false}, {27, 100, -1, false},
    };
    for (const Case& c : cases) {
        const OptionHit hit = OptionAt(c.x, c.y);
        EXPECT_EQ(hit.option, c.option) << c.x << "," << c.y;
        if (c.option >= 0)
            EXPECT_EQ(hit.onGlyph, c.onGlyph) << c.x << "," << c.y;
    }
}

// The link: 219 x 13 at (12, 208) in the window, under the credit line.
TEST(DialogLayout, TheLinkIsHitWhereTheArtworkDrawsIt)
{
    const std::pair<std::pair<int, int>, bool> cases[] = {
        {{12, 208}, true}, {{230, 220}, true}, {{231, 214}, false}, {{12, 207}, false}, {{11, 214}, false},
        {{100, 221}, false},
    };
    for (const auto& [point, hit] : cases)
        EXPECT_EQ(OnAddress(point.first, point.second), hit) << point.first << "," << point.second;
}

TEST(DialogLayout, CommandIdsOfTheirOwnAndWhatTheSystemsIdsAsk)
{
    const std::pair<int, DialogCommand> cases[] = {
        {setId, DialogCommand::Set}, {cancelId, DialogCommand::Cancel}, {fileId, DialogCommand::File},
        {trackId, DialogCommand::None}, {1, DialogCommand::None}, {2, DialogCommand::Cancel}, {0, DialogCommand::None},
    };
    for (const auto& [id, command] : cases)
        EXPECT_EQ(CommandOf(id), command) << id;
    for (const LayoutItem& item : DialogLayout())
        EXPECT_TRUE(item.controlId == 0 || item.controlId >= 100) << static_cast<int>(item.part);
}

} // namespace
