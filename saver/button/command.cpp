// The Command button's state machine, face geometry and gradient, properties and persistence.
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

std::string formatFlag(bool value)
{
    return value ? "True" : "False";
}

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

Command::Command(CommandSurface& surface) : surface_(surface), font_(defaultCaptionFont()) {}

void Command::Initialize()
{
    CurrentState = ButtonState::Normal;
    surface_.startPointerTimer(pointerTimerMilliseconds);
}

void Command::enter(ButtonState state, FaceImage image)
{
    CurrentState = state;
    DrawFace(image);
}

void Command::GotFocus()
{
    if (!EnabledFlag)
        return;
    if (CurrentState != ButtonState::HighLight)
        enter(ButtonState::Selected, FaceImage::Selected);
    else
        enter(ButtonState::HighLightSelect, FaceImage::Pressed);
}

void Command::LostFocus()
{
    // Disabling takes the focus away: the face stays Disable, but the button is no longer selected
    // when it is enabled again.
    if (!EnabledFlag)
        CurrentState = ButtonState::Normal;
    else if (CurrentState != ButtonState::Normal)
        enter(ButtonState::Normal, FaceImage::Normal);
}

void Command::MouseDown(int button)
{
    if (!EnabledFlag || button != 1)
        return;
    LeftDown = true;
    DrawFace(FaceImage::Pressed);
}

void Command::MouseMove(int)
{
    if (!EnabledFlag)
        return;
    if (CurrentState == ButtonState::Normal)
        enter(ButtonState::HighLight, FaceImage::HighLight);
    else if (CurrentState == ButtonState::Selected && !LeftDown)
        enter(ButtonState::HighLightSelect, FaceImage::HighLightSelect);
}

void Command::MouseUp(int button, bool lastUp)
{
    if (!EnabledFlag)
        return;
    if (button == 1) {
        LeftDown = false;
        if (CurrentState == ButtonState::HighLight)
            DrawFace(FaceImage::Normal);
        else if (CurrentState == ButtonState::HighLightSelect)
            DrawFace(FaceImage::HighLightSelect);
    }
    // Not while another button is still held: its release is the end of the click.
    if (lastUp && CurrentState != ButtonState::Selected)
        surface_.raiseClick();
}

void Command::CaptureLost()
{
    if (!EnabledFlag || !LeftDown)
        return;
    LeftDown = false;
    const ButtonState before = CurrentState;
    LeaveHover();
    // The face of the state, no longer the pressed one, where leaving the hover drew none.
    if (CurrentState == before)
        DrawFace(CurrentState == ButtonState::Selected ? FaceImage::Selected : FaceImage::Normal);
}

void Command::TimerTick(PointerOver over)
{
    if (EnabledFlag && over != PointerOver::Control)
        LeaveHover();
}

void Command::LeaveHover()
{
    if (CurrentState == ButtonState::HighLight)
        enter(ButtonState::Normal, FaceImage::Normal);
    else if (CurrentState == ButtonState::HighLightSelect)
        enter(ButtonState::Selected, FaceImage::Selected);
}

void Command::Resize(std::int32_t widthPixels, std::int32_t heightPixels)
{
    widthTwips_ = widthPixels * twipsPerPixel;
    heightTwips_ = heightPixels * twipsPerPixel;
    ApplyEnabledFace();
}

void Command::DrawFace(FaceImage image)
{
    if (CurrentState == ButtonState::Normal || CurrentState == ButtonState::Selected)
        GradientInverted = false;
    else if (CurrentState == ButtonState::HighLight)
        GradientInverted = true;
    FaceGeometry = faceLayout(widthTwips_, heightTwips_, FaceGeometry);
    const Gradient gradient = faceGradient(static_cast<std::int32_t>(std::nearbyint(widthTwips_ / double{twipsPerPixel})),
                                           static_cast<std::int32_t>(std::nearbyint(heightTwips_ / double{twipsPerPixel})),
                                           GradientInverted);
    surface_.paintFace(image, gradient, FaceGeometry);
    surface_.placeCaption(FaceGeometry.captionTop, FaceGeometry.captionWidth);
}

void Command::ApplyEnabledFace()
{
    DrawFace(EnabledFlag ? FaceImage::Normal : FaceImage::Disable);
    surface_.showEnabled(EnabledFlag);
}

void Command::RefreshCaption()
{
    if (!EnabledFlag)
        return;
    surface_.showEnabled(true);
    if (FirstRunFlag == 0)
        fontColour_ = 0;
    DrawFace(FaceImage::Normal);
}

bool Command::Enabled()
{
    // The first read initialises a never-stored instance, which its face then shows.
    if (FirstRunFlag == 0) {
        RefreshCaption();
        FirstRunFlag = 1;
        EnabledFlag = true;
        ApplyEnabledFace();
    }
    return EnabledFlag;
}

void Command::setEnabled(bool enabled)
{
    EnabledFlag = enabled;
    surface_.propertyChanged("Enabled");
    ApplyEnabledFace();
}

void Command::setCaption(const std::string& caption)
{
    caption_ = caption;
    surface_.propertyChanged("Caption");
}

void Command::setFont(const ButtonFont& font)
{
    font_ = font;
    surface_.propertyChanged("Font");
}

void Command::setFontColour(std::int32_t colour)
{
    fontColour_ = colour;
    RefreshCaption();
    surface_.propertyChanged("FontColour");
}

void Command::setVisible(std::uint8_t visible)
{
    opaque_ = visible != 0;
    if (opaque_)
        RefreshCaption();
    surface_.propertyChanged("Visible");
}

void Command::load(const PropertyBag& bag, const ButtonFont& ambient)
{
    const auto text = [&](const char* key, const std::string& fallback) { return bag.read(key).value_or(fallback); };
    parseFlag(text("Enabled", "True"), EnabledFlag);
    caption_ = text("Caption", "Command");
    parseFont(text("Font", formatFont(ambient)), font_);
    long long value = 0;
    if (parseWhole(text("FirstRun", "1"), 0, 255, value))
        FirstRunFlag = static_cast<std::uint8_t>(value);
    if (parseWhole(text("FontColour", "0"), INT32_MIN, INT32_MAX, value))
        fontColour_ = static_cast<std::int32_t>(value);
    if (parseWhole(text("Visible", "1"), INT16_MIN, INT16_MAX, value))
        opaque_ = value != 0;
    RefreshCaption();
}

void Command::save(PropertyBag& bag, const ButtonFont& ambient)
{
    bag.write("Enabled", formatFlag(EnabledFlag), formatFlag(true));
    bag.write("Caption", caption_, "Command");
    bag.write("FirstRun", std::to_string(FirstRunFlag), "1");
    bag.write("Font", formatFont(font_), formatFont(ambient));
    bag.write("FontColour", std::to_string(fontColour_), "0");
    bag.write("Visible", opaque_ ? "1" : "0", "1");
    RefreshCaption();
}
