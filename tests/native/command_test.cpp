// The Command button: its state machine against input sequences, its face geometry and gradient,
// and the load of its stored properties.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "saver/button/command.h"
#include "saver/button/stored_description.h"

namespace {

const char* const imageNames[] = {"Normal", "HighLight", "Selected", "Pressed", "HighLightSelect", "Disable"};

// What the window is told to do, in the order it does it; a face is named with where its dark
// colour lies: "v" dark at the bottom, "^" at the top.
std::string describe(const CommandEffects& effects, const Command& button)
{
    std::vector<std::string> parts;
    if (effects.capture != CaptureChange::Keep)
        parts.push_back(effects.capture == CaptureChange::Take ? "capture" : "release");
    if (effects.takeFocus)
        parts.push_back("focus");
    if (effects.repaint) {
        const bool darkOnTop = button.face().gradient.vertices[0].red != 0xFF00;
        parts.push_back(std::string(imageNames[static_cast<int>(button.face().image)]) + (darkOnTop ? "^" : "v"));
    }
    if (effects.enabledChanged)
        parts.push_back(button.Enabled() ? "enabled" : "disabled");
    if (effects.startPointerTimer)
        parts.push_back("timer");
    if (effects.click)
        parts.push_back("Click");
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

// Inputs by word: down1/up1 (left), down2/up2 (right), up1-held (another button still down), move,
// focus, blur, tick (pointer elsewhere), tick-parent, tick-own, off/on (Enabled set), lost (another
// window took the capture), init.
CommandEffects give(Command& button, const std::string& input)
{
    if (input == "down1") return button.MouseDown(1);
    if (input == "down2") return button.MouseDown(2);
    if (input == "up1") return button.MouseUp(1, false);
    if (input == "up1-held") return button.MouseUp(1, true);
    if (input == "up2") return button.MouseUp(2, false);
    if (input == "move") return button.MouseMove();
    if (input == "focus") return button.GotFocus();
    if (input == "blur") return button.LostFocus();
    if (input == "tick") return button.TimerTick(PointerOver::Other);
    if (input == "tick-parent") return button.TimerTick(PointerOver::Parent);
    if (input == "tick-own") return button.TimerTick(PointerOver::Control);
    if (input == "off") return button.setEnabled(false);
    if (input == "on") return button.setEnabled(true);
    if (input == "lost") return button.CaptureLost();
    if (input == "init") return button.Initialize();
    ADD_FAILURE() << "unknown input " << input;
    return {};
}

// Runs the inputs on a stored instance without keys, sized as the dialog's buttons are; returns what
// the inputs after the bar ask for, one input's effects between commas.
std::string run(Command& button, const std::string& inputs)
{
    button.Resize(81, 25);
    std::istringstream words(inputs);
    std::string answered;
    bool recording = false;
    for (std::string word; words >> word;) {
        if (word == "|") {
            recording = true;
            continue;
        }
        const std::string effects = describe(give(button, word), button);
        if (recording && !effects.empty())
            answered += (answered.empty() ? "" : ", ") + effects;
    }
    return answered;
}

TEST(CommandStates, InputsAnswerWithWhatTheWindowDoes)
{
    struct Case {
        const char* inputs;
        const char* answered;
        ButtonState state;
    };
    const Case cases[] = {
        {"init | move", "HighLight^", ButtonState::HighLight},
        {"init move | tick", "Normalv", ButtonState::Normal},
        {"init move | tick-parent", "Normalv", ButtonState::Normal},
        {"init move | tick-own", "", ButtonState::HighLight},
        // Focus gained under the pointer: pressed, with the gradient still dark on top.
        {"init move | focus", "Pressed^", ButtonState::HighLightSelect},
        {"init move focus | down1 up1", "capture Pressed^, release HighLightSelect^ Click", ButtonState::HighLightSelect},
        // The press takes the focus and the capture; the focus it takes is not gained twice.
        {"init move | down1 focus up1", "capture focus Pressed^, release HighLightSelect^ Click", ButtonState::HighLightSelect},
        {"init | down1", "capture focus Pressedv", ButtonState::Selected},
        {"init | down2 up2", "capture focus Selectedv, release", ButtonState::Selected},
        {"init | focus move", "Selectedv, HighLightSelectv", ButtonState::HighLightSelect},
        {"init focus move | blur", "Normalv", ButtonState::Normal},
        // Press, drag out past a tick, release outside: no Click.
        {"init focus move down1 | tick up1", "Selectedv, release", ButtonState::Selected},
        // A press whose capture is taken ends as a release outside: no Click, no pressed face.
        {"init focus move down1 | lost up1", "Selectedv", ButtonState::Selected},
        {"init focus move down1 tick | lost up1", "Selectedv", ButtonState::Selected},
        {"init move | lost", "", ButtonState::HighLight},
        // The capture given back is no capture lost.
        {"init move down1 up1 | lost", "", ButtonState::HighLightSelect},
        // Back in while still held: LeftDown keeps the state at 3, so no Click; the next move enters 4.
        {"init focus move down1 tick | move up1 move", "release, HighLightSelectv", ButtonState::HighLightSelect},
        {"init move focus | down2 up2", "capture, release Click", ButtonState::HighLightSelect},
        {"init move | up1", "Normal^ Click", ButtonState::HighLight},
        {"init | up2", "Click", ButtonState::Normal},
        {"init focus | up2", "", ButtonState::Selected},
        // The click waits for the last button up.
        {"init move focus | down1 down2 up1-held up2", "capture Pressed^, HighLightSelect^, release Click",
         ButtonState::HighLightSelect},
        // Frozen while disabled, but for the focus it loses as it is disabled.
        {"init move | off move focus down1 up1 up2 tick", "Disable^ disabled", ButtonState::HighLight},
        {"init focus move | off blur on", "Disablev disabled, Normalv enabled", ButtonState::Normal},
        // A capture a disabled button still holds is given back.
        {"init move down1 | off up1", "Disable^ disabled, release", ButtonState::HighLightSelect},
        // Before Initialize only the focus moves the machine.
        {"| move tick focus", "Selectedv", ButtonState::Selected},
        {"focus | blur", "Normalv", ButtonState::Normal},
        {"| init", "timer", ButtonState::Normal},
    };
    for (const Case& c : cases) {
        Command button(PropertyBag{}, defaultCaptionFont());
        EXPECT_EQ(run(button, c.inputs), c.answered) << c.inputs;
        EXPECT_EQ(button.state(), c.state) << c.inputs;
    }
}

TEST(CommandStates, ResizingShowsTheStoredEnabledFace)
{
    for (const auto& [stored, answered] : {std::pair{"True", "Normalv enabled"}, std::pair{"False", "Disablev disabled"}}) {
        PropertyBag bag;
        bag.set("Enabled", stored);
        Command button(bag, defaultCaptionFont());
        EXPECT_EQ(describe(button.Resize(81, 25), button), answered);
        EXPECT_EQ(button.state(), ButtonState::Uninitialised) << "resizing initialises nothing";
    }
}

TEST(CommandFace, PiecesStretchToTheButtonsSize)
{
    const FaceLayout none;
    const FaceLayout wide = faceLayout(81 * 15, 25 * 15, none);
    const std::int16_t topEdge[4] = {60, 1, 1095, 60};
    const std::int16_t topEdgeSource[4] = {60, 1, 840, 60};
    const std::int16_t rightEdge[4] = {1155, 60, 60, 255};
    const std::int16_t bottomLeft[4] = {1, 315, 60, 60};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(wide.pieces[1].destination[i], topEdge[i]) << i;
        EXPECT_EQ(wide.pieces[1].source[i], topEdgeSource[i]) << i;
        EXPECT_EQ(wide.pieces[3].destination[i], rightEdge[i]) << i;
        EXPECT_EQ(wide.pieces[6].destination[i], bottomLeft[i]) << i;
    }
    EXPECT_EQ(wide.pieces[3].source[3], 255) << "the side edges copy 255 twips 1:1";
    EXPECT_EQ(wide.captionTop, 80);
    EXPECT_EQ(wide.captionWidth, 1215);
    EXPECT_EQ(faceLayout(41 * 15, 25 * 15, none).pieces[5].destination[2], 495);

    // 2185 pixels are 32775 twips: what no longer fits in 16 bits keeps the previous draw's value.
    const FaceLayout huge = faceLayout(2185 * 15, 25 * 15, wide);
    EXPECT_EQ(huge.captionWidth, 1215);
    EXPECT_EQ(huge.pieces[2].destination[0], 32715);
    EXPECT_EQ(huge.pieces[1].destination[2], 32655);
}

TEST(CommandFace, GradientIsLightOnTopUnlessInverted)
{
    const Gradient plain = faceGradient(81, 25, false);
    EXPECT_EQ(plain.upperLeft, 1u);
    EXPECT_EQ(plain.lowerRight, 0u);
    const GradientVertex& top = plain.vertices[0];
    const GradientVertex& bottom = plain.vertices[1];
    EXPECT_EQ((std::vector<int>{top.x, top.y, top.red, top.green, top.blue, top.alpha}),
              (std::vector<int>{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}));
    EXPECT_EQ((std::vector<int>{bottom.x, bottom.y, bottom.red, bottom.green, bottom.blue, bottom.alpha}),
              (std::vector<int>{80, 24, 0xC600, 0xC500, 0xD700, 0}));
    const Gradient inverted = faceGradient(81, 25, true);
    EXPECT_EQ(inverted.vertices[0].blue, 0xD700);
    EXPECT_EQ(inverted.vertices[1].red, 0xFF00);
}

ButtonFont boldTwelve()
{
    ButtonFont font = defaultCaptionFont();
    font.points = 12;
    font.weight = 700;
    return font;
}

TEST(CommandProperties, LoadWhatTheDescriptionStores)
{
    const Command plain(PropertyBag{}, boldTwelve());
    EXPECT_TRUE(plain.Enabled());
    EXPECT_EQ(plain.Caption(), "Command");
    EXPECT_EQ(plain.Font(), boldTwelve()) << "without a font of its own, the host's";
    EXPECT_EQ(plain.FontColour(), 0);
    EXPECT_TRUE(plain.opaque());

    // Stored descriptions spell their keys in any case.
    const StoredDescription stored = StoredDescription::parse("[Cmd_Set]\nCAPTION=設定\nfont=ＭＳ Ｐゴシック,12,700,0,0,0,128\n");
    const Command loaded(*stored.instance("Cmd_Set"), defaultCaptionFont());
    EXPECT_EQ(loaded.Font(), boldTwelve());
    EXPECT_EQ(loaded.Caption(), "設定");
}

TEST(CommandProperties, UnreadableValuesKeepWhatWasThere)
{
    // Beyond what the fields hold: the colour past 32 bits, a size no font has.
    for (const auto& [colour, font] : {std::pair{"255", "Arial,big,400,0,0,0,0"}, std::pair{"4294967296", "Arial,1e309,400,0,0,0,0"}}) {
        PropertyBag bag;
        bag.set("Font", font);
        bag.set("FontColour", colour);
        bag.set("visible", "0");
        const Command button(bag, boldTwelve());
        EXPECT_EQ(button.Font(), defaultCaptionFont()) << font;
        EXPECT_EQ(button.FontColour(), colour == std::string("255") ? 255 : 0) << colour;
        EXPECT_FALSE(button.opaque());
    }
}

TEST(CommandProperties, NeverInitialisedInstancesAreInitialisedAsTheyLoad)
{
    struct Case {
        const char* firstRun;
        const char* enabled;
        std::int32_t colour;
    };
    // An unreadable FirstRun or Enabled keeps the zero of a fresh field.
    const Case cases[] = {{"1", "True", 255}, {"1", "maybe", 255}, {"0", "True", 0}, {"256", "True", 0}, {"0", "False", 255}};
    for (const Case& c : cases) {
        PropertyBag bag;
        bag.set("FirstRun", c.firstRun);
        bag.set("Enabled", c.enabled);
        bag.set("FontColour", "255");
        const Command button(bag, defaultCaptionFont());
        EXPECT_EQ(button.FontColour(), c.colour) << c.firstRun << " " << c.enabled;
        EXPECT_EQ(button.Enabled(), c.enabled != std::string("maybe")) << c.firstRun << " " << c.enabled;
    }
}

TEST(StoredDescription, KeepsInstancesKeysAndValuesAsWritten)
{
    const std::string text = "[Cmd_Can]\n_extentx=2143\ncaption=ｷｬﾝｾﾙ\nfont=ＭＳ Ｐゴシック,9.75,400,0,0,0,128\n"
                             "[Cmd_File]\ncaption=...\nfont=A, B,12,700,1,0,1,0\n";
    const StoredDescription stored = StoredDescription::parse("; comment\r\n" + text);
    EXPECT_EQ(stored.instance("Cmd_Can")->entries(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"_extentx", "2143"}, {"caption", "ｷｬﾝｾﾙ"}, {"font", "ＭＳ Ｐゴシック,9.75,400,0,0,0,128"}}));
    ButtonFont font;
    ASSERT_TRUE(parseFont(stored.instance("Cmd_File")->read("FONT").value(), font));
    EXPECT_EQ(font.typeface, "A, B");
    EXPECT_TRUE(font.italic && !font.underline && font.strikethrough);
    EXPECT_EQ(stored.instance("Cmd_Set"), nullptr);
}

} // namespace
