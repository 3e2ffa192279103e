// The settings dialog's layout table against its hit-testing, and what each command id asks.
#include <gtest/gtest.h>

#include "saver/settings_dialog/dialog_layout.h"

namespace {

TEST(DialogLayout, EveryGlyphCaptionAndTheLinkIsReachedToItsEdgesAndNoFurther)
{
    for (int option = 0; option < 3; ++option) {
        for (bool glyph : {true, false}) {
            const DialogRect r = LayoutOf(glyph ? GlyphOf(option) : OptionCaptionOf(option)).rect;
            for (auto [x, y] : {std::pair{r.left, r.top}, {r.right - 1, r.bottom - 1}}) {
                const OptionHit hit = OptionAt(x, y);
                EXPECT_EQ(hit.option, option) << option << (glyph ? " glyph " : " caption ") << x << "," << y;
                EXPECT_EQ(hit.onGlyph, glyph) << option << " " << x << "," << y;
            }
            EXPECT_EQ(OptionAt(r.left, r.top - 1).option, -1) << option << " above";
            EXPECT_EQ(OptionAt(r.left, r.bottom).option, -1) << option << " below";
        }
        const DialogRect glyph = LayoutOf(GlyphOf(option)).rect;
        EXPECT_EQ(OptionAt(glyph.right, glyph.top).option, -1) << option << ": the gap to its caption";
    }
    const DialogRect link = LayoutOf(Part::Address).rect;
    EXPECT_TRUE(OnAddress(link.left, link.top));
    EXPECT_TRUE(OnAddress(link.right - 1, link.bottom - 1));
    EXPECT_FALSE(OnAddress(link.right, link.top));
    EXPECT_FALSE(OnAddress(link.left, link.top - 1)) << "the credit line above";
    EXPECT_EQ(OptionAt(link.left + 20, link.top + 5).option, -1) << "window points are no panel points here";
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
