// The Command button's logic: its five states, the face it asks to be painted in each, its
// properties and their persistence. The window that hosts it (command_win32) only translates.
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

// What the button asks of its window.
class CommandSurface {
public:
    virtual ~CommandSurface() = default;
    // Clears the face, fills the gradient, copies the eight pieces of the image and refreshes.
    virtual void paintFace(FaceImage image, const Gradient& gradient, const FaceLayout& layout) = 0;
    // The caption's place in twips, left at 0.
    virtual void placeCaption(std::int16_t top, std::int16_t width) = 0;
    // The caption's look, and whether the window takes input: a disabled button takes no focus and
    // reads as unavailable.
    virtual void showEnabled(bool enabled) = 0;
    virtual void startPointerTimer(std::uint32_t milliseconds) = 0;
    // Tells the parent once the button's own message has been handled, never from inside it.
    virtual void raiseClick() = 0;
    virtual void propertyChanged(const char* name) = 0;
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

class Command {
public:
    explicit Command(CommandSurface& surface);

    void Initialize();

    void MouseDown(int button);
    void MouseMove(int button);
    // lastUp: every mouse button is up and the button has given its capture back.
    void MouseUp(int button, bool lastUp);
    // Another window took the capture during a press: it ends as a release outside the button.
    void CaptureLost();
    void GotFocus();
    void LostFocus();
    void TimerTick(PointerOver over);
    void Resize(std::int32_t widthPixels, std::int32_t heightPixels);

    // Queries draw nothing, but for the first read of Enabled on a never-stored instance.
    bool Enabled();
    void setEnabled(bool enabled);
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const ButtonFont& Font() const { return font_; }
    void setFont(const ButtonFont& font);
    std::int32_t FontColour() const { return fontColour_; }
    void setFontColour(std::int32_t colour);
    std::uint8_t Visible() const { return opaque_ ? 255 : 0; }
    void setVisible(std::uint8_t visible);

    // Loads the persisted properties; ambient is the host's font.
    void load(const PropertyBag& bag, const ButtonFont& ambient);
    void save(PropertyBag& bag, const ButtonFont& ambient);

    ButtonState state() const { return CurrentState; }
    bool opaque() const { return opaque_; }
    std::int32_t fontColour() const { return fontColour_; }

private:
    void DrawFace(FaceImage image);
    void LeaveHover();
    void ApplyEnabledFace();
    void RefreshCaption();
    void enter(ButtonState state, FaceImage image);

    CommandSurface& surface_;
    bool GradientInverted = false;
    std::uint8_t FirstRunFlag = 0;
    bool EnabledFlag = false;
    ButtonState CurrentState = ButtonState::Uninitialised;
    FaceLayout FaceGeometry;
    bool LeftDown = false;
    std::int32_t widthTwips_ = 0;
    std::int32_t heightTwips_ = 0;
    std::string caption_ = "Command";
    ButtonFont font_;
    std::int32_t fontColour_ = 0;
    bool opaque_ = true;
};
