// Painting the settings dialog from its layout table, on surfaces that keep what does not change.
#include "saver/settings_dialog/dialog_painter_win32.h"

#include <vector>

#include "saver/button/command_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/settings_dialog.h"
#include "saver/texts.h"
#include "saver/wide_text_win32.h"

namespace {

constexpr int glyphSide = 12;
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF panelColour = RGB(224, 224, 224);
// One-line labels may run past their boxes rather than lose letters where a typeface is wider.
constexpr UINT plainLabel = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;

GdiObject underlined(HFONT font)
{
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    return GdiObject(CreateFontIndirectW(&description));
}

GdiObject loadBitmap(HINSTANCE instance, int id)
{
    return GdiObject(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
}

void drawLabel(HDC dc, HFONT font, Part part, const std::string& text, COLORREF colour, UINT format = plainLabel)
{
    const std::wstring wide = wideText(text);
    RECT place = rectOf(part);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const Selection selected(dc, font);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &place, format);
}

} // namespace

RECT rectOf(Part part)
{
    const DialogRect& r = LayoutOf(part).rect;
    return {r.left, r.top, r.right, r.bottom};
}

DialogPainter::DialogPainter(HINSTANCE instance)
    : font_(createCaptionFont(defaultCaptionFont())), linkFont_(underlined(font_.font())),
      radio_{loadBitmap(instance, radioOffId), loadBitmap(instance, radioOnId)}, tile_(loadBitmap(instance, tileId))
{
}

void DialogPainter::paintBackground(int width, int height)
{
    background_ = std::make_unique<DibSection>(width, height, 32);
    if (!background_->bits())
        return;
    const std::vector<std::uint8_t> shades = BackgroundShades(height);
    for (std::size_t row = 0; row < shades.size(); ++row) {
        const std::uint8_t v = shades[row];
        const RECT line = {0, static_cast<LONG>(row), width, static_cast<LONG>(row) + 1};
        const GdiObject brush(CreateSolidBrush(RGB(v, v, v + 30)));
        FillRect(background_->dc(), &line, brush.brush());
    }
}

void DialogPainter::preparePanel(int width, int height)
{
    panelSurface_ = std::make_unique<DibSection>(width, height, 32);
    if (!panelSurface_->bits())
        return;
    const RECT all = {0, 0, width, height};
    const GdiObject brush(CreateSolidBrush(panelColour));
    FillRect(panelSurface_->dc(), &all, brush.brush());
}

void DialogPainter::tilePanel(int outerWidth, int outerHeight)
{
    BITMAP tile{};
    if (!panelSurface_ || !panelSurface_->bits() || !GetObjectW(tile_.get(), sizeof tile, &tile))
        return;
    const MemoryDc source(panelSurface_->dc());
    const Selection selected(source.get(), tile_.get());
    for (const auto& [x, y] : TilePositions(tile.bmWidth, tile.bmHeight, outerWidth, outerHeight))
        BitBlt(panelSurface_->dc(), x, y, tile.bmWidth, tile.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void DialogPainter::paintWindow(HDC dc) const
{
    if (background_)
        background_->show(dc);
    drawLabel(dc, font_.font(), Part::CreditLine, texts::creditLine, white);
    drawLabel(dc, linkFont_.font(), Part::Address, texts::projectAddress, white);
}

void DialogPainter::paintPanel(HDC dc) const
{
    if (panelSurface_)
        panelSurface_->show(dc);
    const RECT frame = rectOf(Part::TitleFrame);
    {
        const Selection pen(dc, GetStockObject(BLACK_PEN));
        const Selection brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    }
    drawLabel(dc, font_.font(), Part::Title, texts::panelTitle, black, plainLabel | DT_CENTER);
    drawLabel(dc, font_.font(), Part::RepeatCaption, texts::repeatCaption, black);
    const MemoryDc source(dc);
    for (int option = 0; option < 3; ++option) {
        drawLabel(dc, font_.font(), OptionCaptionOf(option), texts::sourceCaptions[option], black);
        const Selection glyph(source.get(), radio_[glyphSelected_[option] ? 1 : 0].get());
        const RECT cell = rectOf(GlyphOf(option));
        BitBlt(dc, cell.left, cell.top, glyphSide, glyphSide, source.get(), 0, 0, SRCCOPY);
    }
    RECT box = rectOf(Part::FileLabel);
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, black);
    const Selection selected(dc, font_.get());
    DrawTextW(dc, fileText_.c_str(), static_cast<int>(fileText_.size()), &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
