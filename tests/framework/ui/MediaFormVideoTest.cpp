// A media form's video: centred in the media area (twice its size with "DoubleSizedVideo"), and
// stopped by a click, a key or its end notice.

#include "UiFixture.h"

#include "framework/display/MovieObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/MediaFormObject.h"
#include "platform/video/AviWriter.h"
#include "platform/video/MoviePlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using platform::video::AviCodec;
using platform::video::AviWriter;

namespace {

// A form layer with the movie device, and an 8-frame 32 x 24 movie (800 ms) in the media folder.
struct VideoScreen {
    explicit VideoScreen(UiFixture& ui)
    {
        root = fs::temp_directory_path() / ("qel-form-video-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
        AviWriter writer;
        EXPECT_TRUE(writer.open((root / "Media" / "Clip.avi").string(), AviCodec::Raw8, 32, 24, 10));
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(writer.addFrame(platform::video::patternFrame(32, 24, i)));
        EXPECT_TRUE(writer.finish());
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        qelResetMovieState();
        qelInstallMovieServices();
        qelSetMediaHooks(qelAnyMovieOpen, nullptr);
        form = new qelMediaFormObject(UiFixture::read("(table (\"Resource Table\" (table)))"));
        value = qelFormValue(form);
        qelSetActiveForm(value);
        form->open(UiFixture::read("(table (\"NoFade\" true))"));
    }
    ~VideoScreen()
    {
        form->close();
        // Queued notices hold their movies; let them go while the player can still close them.
        qelFlushEvents(QEL_ALL_EVENTS);
        qelCloseAllMovies();
        qelResetMovieState();
        // The player lives over this fixture's window system.
        qelSetMoviePlayer(nullptr);
        qelSetMediaHooks(nullptr, nullptr);
        fs::remove_all(root);
    }

    fs::path root;
    qelMediaFormObject* form = nullptr;
    qelValue value;
};

} // namespace

TEST(MediaFormVideo, CentredInTheMediaAreaAndTwiceItsSizeWhenAskedAndAllowed)
{
    struct Case {
        bool doubleSized;
        int32_t allowDouble;
        int32_t x;
        int32_t y;
    } cases[] = {
        { false, 1, (640 - 32) / 2, (480 - 24) / 2 },
        { true, 1, (640 - 64) / 2, (480 - 48) / 2 },
        { true, 0, (640 - 32) / 2, (480 - 24) / 2 },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        ui.environment->setBoolSetting("DoubleSizedVideo", c.doubleSized);
        VideoScreen screen(ui);
        EXPECT_EQ(screen.form->playVideo("Clip.avi", c.allowDouble), 1) << c.doubleSized << c.allowDouble;
        EXPECT_TRUE(screen.form->hasVideo());
        EXPECT_EQ(screen.form->videoX, c.x);
        EXPECT_EQ(screen.form->videoY, c.y);
    }
}

TEST(MediaFormVideo, AClickAKeyOrTheEndNoticeStopsIt)
{
    for (const char* how : { "click", "key", "end" }) {
        UiFixture ui;
        VideoScreen screen(ui);
        ASSERT_EQ(screen.form->playVideo("Clip.avi", 0), 1) << how;
        if (std::string(how) == "click") {
            screen.form->mouseDown(5, 5, 0, 1);
        } else if (std::string(how) == "key") {
            screen.form->key('A', 0);
        } else {
            qelEvent event;
            qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 5000);
            ASSERT_EQ(event.type, QEL_MEDIA_NOTICE_EVENT);
            screen.form->mediaNotify(qelGet(event.a, 0), qelGet(event.a, 1));
        }
        EXPECT_FALSE(screen.form->hasVideo()) << how;
        EXPECT_FALSE(qelAnyMovieOpen()) << how;
    }
}
