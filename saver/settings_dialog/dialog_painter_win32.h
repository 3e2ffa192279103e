// The settings dialog's look: its artwork and fonts, the surfaces that keep the background's
// gradient and the panel's tiles, and the painting of the layout table's windowless parts over them.
#pragma once
#include <memory>
#include <string>
#include <windows.h>

#include "common/dib_section_win32.h"
#include "common/gdi_objects_win32.h"
#include "saver/settings_dialog/dialog_layout.h"

// A part's rectangle in the layout table, as the system's RECT.
RECT rectOf(Part part);

class DialogPainter {
public:
    explicit DialogPainter(HINSTANCE instance);

    // The labels' font, which the track box takes too.
    HFONT font() const { return font_.font(); }
    // The window's gradient, for a client area of this size.
    void paintBackground(int width, int height);
    // The panel's own colour over its client area, and then the tile over it, column by column
    // across the panel's outer size.
    void preparePanel(int width, int height);
    void tilePanel(int outerWidth, int outerHeight);
    void selectGlyph(int option, bool selected) { glyphSelected_[option] = selected; }
    void setFileText(std::wstring text) { fileText_ = std::move(text); }

    void paintWindow(HDC dc) const;
    void paintPanel(HDC dc) const;

private:
    // Every part of the layout table painted on the surface.
    void paintParts(HDC dc, Surface surface) const;
    void paintFrame(HDC dc, Part part) const;
    void paintGlyph(HDC dc, Part part) const;
    void paintFileBox(HDC dc, Part part) const;

    GdiObject font_;
    GdiObject linkFont_;
    GdiObject radio_[2];
    GdiObject tile_;
    std::unique_ptr<DibSection> background_;
    std::unique_ptr<DibSection> panelSurface_;
    bool glyphSelected_[optionCount] = {};
    std::wstring fileText_;
};
