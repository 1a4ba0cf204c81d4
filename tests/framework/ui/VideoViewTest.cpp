// The video view: its states (idle, playing, paused, ended, stopped) step by step over a fake
// movie device, with the notices each step raises and the screen under its frame; and over a
// real tiny movie on the virtual clock: placement from a video archive by the movie's size, the
// verbs, the end of the movie (stopped, disabled, focus given up) and playing again until
// stopped.

#include "ScreenProbe.h"

#include "framework/display/MovieObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Perform.h"
#include "framework/ui/VideoView.h"
#include "platform/video/AviWriter.h"
#include "platform/video/MoviePlayer.h"
#include "tests/support/FakeMoviePlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

namespace fs = std::filesystem;
using platform::video::AviCodec;
using platform::video::AviWriter;

namespace {

// The media folder (and its "Movies") with an 8-frame 32 x 24 movie (800 ms) and a video archive in text notation
// that places movies of that size at (100, 50) with a cue sheet. With a fake device the movie layer plays through it
// instead.
struct VideoDisk {
    explicit VideoDisk(UiFixture& ui, qeltest::FakePlayer* fake = nullptr)
    {
        root = fs::temp_directory_path() / ("qel-videoview-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
        AviWriter writer;
        EXPECT_TRUE(writer.open((root / "Media" / "Clip.avi").string(), AviCodec::Raw8, 32, 24, 10));
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(writer.addFrame(platform::video::patternFrame(32, 24, i)));
        EXPECT_TRUE(writer.finish());
        // "Reinitialize" looks in the "VideoPath" folder ("Movies" by default), the properties'
        // "VideoName" in the media folder.
        fs::create_directories(root / "Media" / "Movies");
        fs::copy_file(root / "Media" / "Clip.avi", root / "Media" / "Movies" / "Clip.avi");
        std::ofstream(root / "Media" / "videos.lst")
            << "(list (table (\"32x24\" 1)) (table (\"VideoX\" 100) (\"VideoY\" 50) (\"CueSheet\" 1)))";
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->setSetting("VideoExtension", "avi");
        ui.environment->setBoolSetting("UseCompiledResources", 0);
        qelResetMovieState();
        qelInstallMovieServices();
        qelSetMediaHooks(qelAnyMovieOpen, nullptr);
        if (fake)
            qelSetMoviePlayer(std::unique_ptr<qeltest::FakePlayer>(fake));
    }
    ~VideoDisk()
    {
        qelFlushEvents(QEL_ALL_EVENTS);
        qelCloseAllMovies();
        qelResetMovieState();
        qelSetMoviePlayer(nullptr);
        qelSetMediaHooks(nullptr, nullptr);
        fs::remove_all(root);
    }

    // Waits for the movie's next notice and hands it to the control; the notice's text.
    std::string deliverNotice(VideoView* view)
    {
        qelEvent event;
        qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 5000);
        if (event.type != QEL_MEDIA_NOTICE_EVENT)
            return "";
        view->mediaNotify(qelGet(event.a, 0), qelGet(event.a, 1));
        return qelCString(qelGet(event.a, 1));
    }

    // Hands every queued notice to the control; their texts in order.
    std::vector<std::string> deliverQueued(VideoView* view)
    {
        std::vector<std::string> notices;
        qelEvent event;
        for (qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 0); event.type; qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 0)) {
            view->mediaNotify(qelGet(event.a, 0), qelGet(event.a, 1));
            notices.push_back(qelCString(qelGet(event.a, 1)));
        }
        return notices;
    }

    fs::path root;
};

VideoView* makeView(qelValue& value, const char* extra, const qelValue& frame = qelNil)
{
    std::string text = std::string("(table (\"Class\" \"VideoView\") (\"Hot Spot\" (rect 100 50 32 24))"
                                   " (\"VideoArchive\" \"videos\") (\"VideoName\" \"Clip\")")
        + extra + ")";
    value = qelMakeControl(UiFixture::read(text.c_str()));
    if (!frame.isNil())
        qelPut(value, "Frame", frame);
    auto* view = dynamic_cast<VideoView*>(qelControlOf(value));
    if (view)
        view->initialize();
    return view;
}

bool verb(const qelValue& control, const char* name, const qelValue& data = qelNil)
{
    return qelIsTrue(qelPerform(control, name, data));
}

} // namespace

TEST(VideoView, TheArchivePlacesTheMovieByItsSizeAndTheVerbsAnswer)
{
    // The movie layer reports a movie it cannot open in a message box.
    UiFixture ui("answer 1\nwait 86400000\n");
    VideoDisk disk(ui);
    qelValue control;
    VideoView* view = makeView(control, "");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ready, 1) << "an archive and a movie path";
    EXPECT_FALSE(verb(control, "IsPlaying"));
    // "Reinitialize" with nil opens the movie the properties named.
    EXPECT_TRUE(verb(control, "Reinitialize"));
    EXPECT_EQ(view->videoX, 100);
    EXPECT_EQ(view->videoY, 50);
    EXPECT_TRUE(verb(control, "Pause")) << "the archive's item has a cue sheet";
    for (const char* always : { "Rewind", "Forward", "Reset", "Initialize" })
        EXPECT_TRUE(verb(control, always)) << always;
    EXPECT_TRUE(verb(control, "Reinitialize", "Clip.avi"));
    // A movie that is not there is reported when its size is first asked for, and nothing plays.
    verb(control, "Reinitialize", "Falta");
    EXPECT_FALSE(verb(control, "IsPlaying"));
    EXPECT_TRUE(verb(control, "Uninitialize"));
    EXPECT_EQ(view->ready, 0);
    EXPECT_FALSE(verb(control, "Stop")) << "not ready";
    EXPECT_FALSE(verb(control, "IsPlaying"));
}

TEST(VideoView, AtItsEndTheMovieStopsAndTheControlDisablesItselfUntilCleared)
{
    UiFixture ui;
    VideoDisk disk(ui);
    qelValue control;
    VideoView* view = makeView(control, "");
    ASSERT_TRUE(verb(control, "Reinitialize", "Clip"));
    ASSERT_TRUE(verb(control, "Start", qelFalse));
    EXPECT_TRUE(verb(control, "IsPlaying"));
    EXPECT_EQ(disk.deliverNotice(view), "ended");
    EXPECT_EQ(disk.deliverNotice(view), "") << "one notice for one end";
    EXPECT_FALSE(verb(control, "IsPlaying"));
    EXPECT_TRUE(qelIsTrue(qelGet(control, "Disabled")));
    EXPECT_FALSE(verb(control, "Start", qelFalse)) << "disabled";
    qelPut(control, "Disabled", qelFalse);
    EXPECT_TRUE(verb(control, "Start", qelFalse));
    // Stopping raises the "aborted" notice, which disables the control as well.
    EXPECT_TRUE(verb(control, "Stop"));
    EXPECT_EQ(disk.deliverNotice(view), "aborted");
    EXPECT_EQ(disk.deliverNotice(view), "") << "a stopped movie does not end as well";
    EXPECT_TRUE(qelIsTrue(qelGet(control, "Disabled")));
}

TEST(VideoView, PlayTillStoppedStartsAgainAtEachEnd)
{
    UiFixture ui;
    VideoDisk disk(ui);
    qelValue control;
    VideoView* view = makeView(control, " (\"PlayTillStoped\" true)");
    ASSERT_TRUE(verb(control, "Reinitialize", "Clip"));
    ASSERT_TRUE(verb(control, "Start", qelFalse));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(disk.deliverNotice(view), "ended") << round;
        EXPECT_TRUE(verb(control, "IsPlaying")) << round;
        EXPECT_FALSE(qelIsTrue(qelGet(control, "Disabled"))) << round;
    }
    EXPECT_TRUE(verb(control, "Stop"));
    EXPECT_FALSE(verb(control, "IsPlaying"));
}

TEST(VideoView, StateTableOverAFakeDevice)
{
    UiFixture ui;
    paintPattern(ui);
    auto* player = new qeltest::FakePlayer;
    VideoDisk disk(ui, player);
    qelValue control;
    // A green frame at (96, 46). The archive does not list the fake device's movie size (160 x 120), so the movie
    // keeps the place and frame its properties give.
    VideoView* view
        = makeView(control, " (\"FrameX\" 96) (\"FrameY\" 46) (\"VideoX\" 120) (\"VideoY\" 60) (\"CueSheet\" 1)",
            solidImage(40, 30, 0x00FF00));
    ASSERT_NE(view, nullptr);
    auto end = [&] {
        qelMovieObject::notify(qelMovieOf(view->movie)->deviceId());
        return true;
    };
    auto clearAndStart = [&](const qelValue& loop) {
        qelPut(control, "Disabled", qelFalse);
        return verb(control, "Start", loop);
    };
    struct Step {
        const char* state;
        std::function<bool()> act;
        bool answer;
        bool playing;
        bool disabled;
        std::vector<std::string> notices;
        bool frameShown; // else the screen under the frame is as it was before the first start
        bool deviceQuiet; // the step sends the device no command
    } steps[] = {
        { "idle", [&] { return verb(control, "IsPlaying"); }, false, false, false, {}, false, true },
        { "opened", [&] { return verb(control, "Reinitialize", "Clip"); }, true, false, false, {}, false, false },
        { "playing", [&] { return verb(control, "Start", qelFalse); }, true, true, false, {}, true, false },
        { "paused", [&] { return verb(control, "Pause"); }, true, true, false, {}, true, true },
        { "ended", end, true, false, true, { "ended" }, false, false },
        { "start while disabled", [&] { return verb(control, "Start", qelFalse); }, false, false, true, {}, false,
            true },
        { "stop after the end", [&] { return verb(control, "Stop"); }, true, false, true, {}, false, true },
        { "playing in a loop", [&] { return clearAndStart(qelTrue); }, true, true, false, {}, true, false },
        { "stopped", [&] { return verb(control, "Stop"); }, true, false, true, { "aborted" }, false, false },
        { "playing again", [&] { return clearAndStart(qelFalse); }, true, true, false, {}, true, false },
        { "uninitialized while playing", [&] { return verb(control, "Uninitialize"); }, true, false, false, {}, true,
            false },
    };
    for (const Step& step : steps) {
        size_t commands = player->calls.size();
        EXPECT_EQ(step.act(), step.answer) << step.state;
        EXPECT_EQ(disk.deliverQueued(view), step.notices) << step.state;
        EXPECT_EQ(verb(control, "IsPlaying"), step.playing) << step.state;
        EXPECT_EQ(qelIsTrue(qelGet(control, "Disabled")), step.disabled) << step.state;
        EXPECT_EQ(ui.pixel(100, 60), step.frameShown ? 0x00FF00u : patternPixel(100, 60)) << step.state;
        // The saved screen reaches 150 rows below the frame.
        EXPECT_EQ(ui.pixel(130, 46 + 30 + 149), patternPixel(130, 46 + 30 + 149)) << step.state;
        if (step.deviceQuiet)
            EXPECT_EQ(player->calls.size(), commands) << step.state;
        if (std::string(step.state) == "playing in a loop")
            EXPECT_NE(player->calls.back().find("repeat"), std::string::npos) << player->calls.back();
    }
    for (const std::string& call : player->calls) {
        if (call.rfind("place", 0) == 0)
            EXPECT_NE(call.find(" 120 60 160 120"), std::string::npos) << call;
    }
}
