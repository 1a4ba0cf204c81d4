// Movie objects over a fake movie device: making and opening, the shared device types, the play
// range, showing and hiding, end and stop notices, error reports and closing every movie.

#include "framework/display/MovieObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "tests/support/FakeMoviePlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using qeltest::FakePlayer;

namespace {

class TestEnvironment : public qelEnvironmentBase { };

struct MovieTest : ::testing::Test {
    TestEnvironment environment;
    FakePlayer* player = nullptr;
    std::filesystem::path folder;

    void SetUp() override
    {
        environment.makeCurrent();
        auto fake = std::make_unique<FakePlayer>();
        player = fake.get();
        qelSetMoviePlayer(std::move(fake));
        qelResetMovieState();
        qelFreeEventQueue();
        folder = std::filesystem::temp_directory_path()
            / ("qel-movies-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        // No win.ini here: AVI and MPG are built in.
        qelSetAppDirectoryFromPath(qelStringValue((folder / "velarim").string().c_str()));
    }
    void TearDown() override
    {
        qelCloseAllMovies();
        qelResetMovieState();
        qelSetMoviePlayer(nullptr);
        qelFreeEventQueue();
    }

    qelValue movie(const char* name, int32_t fullScreen = 0)
    {
        qelValue path = qelStringValue((folder / name).string().c_str());
        return qelMovieFromFile(path, qelExtension(path), fullScreen);
    }
    qelMovieObject* of(const qelValue& value) { return qelMovieOf(value); }

    // Message boxes go to the debugger output (standard error) without a window layer.
    template<typename F> std::string boxes(F action)
    {
        ::testing::internal::CaptureStderr();
        action();
        return ::testing::internal::GetCapturedStderr();
    }

    // The media notices queued, as "alias notice".
    std::vector<std::string> notices()
    {
        std::vector<std::string> out;
        while (true) {
            qelEvent event;
            qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 0);
            if (event.type == 0)
                return out;
            qelMovieObject* m = qelMovieOf(qelGet(event.a, 0));
            out.push_back(std::string(m ? qelCString(m->alias()) : "?") + " " + qelCString(qelGet(event.a, 1)));
        }
    }
    bool called(const std::string& call) const
    {
        return std::find(player->calls.begin(), player->calls.end(), call) != player->calls.end();
    }
};

} // namespace

TEST_F(MovieTest, MakingGivesAliasesAndRefusesOtherTypes)
{
    qelValue first = movie("a.avi");
    qelValue second = movie("b.MPG");
    qelValue third = movie("c.Avi");
    ASSERT_NE(of(third), nullptr);
    EXPECT_STREQ(qelCString(of(first)->alias()), "1");
    EXPECT_STREQ(qelCString(of(third)->alias()), "3");
    EXPECT_STREQ(qelCString(of(second)->type()), "MPG");
    EXPECT_EQ(qelLeft(third), -10000);
    EXPECT_EQ(qelTop(third), -10000);
    EXPECT_TRUE(player->calls.empty()); // nothing opens before it is needed

    qelValue other;
    std::string shown = boxes([&] { other = movie("clip.xyz"); });
    EXPECT_TRUE(other.isNil());
    EXPECT_NE(shown.find("Unrecognized movie type: XYZ"), std::string::npos) << shown;
}

TEST_F(MovieTest, OpensOnFirstNeedAndAFailedOpenIsNotRetried)
{
    qelValue clip = movie("clip.avi");
    EXPECT_EQ(qelWidth(clip), 160);
    EXPECT_EQ(qelHeight(clip), 120);
    EXPECT_EQ(qelCount(clip), 50);
    EXPECT_EQ(player->calls, (std::vector<std::string> { "openType avivideo", "open avivideo clip.avi 1" }));

    player->failures["open"] = 3;
    qelValue broken = movie("broken.avi");
    std::string shown = boxes([&] { EXPECT_EQ(qelShow(broken), 0); });
    EXPECT_NE(shown.find("Cannot instantiate movie: "), std::string::npos) << shown;
    EXPECT_EQ(shown.find("MCI error"), std::string::npos) << shown; // "ShowVideoErrors" is off
    player->failures.clear();
    size_t before = player->calls.size();
    EXPECT_EQ(qelPlay(broken, 0, -1, 0), 0);
    EXPECT_EQ(player->calls.size(), before);
    // Closing it lets the next use open it afresh.
    qelReleaseMovie(broken);
    EXPECT_EQ(qelShow(broken), 1);
}

TEST_F(MovieTest, ExtensionTableAndDeviceTypeFailures)
{
    std::ofstream(folder / "win.ini") << "[mci extensions]\navi=avivideo\n";
    qelValue table = qelReadMciExtensions("mci extensions");
    EXPECT_STREQ(qelCString(qelGet(table, "AVI")), "avivideo");
    EXPECT_EQ(qelCount(table), 1);

    std::string shown = boxes([&] { EXPECT_EQ(qelShow(movie("film.mpg")), 0); });
    EXPECT_NE(shown.find("Unrecognized movie file type: MPG"), std::string::npos) << shown;

    environment.setBoolSetting("ShowVideoErrors", 1);
    player->failures["openType"] = 5;
    shown = boxes([&] { EXPECT_EQ(qelShow(movie("clip.avi")), 0); });
    EXPECT_NE(shown.find("MCI error (open avivideo): fake error 5\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Cannot initialize video subsystem with this MCI driver: avivideo"), std::string::npos);
}

TEST_F(MovieTest, MoviesOfOneTypeShareItsDevice)
{
    qelValue first = movie("a.avi");
    qelValue second = movie("b.avi");
    qelWidth(first);
    qelWidth(second);
    EXPECT_EQ(std::count(player->calls.begin(), player->calls.end(), "openType avivideo"), 1);
    EXPECT_EQ(qelIntAt(qelGet(qelMovieDevices(), "avivideo"), 1), 2);
    uint32_t typeId = uint32_t(qelIntAt(qelGet(qelMovieDevices(), "avivideo"), 0));
    qelReleaseMovie(first);
    EXPECT_TRUE(player->openDevices.count(typeId));
    second = qelNil; // the last reference: the movie closes as it goes
    EXPECT_FALSE(player->openDevices.count(typeId));
    EXPECT_TRUE(player->openDevices.empty());
    EXPECT_EQ(qelCount(qelMovieDevices()), 0);
}

TEST_F(MovieTest, PlayRangeIsBroughtIntoTheMovie)
{
    struct Case {
        int32_t from, to;
        const char* expected;
    };
    const Case cases[] = { { 0, -1, "play 101 0 49" }, { 50, 10, "play 101 0 10" }, { 99, -1, "play 101 0 49" },
        { 20, 5, "play 101 20 20" }, { 3, 7, "play 101 3 7" } };
    qelValue clip = movie("clip.avi");
    for (const Case& c : cases) {
        EXPECT_EQ(qelPlay(clip, c.from, c.to, 0), 1);
        EXPECT_EQ(player->calls.back(), c.expected) << c.from << ".." << c.to;
    }
    EXPECT_EQ(qelPlay(clip, 0, -1, 1), 1);
    EXPECT_EQ(player->calls.back(), "play 101 0 49 repeat");
    // Played again while playing, it is listed once.
    EXPECT_EQ(qelCount(qelPlayingMovies()), 1);
    // The first play showed it at its place: media offset 0 plus left and top.
    EXPECT_TRUE(called("place 101 -10000 -10000 160 120"));
}

TEST_F(MovieTest, EndAndStopNoticesFollowTheDeviceId)
{
    qelValue first = movie("a.avi");
    qelValue second = movie("b.avi");
    ASSERT_EQ(qelPlay(first), 1);
    ASSERT_EQ(qelPlay(second), 1);
    int32_t firstId = of(first)->deviceId();
    int32_t secondId = of(second)->deviceId();

    // A notice naming no playing movie (one stopped or closed since) ends nothing.
    qelMovieObject::notify(999);
    qelMovieObject::notify(0);
    EXPECT_TRUE(notices().empty());
    EXPECT_EQ(qelIsPlaying(first), 1);

    qelMovieObject::notify(secondId);
    EXPECT_EQ(notices(), (std::vector<std::string> { "2 ended" }));
    EXPECT_EQ(qelIsPlaying(second), 0);
    EXPECT_EQ(qelIsPlaying(first), 1);
    EXPECT_TRUE(qelAnyMovieOpen());
    qelMovieObject::notify(secondId); // a second notice for it finds nothing
    EXPECT_TRUE(notices().empty());

    EXPECT_EQ(qelStop(first), 1);
    EXPECT_TRUE(called("stop " + std::to_string(firstId)));
    EXPECT_EQ(notices(), (std::vector<std::string> { "1 aborted" }));
    EXPECT_FALSE(qelAnyMovieOpen());
    EXPECT_TRUE(qelPlayingMovies().isNil());
    // Stopping a movie that is not playing does nothing and posts nothing.
    size_t before = player->calls.size();
    EXPECT_EQ(qelStop(first), 0);
    EXPECT_EQ(player->calls.size(), before);
    EXPECT_TRUE(notices().empty());
}

TEST_F(MovieTest, DeviceErrorsAreShownOnlyWhenAsked)
{
    player->failures["show"] = 9;
    qelValue quiet = movie("a.avi");
    std::string shown = boxes([&] { EXPECT_EQ(qelShow(quiet), 0); });
    EXPECT_TRUE(shown.empty()) << shown;
    EXPECT_EQ(of(quiet)->isShown(), 0);

    environment.setBoolSetting("ShowVideoErrors", 1);
    shown = boxes([&] { qelShow(movie("b.avi")); });
    EXPECT_NE(shown.find("MCI error (window show): fake error 9\n"), std::string::npos) << shown;
    // A code the device has no text for is given in decimal.
    player->failures = { { "seek", 77 } };
    qelValue clip = movie("c.avi");
    qelShow(clip);
    shown = boxes([&] { EXPECT_EQ(of(clip)->seek(4), 0); });
    EXPECT_NE(shown.find("MCI error (seek): 77\n"), std::string::npos) << shown;
}

TEST_F(MovieTest, MoveAndHideSuspendAndShowAgainWhereItWas)
{
    qelValue clip = movie("clip.avi");
    ASSERT_EQ(qelShow(clip), 1);
    player->positionNow = 12;
    player->calls.clear();
    EXPECT_EQ(qelMove(clip, 30, 40), 1);
    EXPECT_EQ(player->calls,
        (std::vector<std::string> { "position", "hide 101", "close 101", "close 100", "openType avivideo",
            "open avivideo clip.avi 1", "place 103 30 40 160 120", "show 103", "seek 103 12" }));
    EXPECT_EQ(qelLeft(clip), 30);
    EXPECT_EQ(of(clip)->isShown(), 1);

    EXPECT_EQ(qelHide(clip), 1);
    EXPECT_EQ(of(clip)->isShown(), 0);
    EXPECT_EQ(of(clip)->suspended(), 1);
    EXPECT_EQ(of(clip)->opened(), 0);
    // A hidden movie plays again: it is shown at its place from where it stood.
    EXPECT_EQ(qelPlay(clip, 0, -1, 0), 1);
    EXPECT_EQ(of(clip)->isShown(), 1);
    EXPECT_EQ(of(clip)->isPlaying(), 1);
}

TEST_F(MovieTest, FullScreenMoviesFillTheMediaArea)
{
    environment.setSetting("MediaWidth", qelMakeInt(320));
    environment.setSetting("MediaHeight", qelMakeInt(200));
    qelValue clip = movie("clip.avi", 1);
    ASSERT_EQ(qelShow(clip), 1);
    EXPECT_TRUE(called("place 101 0 0 320 200"));
    EXPECT_EQ(qelWidth(clip), 320);
    // With "FullScreenVideo" off it keeps its own place and size.
    environment.setBoolSetting("FullScreenVideo", 0);
    qelValue other = movie("other.avi", 1);
    ASSERT_EQ(qelShow(other), 1);
    EXPECT_TRUE(called("place 102 -10000 -10000 160 120"));
}

TEST_F(MovieTest, ClosingAllStopsLastFirstAndForgetsTheTables)
{
    qelValue first = movie("a.avi");
    qelValue second = movie("b.avi");
    qelPlay(first);
    qelPlay(second);
    qelCloseAllMovies();
    EXPECT_EQ(notices(), (std::vector<std::string> { "2 aborted", "1 aborted" }));
    EXPECT_FALSE(qelAnyMovieOpen());
    EXPECT_TRUE(qelMovieDevices().isNil());
    EXPECT_TRUE(player->openDevices.empty());
    EXPECT_EQ(of(first)->opened(), 0);
    // Released while playing, a movie leaves the playing list without a notice.
    qelPlay(first);
    qelReleaseMovie(first);
    EXPECT_FALSE(qelAnyMovieOpen());
    EXPECT_TRUE(notices().empty());
}
