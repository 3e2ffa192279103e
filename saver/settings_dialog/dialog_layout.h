// The settings dialog's layout: every control, label, glyph and the link with its kind, the window
// or panel it lies on, its rectangle and its text. Creation, painting and hit-testing all read this
// one table.
#pragma once
#include <vector>

struct DialogRect {
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The window's client area, and the height of an entry of the track box's list.
constexpr int dialogClientWidth = 495;
constexpr int dialogClientHeight = 246;
constexpr int trackItemHeight = 14;
// The music sources the dialog offers: none, a CD, a file.
constexpr int optionCount = 3;

enum class Surface { Window, Panel };

// What a part is: a window of its own (the panel, the track box, a Command button made from the
// stored description its text names), or something painted (a label, centred or not, the link,
// a frame, a glyph, the sunken box of the file's name).
enum class Kind { Panel, TrackBox, Button, Label, CentredLabel, Link, Frame, Glyph, FileBox };

enum class Part {
    Panel, SetButton, CancelButton, CreditLine, Address,
    TrackBox, FileButton, TitleFrame, Title, RepeatCaption,
    Glyph0, Glyph1, Glyph2, Option0, Option1, Option2, FileLabel,
};

// The controls' ids, 100 and up: 1 and 2 are IDOK and IDCANCEL, which the system and the track
// box's Enter and Escape send with meanings of their own.
enum ControlId { setId = 100, cancelId, fileId, trackId };

struct LayoutItem {
    Part part;
    Kind kind;
    Surface surface;
    // A button's size here is the one it has when its stored description gives none.
    DialogRect rect;
    int controlId;
    const char* text;
};

const std::vector<LayoutItem>& DialogLayout();
const LayoutItem& LayoutOf(Part part);
// The radio glyph and the caption of each option.
Part GlyphOf(int option);
Part OptionCaptionOf(int option);

// What lies under a point of the panel: an option's glyph or caption (option -1: neither).
struct OptionHit {
    int option = -1;
    bool onGlyph = false;
};
OptionHit OptionAt(int x, int y);
// Whether a point of the window lies on the address link.
bool OnAddress(int x, int y);

enum class DialogCommand { None, Set, Cancel, File };
// What a WM_COMMAND id asks of the dialog: IDCANCEL (Escape, the system) cancels as "ｷｬﾝｾﾙ" does;
// IDOK (Enter) stores nothing and does nothing.
DialogCommand CommandOf(int id);
