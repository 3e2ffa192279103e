// The Command button's state machine, face geometry and gradient, and its stored properties.
#include "saver/button/command.h"

#include <cmath>
#include <optional>

#include "saver/button/stored_values.h"
#include "saver/texts.h"

namespace {

constexpr std::int32_t corner = 60; // twips: the 4-pixel ring of the state images
constexpr std::int32_t captionHeight = 195; // one line of the default font

// A rounded twip value, or nothing when it does not fit in 16 bits.
std::optional<std::int16_t> twips(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

void keepOrSet(std::int16_t& field, double value)
{
    if (auto fitted = twips(value))
        field = *fitted;
}

// "&HC6C5D7" and "&HFFFFFF" read as red, green, blue in that order, each into the high byte.
GradientVertex vertex(std::int32_t x, std::int32_t y, std::uint32_t rgb)
{
    return {x, y, static_cast<std::uint16_t>((rgb >> 16 & 0xFF) << 8), static_cast<std::uint16_t>((rgb >> 8 & 0xFF) << 8),
            static_cast<std::uint16_t>((rgb & 0xFF) << 8), 0};
}

constexpr std::uint32_t lightColour = 0xFFFFFF;
constexpr std::uint32_t darkColour = 0xC6C5D7;

} // namespace

FaceLayout faceLayout(std::int32_t widthTwips, std::int32_t heightTwips, const FaceLayout& previous)
{
    FaceLayout layout = previous;
    const double w = widthTwips;
    const double h = heightTwips;
    // Destination and source of the eight pieces, clockwise from the top-left corner.
    const double pieces[8][8] = {
        {1, 1, corner, corner, 0, 0, 60, 60},
        {corner, 1, w - 2 * corner, corner, 60, 1, 840, 60},
        {w - corner, 1, corner, corner, 900, 1, 60, 60},
        {w - corner, corner, corner, h - 2 * corner, 900, 60, 60, 255},
        {w - corner, h - corner, corner, corner, 900, 315, 60, 60},
        {corner, h - corner, w - 2 * corner, corner, 60, 315, 840, 60},
        {1, h - corner, corner, corner, 0, 315, 60, 60},
        {1, corner, corner, h - 2 * corner, 1, 60, 60, 255},
    };
    for (std::size_t piece = 0; piece < 8; ++piece)
        for (std::size_t i = 0; i < 4; ++i) {
            keepOrSet(layout.pieces[piece].destination[i], pieces[piece][i]);
            keepOrSet(layout.pieces[piece].source[i], pieces[piece][4 + i]);
        }
    keepOrSet(layout.captionTop, (h - captionHeight - 20) / 2);
    keepOrSet(layout.captionWidth, w);
    return layout;
}

Gradient faceGradient(std::int32_t widthPixels, std::int32_t heightPixels, bool inverted)
{
    Gradient gradient;
    gradient.vertices[0] = vertex(0, 0, inverted ? darkColour : lightColour);
    gradient.vertices[1] = vertex(widthPixels - 1, heightPixels - 1, inverted ? lightColour : darkColour);
    return gradient;
}

ButtonFont defaultCaptionFont()
{
    ButtonFont font;
    font.typeface = texts::captionTypeface;
    font.points = 9.75;
    font.weight = 400;
    font.charset = 128;
    return font;
}

Command::Command(const PropertyBag& bag, const ButtonFont& ambient) : font_(ambient)
{
    const auto text = [&](const char* key, const std::string& fallback) { return bag.read(key).value_or(fallback); };
    parseFlag(text("Enabled", "True"), EnabledFlag);
    caption_ = text("Caption", "Command");
    if (const auto font = bag.read("Font"); font && !parseFont(*font, font_))
        font_ = defaultCaptionFont();
    long long value = 0;
    // An unreadable value keeps the field's zero: never initialised.
    long long firstRun = 0;
    parseWhole(text("FirstRun", "1"), 0, 255, firstRun);
    if (parseWhole(text("FontColour", "0"), INT32_MIN, INT32_MAX, value))
        fontColour_ = static_cast<std::int32_t>(value);
    if (parseWhole(text("Visible", "1"), INT16_MIN, INT16_MAX, value))
        opaque_ = value != 0;
    // Never initialised: its caption is black while it was enabled, and it is enabled from now on.
    if (firstRun == 0) {
        if (EnabledFlag)
            fontColour_ = 0;
        EnabledFlag = true;
    }
    CommandEffects ignored;
    if (EnabledFlag)
        DrawFace(FaceImage::Normal, ignored);
}

CommandEffects Command::Initialize()
{
    CurrentState = ButtonState::Normal;
    CommandEffects effects;
    effects.startPointerTimer = true;
    return effects;
}

void Command::enter(ButtonState state, FaceImage image, CommandEffects& effects)
{
    CurrentState = state;
    DrawFace(image, effects);
}

void Command::gainFocus(CommandEffects& effects)
{
    focused_ = true;
    if (CurrentState != ButtonState::HighLight)
        enter(ButtonState::Selected, FaceImage::Selected, effects);
    else
        enter(ButtonState::HighLightSelect, FaceImage::Pressed, effects);
}

CommandEffects Command::GotFocus()
{
    CommandEffects effects;
    // The focus a press took has been seen already.
    if (EnabledFlag && !focused_)
        gainFocus(effects);
    return effects;
}

CommandEffects Command::LostFocus()
{
    CommandEffects effects;
    focused_ = false;
    // Disabling takes the focus away: the face stays Disable, but the button is no longer selected
    // when it is enabled again.
    if (!EnabledFlag)
        CurrentState = ButtonState::Normal;
    else if (CurrentState != ButtonState::Normal)
        enter(ButtonState::Normal, FaceImage::Normal, effects);
    return effects;
}

CommandEffects Command::MouseDown(int button)
{
    CommandEffects effects;
    if (!EnabledFlag)
        return effects;
    // The press takes the focus before it is seen, and the capture keeps the release ours.
    if (!focused_) {
        gainFocus(effects);
        effects.takeFocus = true;
    }
    if (!holdsCapture_) {
        holdsCapture_ = true;
        effects.capture = CaptureChange::Take;
    }
    if (button == 1) {
        LeftDown = true;
        DrawFace(FaceImage::Pressed, effects);
    }
    return effects;
}

CommandEffects Command::MouseMove()
{
    CommandEffects effects;
    if (!EnabledFlag)
        return effects;
    if (CurrentState == ButtonState::Normal)
        enter(ButtonState::HighLight, FaceImage::HighLight, effects);
    else if (CurrentState == ButtonState::Selected && !LeftDown)
        enter(ButtonState::HighLightSelect, FaceImage::HighLightSelect, effects);
    return effects;
}

CommandEffects Command::MouseUp(int button, bool stillHeld)
{
    CommandEffects effects;
    // Given back first, so that nothing the click starts runs under it.
    if (!stillHeld && holdsCapture_) {
        holdsCapture_ = false;
        effects.capture = CaptureChange::GiveBack;
    }
    if (!EnabledFlag)
        return effects;
    if (button == 1) {
        LeftDown = false;
        if (CurrentState == ButtonState::HighLight)
            DrawFace(FaceImage::Normal, effects);
        else if (CurrentState == ButtonState::HighLightSelect)
            DrawFace(FaceImage::HighLightSelect, effects);
    }
    effects.click = !stillHeld && CurrentState != ButtonState::Selected;
    return effects;
}

CommandEffects Command::CaptureLost()
{
    CommandEffects effects;
    const bool pressed = holdsCapture_ && LeftDown;
    holdsCapture_ = false;
    if (!EnabledFlag || !pressed)
        return effects;
    LeftDown = false;
    const ButtonState before = CurrentState;
    LeaveHover(effects);
    // The face of the state, no longer the pressed one, where leaving the hover drew none.
    if (CurrentState == before)
        DrawFace(CurrentState == ButtonState::Selected ? FaceImage::Selected : FaceImage::Normal, effects);
    return effects;
}

CommandEffects Command::TimerTick(PointerOver over)
{
    CommandEffects effects;
    if (EnabledFlag && over != PointerOver::Control)
        LeaveHover(effects);
    return effects;
}

void Command::LeaveHover(CommandEffects& effects)
{
    if (CurrentState == ButtonState::HighLight)
        enter(ButtonState::Normal, FaceImage::Normal, effects);
    else if (CurrentState == ButtonState::HighLightSelect)
        enter(ButtonState::Selected, FaceImage::Selected, effects);
}

CommandEffects Command::Resize(std::int32_t widthPixels, std::int32_t heightPixels)
{
    widthTwips_ = widthPixels * twipsPerPixel;
    heightTwips_ = heightPixels * twipsPerPixel;
    return ApplyEnabledFace();
}

CommandEffects Command::setEnabled(bool enabled)
{
    EnabledFlag = enabled;
    return ApplyEnabledFace();
}

void Command::DrawFace(FaceImage image, CommandEffects& effects)
{
    if (CurrentState == ButtonState::Normal || CurrentState == ButtonState::Selected)
        GradientInverted = false;
    else if (CurrentState == ButtonState::HighLight)
        GradientInverted = true;
    face_.image = image;
    face_.layout = faceLayout(widthTwips_, heightTwips_, face_.layout);
    face_.gradient = faceGradient(static_cast<std::int32_t>(std::nearbyint(widthTwips_ / double{twipsPerPixel})),
                                  static_cast<std::int32_t>(std::nearbyint(heightTwips_ / double{twipsPerPixel})),
                                  GradientInverted);
    effects.repaint = true;
}

CommandEffects Command::ApplyEnabledFace()
{
    CommandEffects effects;
    DrawFace(EnabledFlag ? FaceImage::Normal : FaceImage::Disable, effects);
    effects.enabledChanged = true;
    return effects;
}
