// The media form layer on a patterned screen: the rollover picture drawn and put back pixel for
// pixel, the help box (its delay, size, place near the edges, drawing and removal), the tab
// order, the fade before a screen is built, F1, and narration once per user.

#include "ScreenProbe.h"

#include "framework/display/Sound.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/HelpBox.h"
#include "framework/ui/HelpLaunch.h"
#include "framework/ui/MediaControlObject.h"
#include "framework/ui/MediaFormObject.h"
#include "platform/audio/AudioDevice.h"
#include "platform/sys/Launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t green = 0x00FF00;

// A full-screen media form with a hot spot at (100, 100, 50, 30) that has a rollover picture and
// help, and four tab stops: "a", "b" (disabled), "c" (hidden), "d".
struct Screen {
    explicit Screen(UiFixture& ui)
    {
        qelValue data = UiFixture::read(
            "(table (\"Resource Table\" (table (\"Control List\" (list"
            " (control (\"Class\" \"HotSpot\") (\"Name\" \"spot\") (\"Hot Spot\" (rect 100 100 50 30)) (\"Help\" "
            "\"Ajuda\"))"
            " (control (\"Class\" \"HotSpot\") (\"Name\" \"a\") (\"Hot Spot\" (rect 0 0 10 10)))"
            " (control (\"Class\" \"HotSpot\") (\"Name\" \"b\") (\"Hot Spot\" (rect 10 0 10 10)) (\"Disabled\" true))"
            " (control (\"Class\" \"HotSpot\") (\"Name\" \"c\") (\"Hot Spot\" (rect 20 0 10 10)) (\"Hidden\" true))"
            " (control (\"Class\" \"HotSpot\") (\"Name\" \"d\") (\"Hot Spot\" (rect 30 0 10 10))))))))");
        form = new qelMediaFormObject(data);
        value = qelFormValue(form);
        qelSetActiveForm(value);
        form->open(UiFixture::read("(table (\"NoFade\" true))"));
        spot = form->findControl("Name", "spot");
        qelPut(spot, "RolloverImage", solidImage(50, 30, green));
        qelValue stops = qelMakeList(4, 100, QEL_GENERAL_LIST);
        for (const char* name : { "a", "b", "c", "d" })
            qelListObjectOf(stops)->append(form->findControl("Name", name));
        form->setProperty("TabStopList", stops);
    }
    std::string active() { return qelCString(qelGet(form->activeControl, "Name")); }

    qelMediaFormObject* form = nullptr;
    qelValue value;
    qelValue spot;
};

} // namespace

TEST(MediaForm, TheRolloverPictureAndTheHelpBoxComeAndGoPixelExactly)
{
    UiFixture ui;
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    Screen screen(ui);

    screen.form->mouseMove(120, 110, 0);
    // The picture sits at the hot spot's corner, and nothing beyond it changed.
    EXPECT_EQ(ui.pixel(100, 100), pixelOf(green));
    EXPECT_EQ(ui.pixel(149, 129), pixelOf(green));
    EXPECT_EQ(ui.pixel(150, 129), patternPixel(150, 129));
    EXPECT_EQ(ui.pixel(99, 100), patternPixel(99, 100));

    // The box waits a second from the rollover, following the pointer meanwhile.
    qelWait(500);
    screen.form->mouseMove(122, 112, 0);
    qelWait(499);
    screen.form->tick();
    EXPECT_FALSE(screen.form->helpBox.shown());
    qelWait(1);
    screen.form->tick();
    ASSERT_TRUE(screen.form->helpBox.shown());
    // "Ajuda" is 30 x 10 in the test font: a 37 x 13 box 20 pixels below and right of the pointer.
    EXPECT_EQ(screen.form->helpBox.helpBoxX, 142);
    EXPECT_EQ(screen.form->helpBox.helpBoxY, 132);
    // Outlined in colour 1 along its edges, yellow inside, the text's first glyph at (145, 133).
    EXPECT_EQ(ui.pixel(142, 132), pixelOf(1));
    EXPECT_EQ(ui.pixel(178, 144), pixelOf(1));
    EXPECT_EQ(ui.pixel(144, 143), pixelOf(QEL_HELP_BOX_COLOR));
    EXPECT_EQ(ui.pixel(177, 133), pixelOf(QEL_HELP_BOX_COLOR));
    EXPECT_EQ(ui.pixel(146, 134), pixelOf(1));
    EXPECT_EQ(ui.pixel(179, 144), patternPixel(179, 144));
    EXPECT_EQ(ui.pixel(178, 145), patternPixel(178, 145));
    // It is drawn once.
    screen.form->tick();
    EXPECT_FALSE(screen.form->helpBox.waiting());

    // Leaving the control takes the box and the picture away.
    screen.form->mouseMove(400, 400, 0);
    EXPECT_FALSE(screen.form->helpBox.shown());
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");

    // A press removes a shown box at once.
    screen.form->mouseMove(120, 110, 0);
    qelWait(1000);
    screen.form->tick();
    ASSERT_TRUE(screen.form->helpBox.shown());
    screen.form->mouseDown(300, 300, 0, 1);
    EXPECT_FALSE(screen.form->helpBox.shown());
    screen.form->mouseMove(400, 400, 0);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

TEST(MediaForm, TheHelpBoxIsAsWideAsTheLongestLineAndTurnsAtTheEdges)
{
    UiFixture ui;
    struct Size {
        const char* text;
        int32_t width;
        int32_t height;
    } sizes[] = {
        { "Ajuda", 37, 13 },
        // The longest line last: the box is as wide as that line (6 characters).
        { "ab\ncd\nlonger", 43, 33 },
        { "longer\nab", 43, 23 },
    };
    for (const Size& s : sizes) {
        int32_t w = 0;
        int32_t h = 0;
        qelHelpBox::measure(s.text, w, h);
        EXPECT_EQ(w, s.width) << s.text;
        EXPECT_EQ(h, s.height) << s.text;
    }

    struct Place {
        int32_t px, py, originX, originY, x, y;
    } places[] = {
        { 120, 110, 0, 0, 140, 130 },
        // Past the right edge or the bottom: up and to the left of the pointer.
        { 600, 100, 0, 0, 543, 67 },
        { 120, 455, 0, 0, 63, 422 },
        { 610, 455, 0, 0, 553, 422 },
        // Turned back past the left edge: 5 pixels in.
        { 10, 470, 0, 0, 5, 437 },
        // A dialog places the box in its own coordinates.
        { 120, 110, 100, 80, 40, 50 },
    };
    for (const Place& p : places) {
        int32_t x = 0;
        int32_t y = 0;
        qelHelpBox::place(p.px, p.py, 37, 13, p.originX, p.originY, x, y);
        EXPECT_EQ(x, p.x) << p.px << "," << p.py;
        EXPECT_EQ(y, p.y) << p.px << "," << p.py;
    }

    // A help text that is not a string is reported once.
    qelHelpBox box;
    box.wait(qelMakeInt(3), 0, 0);
    box.tick(0, 0);
    box.tick(0, 0);
    ASSERT_EQ(recordedErrors().size(), 1u);
    EXPECT_EQ(recordedErrors()[0], "Bad Rollover Text: 3");
}

TEST(MediaForm, TabMovesThroughTheStopsThatCanTakeTheFocus)
{
    UiFixture ui;
    Screen screen(ui);
    struct Step {
        int32_t modifiers;
        const char* expected;
    };
    // The form opened before its tab list was set: nobody has the focus, so Tab gives it to "a".
    Step steps[] = { { 0, "a" }, { 0, "d" }, { 0, "a" }, { QEL_SHIFT_KEY, "d" }, { QEL_SHIFT_KEY, "a" } };
    for (const Step& s : steps) {
        screen.form->key(9, s.modifiers);
        EXPECT_EQ(screen.active(), s.expected);
    }
    // An empty list is no tab order: the key goes on to the active control and the focus stays.
    screen.form->setProperty("TabStopList", qelMakeList(4, 100, QEL_GENERAL_LIST));
    screen.form->key(9, 0);
    EXPECT_EQ(screen.active(), "a");
}

TEST(MediaForm, OpeningFadesOutUnlessNoFade)
{
    UiFixture ui;
    ui.environment->setBoolSetting("EmulatePaletteFades", 0);
    for (bool noFade : { false, true }) {
        paintPattern(ui);
        auto* form = new qelMediaFormObject(UiFixture::read("(table (\"Resource Table\" (table)))"));
        qelValue value = qelFormValue(form);
        qelSetActiveForm(value);
        form->open(noFade ? UiFixture::read("(table (\"NoFade\" true))") : qelNil);
        // The form has no background: what the fade left is what shows.
        EXPECT_EQ(ui.pixel(320, 240), noFade ? patternPixel(320, 240) : pixelOf(1)) << noFade;
        form->close();
    }
}

TEST(MediaForm, F1OpensTheHelpPageAndNothingElse)
{
    UiFixture ui;
    qelInstallHelpLaunch();
    platform::recordLaunches();
    Screen screen(ui);
    screen.form->key(9, 0);
    screen.form->key(0x10000, 0);
    std::vector<std::string> launched = platform::recordedLaunches();
    platform::stopRecordingLaunches();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_TRUE(launched[0].ends_with(".html")) << launched[0];
    EXPECT_EQ(screen.active(), "a");
    EXPECT_EQ(qelHelpPage("C:\\VL98\\VL98.hlp"), "C:\\VL98\\VL98.html");
    EXPECT_EQ(qelHelpPage("dir.x/VL98"), "dir.x/VL98.html");
}

TEST(MediaForm, NarrationPlaysOncePerUserUnlessForced)
{
    UiFixture ui;
    class Narrated : public qelMediaFormObject {
    public:
        using qelMediaFormObject::qelMediaFormObject;
        int32_t playSound(const qelValue& sound, int32_t loop) override
        {
            played.push_back(qelCString(sound));
            return 1;
        }
        std::vector<std::string> played;
    };
    auto* form = new Narrated(UiFixture::read("(table (\"Name\" \"Inicio\") (\"InicioAudioHelp\" \"fala.wav\"))"));
    qelValue value = qelFormValue(form);
    form->name = "Inicio";
    ui.environment->setBoolSetting("SoundEffects", 1);
    ui.environment->setBoolSetting("PlayNarrator", 1);
    form->narrate(0);
    form->narrate(0);
    EXPECT_EQ(form->played, (std::vector<std::string> { "fala.wav" }));
    EXPECT_TRUE(qelGetBoolSetting("InicioNarrator", 0));
    form->narrate(1);
    EXPECT_EQ(form->played.size(), 2u);
}

// A value that is not a sound, given as a click or screen sound, is not kept: the next click, key
// and close go on without stopping it (stopping a non-sound would end the program).
TEST(MediaForm, AClickOrScreenSoundThatIsNoSoundIsNotKept)
{
    UiFixture ui;
    ui.environment->setBoolSetting("SoundEffects", 1);
    ui.environment->setSetting("AudioExtension", "wav");
    Screen screen(ui);
    ui.environment->setGlobal("NaoSom", qelMakeInt(3));
    // The click is taken on the press, with no tracking loop to feed.
    qelPut(screen.spot, "ReleaseOnMouseDown", qelTrue);
    for (const qelValue& notASound : { qelValue(qelMakeInt(7)), qelValue("NaoSom"), qelValue("falta") }) {
        qelPut(screen.spot, "Sound", notASound);
        screen.form->mouseDown(110, 110, 0, 1);
        auto* control = dynamic_cast<qelMediaControlObject*>(qelValueObject(screen.spot));
        ASSERT_NE(control, nullptr);
        EXPECT_FALSE(control->hasClickSound());
        EXPECT_EQ(screen.form->playSound(notASound, 0), 0);
        EXPECT_FALSE(screen.form->hasSound());
        screen.form->key('A', 0);
    }
    screen.form->close();
}

// The click sound of a hot spot: nothing with "SoundEffects" off; a name without an extension gets
// "." + "AudioExtension"; a name with one is taken as it is.
TEST(MediaForm, TheClickSoundFollowsSoundEffectsAndTheAudioExtension)
{
    fs::path root = fs::temp_directory_path() / ("qel-click-" + std::to_string(std::random_device {}()));
    fs::create_directories(root / "Media");
    fs::copy_file(fs::path(QEL_TEST_DATA) / "sound" / "tone.wav", root / "Media" / "clique.wav");
    struct Case {
        bool effects;
        const char* sound;
        bool played;
    } cases[] = { { false, "clique", false }, { true, "clique", true }, { true, "clique.wav", true },
        { true, "clique.mid", false } };
    for (const Case& c : cases) {
        UiFixture ui;
        platform::audio::NullAudio& device = platform::audio::useNullAudio();
        qelResetSoundState();
        qelInstallSoundServices();
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->setSetting("AudioExtension", "wav");
        ui.environment->setBoolSetting("SoundEffects", c.effects);
        Screen screen(ui);
        qelPut(screen.spot, "ReleaseOnMouseDown", qelTrue);
        qelPut(screen.spot, "Sound", c.sound);
        screen.form->mouseDown(110, 110, 0, 1);
        size_t sounds = 0;
        for (const auto& call : device.calls)
            sounds += call.kind == "sound" ? 1 : 0;
        EXPECT_EQ(sounds, c.played ? 1u : 0u) << c.effects << " " << c.sound << " " << recordedErrors().size();
        screen.form->close();
        qelResetSoundState();
        platform::audio::setAudioDevice(nullptr);
    }
    fs::remove_all(root);
}
