// The layout table of the settings dialog and the questions asked of it.
#include "saver/settings_dialog/dialog_layout.h"

#include "saver/texts.h"

namespace {

constexpr int idCancel = 2;

} // namespace

const std::vector<LayoutItem>& DialogLayout()
{
    // In the order the windows are made: each surface before what lies on it.
    static const std::vector<LayoutItem> layout = {
        // The panel's rectangle includes its 2-pixel sunken edge; its parts below lie inside it.
        {Part::Panel, Kind::Panel, Surface::Window, {12, 16, 481, 181}, 0, ""},
        // The track box's height is that of its open list.
        {Part::TrackBox, Kind::TrackBox, Surface::Panel, {112, 52, 153, 272}, trackId, ""},
        {Part::FileButton, Kind::Button, Surface::Panel, {28, 112, 69, 137}, fileId, "Cmd_File"},
        {Part::SetButton, Kind::Button, Surface::Window, {316, 200, 397, 225}, setId, "Cmd_Set"},
        {Part::CancelButton, Kind::Button, Surface::Window, {400, 200, 481, 225}, cancelId, "Cmd_Can"},
        {Part::CreditLine, Kind::Label, Surface::Window, {12, 192, 177, 205}, 0, texts::creditLine},
        {Part::Address, Kind::Link, Surface::Window, {12, 208, 231, 221}, 0, texts::projectAddress},
        {Part::TitleFrame, Kind::Frame, Surface::Panel, {20, 20, 133, 41}, 0, ""},
        {Part::Title, Kind::CentredLabel, Surface::Panel, {20, 24, 131, 37}, 0, texts::panelTitle},
        {Part::RepeatCaption, Kind::Label, Surface::Panel, {156, 56, 222, 69}, 0, texts::repeatCaption},
        // Hit 13 pixels square; the glyph's picture is its own size.
        {Part::Glyph0, Kind::Glyph, Surface::Panel, {28, 76, 41, 89}, 0, ""},
        {Part::Glyph1, Kind::Glyph, Surface::Panel, {28, 56, 41, 69}, 0, ""},
        {Part::Glyph2, Kind::Glyph, Surface::Panel, {28, 96, 41, 109}, 0, ""},
        {Part::Option0, Kind::Label, Surface::Panel, {44, 76, 66, 89}, 0, texts::sourceCaptions[0]},
        {Part::Option1, Kind::Label, Surface::Panel, {44, 56, 87, 69}, 0, texts::sourceCaptions[1]},
        {Part::Option2, Kind::Label, Surface::Panel, {44, 96, 104, 109}, 0, texts::sourceCaptions[2]},
        {Part::FileLabel, Kind::FileBox, Surface::Panel, {72, 116, 453, 149}, 0, ""},
    };
    return layout;
}

const LayoutItem& LayoutOf(Part part)
{
    for (const LayoutItem& item : DialogLayout())
        if (item.part == part)
            return item;
    return DialogLayout().front();
}

Part GlyphOf(int option)
{
    const Part glyphs[optionCount] = {Part::Glyph0, Part::Glyph1, Part::Glyph2};
    return glyphs[option];
}

Part OptionCaptionOf(int option)
{
    const Part captions[optionCount] = {Part::Option0, Part::Option1, Part::Option2};
    return captions[option];
}

OptionHit OptionAt(int x, int y)
{
    for (int option = 0; option < optionCount; ++option) {
        const bool onGlyph = LayoutOf(GlyphOf(option)).rect.contains(x, y);
        if (onGlyph || LayoutOf(OptionCaptionOf(option)).rect.contains(x, y))
            return {option, onGlyph};
    }
    return {};
}

bool OnAddress(int x, int y)
{
    return LayoutOf(Part::Address).rect.contains(x, y);
}

DialogCommand CommandOf(int id)
{
    switch (id) {
    case setId: return DialogCommand::Set;
    case cancelId: case idCancel: return DialogCommand::Cancel;
    case fileId: return DialogCommand::File;
    default: return DialogCommand::None;
    }
}
