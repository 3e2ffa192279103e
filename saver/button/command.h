// The Command button's logic: its five states, the face it shows in each and its stored properties.
// The window that hosts it (command_win32) only translates.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "saver/button/button_font.h"
#include "saver/button/property_bag.h"

enum class ButtonState : std::uint8_t { Uninitialised = 0, Normal = 1, HighLight = 2, Selected = 3, HighLightSelect = 4 };

// The six state images; HighLight and HighLightSelect are the same picture.
enum class FaceImage { Normal, HighLight, Selected, Pressed, HighLightSelect, Disable };

// Which window the pointer is over at a timer tick.
enum class PointerOver { Control, Parent, Other };

// One frame piece: destination and source rectangles (x, y, width, height) in twips.
struct FacePiece {
    std::int16_t destination[4];
    std::int16_t source[4];
};

// Piece positions and sizes worked out from the control's size; a value that would not fit in
// 16 bits keeps what the previous draw gave it.
struct FaceLayout {
    std::array<FacePiece, 8> pieces{};
    std::int16_t captionTop = 0;
    std::int16_t captionWidth = 0;
};

// A TRIVERTEX: position in pixels, 16-bit colour channels with the 8-bit value in the high byte.
struct GradientVertex {
    std::int32_t x, y;
    std::uint16_t red, green, blue, alpha;
};

struct Gradient {
    std::array<GradientVertex, 2> vertices;
    // The GRADIENT_RECT names vertex 1 as its upper left and vertex 0 as its lower right: the fill
    // runs from vertex 0's colour at the top to vertex 1's at the bottom.
    std::uint32_t upperLeft = 1;
    std::uint32_t lowerRight = 0;
};

enum class CaptureChange { Keep, Take, GiveBack };

// What the window does after one input, in this order: the capture, the focus, a repaint of the
// face, its enabled look and input, the pointer timer, the Click.
struct CommandEffects {
    CaptureChange capture = CaptureChange::Keep;
    bool takeFocus = false;
    bool repaint = false;
    bool enabledChanged = false;
    bool startPointerTimer = false;
    // Raised once the button's own message has been handled, never from inside it.
    bool click = false;
};

// The face the window paints: which image, the gradient under it and where its pieces and the
// caption go.
struct CommandFace {
    FaceImage image = FaceImage::Normal;
    Gradient gradient;
    FaceLayout layout;
};

constexpr std::int32_t twipsPerPixel = 15;
constexpr std::uint32_t pointerTimerMilliseconds = 100;

// "ＭＳ Ｐゴシック" 9.75 pt, weight 400, character set 128: the caption's font until one is set or loaded,
// and the settings dialog's own.
ButtonFont defaultCaptionFont();

// Face geometry for a control of W x H twips, starting from the previous draw's values.
FaceLayout faceLayout(std::int32_t widthTwips, std::int32_t heightTwips, const FaceLayout& previous);
// The two gradient vertices for a face of the given pixel size: light on top unless inverted.
Gradient faceGradient(std::int32_t widthPixels, std::int32_t heightPixels, bool inverted);

// The button's logic: one input at a time, each answered with what its window is to do. The face
// shown is part of the state; painting draws it and nothing else.
class Command {
public:
    // Loads the persisted properties; ambient is the host's font. An instance stored before it was
    // ever initialised is initialised here.
    Command(const PropertyBag& bag, const ButtonFont& ambient);

    CommandEffects Initialize();

    CommandEffects MouseDown(int button);
    CommandEffects MouseMove();
    // stillHeld: another mouse button is still down, whose release ends the click.
    CommandEffects MouseUp(int button, bool stillHeld);
    // Another window took the capture during a press: it ends as a release outside the button.
    CommandEffects CaptureLost();
    CommandEffects GotFocus();
    CommandEffects LostFocus();
    CommandEffects TimerTick(PointerOver over);
    CommandEffects Resize(std::int32_t widthPixels, std::int32_t heightPixels);
    CommandEffects setEnabled(bool enabled);

    bool Enabled() const { return EnabledFlag; }
    const std::string& Caption() const { return caption_; }
    const ButtonFont& Font() const { return font_; }
    std::int32_t FontColour() const { return fontColour_; }
    bool opaque() const { return opaque_; }
    ButtonState state() const { return CurrentState; }
    const CommandFace& face() const { return face_; }

private:
    void DrawFace(FaceImage image, CommandEffects& effects);
    void enter(ButtonState state, FaceImage image, CommandEffects& effects);
    void gainFocus(CommandEffects& effects);
    void LeaveHover(CommandEffects& effects);
    CommandEffects ApplyEnabledFace();

    bool GradientInverted = false;
    bool EnabledFlag = false;
    ButtonState CurrentState = ButtonState::Uninitialised;
    bool LeftDown = false;
    bool focused_ = false;
    bool holdsCapture_ = false;
    CommandFace face_;
    std::int32_t widthTwips_ = 0;
    std::int32_t heightTwips_ = 0;
    std::string caption_ = "Command";
    ButtonFont font_;
    std::int32_t fontColour_ = 0;
    bool opaque_ = true;
};
