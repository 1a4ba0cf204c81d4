// The video view over a real tiny movie on the virtual clock: placement from a video archive by
// the movie's size, the verbs, the end of the movie (stopped, disabled, focus given up) and
// playing again until stopped.

#include "UiFixture.h"

#include "framework/display/MovieObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Perform.h"
#include "framework/ui/VideoView.h"
#include "platform/video/AviWriter.h"
#include "platform/video/MoviePlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using platform::video::AviCodec;
using platform::video::AviWriter;

namespace {

// The media folder (and its "Movies") with an 8-frame 32 x 24 movie (800 ms) and a video archive in text notation
// that places movies of that size at (100, 50) with a cue sheet.
struct VideoDisk {
    explicit VideoDisk(UiFixture& ui)
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

    fs::path root;
};

VideoView* makeView(qelValue& value, const char* extra)
{
    std::string text = std::string("(table (\"Class\" \"VideoView\") (\"Hot Spot\" (rect 100 50 32 24))"
                                   " (\"VideoArchive\" \"videos\") (\"VideoName\" \"Clip\")")
        + extra + ")";
    value = qelMakeControl(UiFixture::read(text.c_str()));
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
    EXPECT_FALSE(verb(control, "IsPlaying"));
    EXPECT_TRUE(qelIsTrue(qelGet(control, "Disabled")));
    EXPECT_FALSE(verb(control, "Start", qelFalse)) << "disabled";
    qelPut(control, "Disabled", qelFalse);
    EXPECT_TRUE(verb(control, "Start", qelFalse));
    // Stopping raises the "aborted" notice, which disables the control as well.
    EXPECT_TRUE(verb(control, "Stop"));
    EXPECT_EQ(disk.deliverNotice(view), "aborted");
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
