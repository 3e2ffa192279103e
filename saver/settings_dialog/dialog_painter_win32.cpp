// Painting the settings dialog from its layout table, on surfaces that keep what does not change.
#include "saver/settings_dialog/dialog_painter_win32.h"

#include <vector>

#include "saver/button/command_win32.h"
#include "saver/settings_dialog/dialog_resources.h"
#include "saver/settings_dialog/settings_dialog.h"
#include "saver/wide_text_win32.h"

namespace {

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

void drawLabel(HDC dc, HFONT font, Part part, const std::string& text, COLORREF colour, UINT format)
{
    const std::wstring wide = wideFromUtf8(text);
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
    paintParts(dc, Surface::Window);
}

void DialogPainter::paintPanel(HDC dc) const
{
    if (panelSurface_)
        panelSurface_->show(dc);
    paintParts(dc, Surface::Panel);
}

void DialogPainter::paintParts(HDC dc, Surface surface) const
{
    // Light on the window's dark gradient, dark on the panel's tiles.
    const COLORREF colour = surface == Surface::Window ? white : black;
    for (const LayoutItem& item : DialogLayout()) {
        if (item.surface != surface)
            continue;
        switch (item.kind) {
        case Kind::Label: drawLabel(dc, font_.font(), item.part, item.text, colour, plainLabel); break;
        case Kind::CentredLabel: drawLabel(dc, font_.font(), item.part, item.text, colour, plainLabel | DT_CENTER); break;
        case Kind::Link: drawLabel(dc, linkFont_.font(), item.part, item.text, colour, plainLabel); break;
        case Kind::Frame: paintFrame(dc, item.part); break;
        case Kind::Glyph: paintGlyph(dc, item.part); break;
        case Kind::FileBox: paintFileBox(dc, item.part); break;
        default: break;
        }
    }
}

void DialogPainter::paintFrame(HDC dc, Part part) const
{
    const RECT frame = rectOf(part);
    const Selection pen(dc, GetStockObject(BLACK_PEN));
    const Selection brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}

// The glyph's picture at its own size, in the top left of the part it is hit in.
void DialogPainter::paintGlyph(HDC dc, Part part) const
{
    for (int option = 0; option < optionCount; ++option) {
        if (GlyphOf(option) != part)
            continue;
        HGDIOBJ picture = radio_[glyphSelected_[option] ? 1 : 0].get();
        BITMAP size{};
        GetObjectW(picture, sizeof size, &size);
        const MemoryDc source(dc);
        const Selection glyph(source.get(), picture);
        const RECT cell = rectOf(part);
        BitBlt(dc, cell.left, cell.top, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
    }
}

void DialogPainter::paintFileBox(HDC dc, Part part) const
{
    RECT box = rectOf(part);
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, black);
    const Selection selected(dc, font_.get());
    DrawTextW(dc, fileText_.c_str(), static_cast<int>(fileText_.size()), &box, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
