// The Command button: its state machine against event sequences, its face geometry and gradient,
// and the load and save of its persisted properties.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "saver/button/command.h"
#include "saver/button/stored_description.h"

namespace {

const char* const imageNames[] = {"Normal", "HighLight", "Selected", "Pressed", "HighLightSelect", "Disable"};

class RecordingSurface : public CommandSurface {
public:
    std::vector<std::string> calls;
    FaceLayout lastLayout;
    Gradient lastGradient;

    void paintFace(FaceImage image, const Gradient& gradient, const FaceLayout& layout) override
    {
        // A face is named with where its dark colour lies: "v" dark at the bottom, "^" at the top.
        const bool darkOnTop = gradient.vertices[0].red != 0xFF00;
        calls.push_back(std::string(imageNames[static_cast<int>(image)]) + (darkOnTop ? "^" : "v"));
        lastLayout = layout;
        lastGradient = gradient;
    }
    void placeCaption(std::int16_t, std::int16_t) override {}
    void showEnabled(bool) override {}
    void startPointerTimer(std::uint32_t milliseconds) override { calls.push_back("timer " + std::to_string(milliseconds)); }
    void raiseClick() override { calls.push_back("Click"); }
    void propertyChanged(const char* name) override { calls.push_back(std::string("changed ") + name); }
};

// Events by word: down1/up1 (left), down2/up2 (right), up1-held (another button still down), move,
// focus, blur, tick (pointer elsewhere), tick-parent, tick-own, off (disable), lost (another window
// took the capture), ask (Enabled read, as every press does).
void apply(Command& button, const std::string& event)
{
    if (event == "down1") button.MouseDown(1);
    else if (event == "down2") button.MouseDown(2);
    else if (event == "up1") button.MouseUp(1, true);
    else if (event == "up1-held") button.MouseUp(1, false);
    else if (event == "up2") button.MouseUp(2, true);
    else if (event == "move") button.MouseMove(0);
    else if (event == "focus") button.GotFocus();
    else if (event == "blur") button.LostFocus();
    else if (event == "tick") button.TimerTick(PointerOver::Other);
    else if (event == "tick-parent") button.TimerTick(PointerOver::Parent);
    else if (event == "tick-own") button.TimerTick(PointerOver::Control);
    else if (event == "off") button.setEnabled(false);
    else if (event == "lost") button.CaptureLost();
    else if (event == "ask") button.Enabled();
    else FAIL() << "unknown event " << event;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

// A stored instance with no keys: enabled and initialised, as the dialog's buttons are.
struct LoadedButton {
    RecordingSurface surface;
    Command button{surface};
    explicit LoadedButton(bool initialize)
    {
        button.Resize(81, 25);
        button.load(PropertyBag{}, defaultCaptionFont());
        if (initialize)
            button.Initialize();
        surface.calls.clear();
    }
};

TEST(CommandStates, FollowPointerFocusAndButtons)
{
    struct Case {
        const char* events;
        const char* after;  // calls made after the events before the bar
        ButtonState state;
    };
    const Case cases[] = {
        {"| move", "HighLight^", ButtonState::HighLight},
        {"move | tick", "Normalv", ButtonState::Normal},
        {"move | tick-parent", "Normalv", ButtonState::Normal},
        {"move | tick-own", "", ButtonState::HighLight},
        // Focus gained under the pointer: pressed, with the gradient still dark on top.
        {"move | focus", "Pressed^", ButtonState::HighLightSelect},
        {"move focus | down1 up1", "Pressed^ HighLightSelect^ Click", ButtonState::HighLightSelect},
        {"| focus move", "Selectedv HighLightSelectv", ButtonState::HighLightSelect},
        {"focus move | blur", "Normalv", ButtonState::Normal},
        // Press, drag out past a tick, release outside: no Click.
        {"focus move down1 | tick up1", "Selectedv", ButtonState::Selected},
        // A press whose capture is taken ends as a release outside: no Click, no pressed face.
        {"focus move down1 | lost up1", "Selectedv", ButtonState::Selected},
        {"focus move down1 tick | lost up1", "Selectedv", ButtonState::Selected},
        {"move | lost", "", ButtonState::HighLight},
        // Back in while still held: LeftDown keeps the state at 3, so no Click; the next move enters 4.
        {"focus move down1 tick | move up1 move", "HighLightSelectv", ButtonState::HighLightSelect},
        {"move | down2 up2", "Click", ButtonState::HighLight},
        {"move | up1", "Normal^ Click", ButtonState::HighLight},
        {"| up2", "Click", ButtonState::Normal},
        {"focus | up2", "", ButtonState::Selected},
        // The click waits for the last button up.
        {"move | down1 down2 up1-held up2", "Pressed^ Normal^ Click", ButtonState::HighLight},
        {"move focus | ask", "", ButtonState::HighLightSelect},
        // Frozen while disabled, but for the focus it loses as it is disabled.
        {"move off | move focus down1 up1 up2 tick", "", ButtonState::HighLight},
        {"focus move off | blur", "", ButtonState::Normal},
    };
    for (const Case& c : cases) {
        LoadedButton loaded(true);
        const std::vector<std::string> events = words(c.events);
        bool recording = false;
        for (const std::string& event : events) {
            if (event == "|") {
                recording = true;
                loaded.surface.calls.clear();
                continue;
            }
            apply(loaded.button, event);
        }
        ASSERT_TRUE(recording) << c.events;
        std::string calls;
        for (const std::string& call : loaded.surface.calls)
            calls += (calls.empty() ? "" : " ") + call;
        EXPECT_EQ(calls, c.after) << c.events;
        EXPECT_EQ(loaded.button.state(), c.state) << c.events;
    }
}

TEST(CommandStates, BeforeInitializeOnlyFocusMovesTheMachine)
{
    LoadedButton loaded(false);
    for (const char* event : {"move", "tick"})
        apply(loaded.button, event);
    EXPECT_EQ(loaded.button.state(), ButtonState::Uninitialised);
    EXPECT_TRUE(loaded.surface.calls.empty());
    apply(loaded.button, "focus");
    EXPECT_EQ(loaded.button.state(), ButtonState::Selected);
    apply(loaded.button, "blur");
    EXPECT_EQ(loaded.button.state(), ButtonState::Normal);
    Command fresh(loaded.surface);
    loaded.surface.calls.clear();
    fresh.Initialize();
    EXPECT_EQ(loaded.surface.calls, std::vector<std::string>{"timer 100"});
    EXPECT_EQ(fresh.state(), ButtonState::Normal);
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

TEST(CommandProperties, LoadAndSaveOnlyWhatDiffersFromTheDefaults)
{
    RecordingSurface surface;
    Command loaded(surface);
    loaded.load(PropertyBag{}, defaultCaptionFont());
    EXPECT_TRUE(loaded.Enabled());
    EXPECT_EQ(loaded.Caption(), "Command");
    EXPECT_EQ(loaded.Font(), defaultCaptionFont());
    EXPECT_EQ(loaded.fontColour(), 0);
    EXPECT_TRUE(loaded.opaque());
    PropertyBag saved;
    loaded.save(saved, defaultCaptionFont());
    EXPECT_TRUE(saved.entries().empty()) << saved.entries().front().first;

    loaded.setFont(boldTwelve());
    loaded.setCaption("設定");
    loaded.save(saved, defaultCaptionFont());
    StoredDescription description;
    description.instance("Cmd_Set") = saved;
    // Stored descriptions spell their keys in lower case.
    std::string text = description.format();
    for (const auto& [key, lower] : {std::pair{"\nFont=", "\nfont="}, std::pair{"\nCaption=", "\nCAPTION="}})
        text.replace(text.find(key), std::string(key).size(), lower);
    Command reloaded(surface);
    const StoredDescription stored = StoredDescription::parse(text);
    reloaded.load(*stored.instance("Cmd_Set"), defaultCaptionFont());
    EXPECT_EQ(reloaded.Font(), boldTwelve());
    EXPECT_EQ(reloaded.Caption(), "設定");

    Command fresh(surface);
    EXPECT_TRUE(fresh.Enabled()) << "the first read initialises a never-stored instance";
    PropertyBag afterFirstRead;
    fresh.save(afterFirstRead, defaultCaptionFont());
    EXPECT_FALSE(afterFirstRead.read("Enabled") || afterFirstRead.read("FirstRun"));
}

TEST(CommandProperties, UnreadableValuesKeepWhatWasThere)
{
    PropertyBag bag;
    bag.set("enabled", "maybe");
    bag.set("Font", "Arial,big,400,0,0,0,0");
    bag.set("FirstRun", "256");
    bag.set("FontColour", "255");
    bag.set("visible", "0");
    RecordingSurface surface;
    Command button(surface);
    button.load(bag, boldTwelve());
    EXPECT_EQ(button.Font(), defaultCaptionFont());
    EXPECT_EQ(button.fontColour(), 255);
    EXPECT_FALSE(button.opaque());
    EXPECT_EQ(button.Visible(), 0);
    button.setVisible(7);
    EXPECT_EQ(button.Visible(), 255);
    // Beyond what the fields hold: the colour past 32 bits, a size no font has.
    bag.set("FontColour", "4294967296");
    bag.set("Font", "Arial,1e309,400,0,0,0,0");
    button.load(bag, boldTwelve());
    EXPECT_EQ(button.fontColour(), 255);
    EXPECT_EQ(button.Font(), defaultCaptionFont());
}

TEST(CommandProperties, NeverInitialisedCaptionsStayBlack)
{
    PropertyBag bag;
    bag.set("FirstRun", "0");
    bag.set("FontColour", "255");
    RecordingSurface surface;
    Command button(surface);
    button.load(bag, defaultCaptionFont());
    EXPECT_EQ(button.fontColour(), 0);
    bag.set("FirstRun", "1");
    button.load(bag, defaultCaptionFont());
    EXPECT_EQ(button.FontColour(), 255);
}

TEST(StoredDescription, KeepsInstancesKeysAndValuesAsWritten)
{
    const std::string text = "[Cmd_Can]\n_extentx=2143\ncaption=ｷｬﾝｾﾙ\nfont=ＭＳ Ｐゴシック,9.75,400,0,0,0,128\n"
                             "[Cmd_File]\ncaption=...\nfont=A, B,12,700,1,0,1,0\n";
    const StoredDescription stored = StoredDescription::parse("; comment\r\n" + text);
    EXPECT_EQ(stored.format(), text);
    ButtonFont font;
    ASSERT_TRUE(parseFont(stored.instance("Cmd_File")->read("FONT").value(), font));
    EXPECT_EQ(font.typeface, "A, B");
    EXPECT_TRUE(font.italic && !font.underline && font.strikethrough);
    EXPECT_EQ(stored.instance("Cmd_Set"), nullptr);
}

} // namespace
