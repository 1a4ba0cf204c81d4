// The environment's dispatcher and default operations, its run, and the application
// environment's start-up, set-up, Alt+F4 and shut-down.

#include "ErrorRecorder.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> calls;

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : value.isNil() ? "nil" : "value";
}

class RecordingForm final : public qelObject, public qelFormEventProtocol {
public:
    void close() override { calls.push_back("close"); }
    void activate() override { calls.push_back("activate"); }
    void deactivate() override { calls.push_back("deactivate"); }
    void mouseMove(int32_t x, int32_t y, int32_t m) override { record("move", x, y, m); }
    void mouseDown(int32_t x, int32_t y, int32_t m, int32_t clicks) override { record("down", x, y, m, clicks); }
    void mouseDrag(int32_t x, int32_t y, int32_t m) override { record("drag", x, y, m); }
    void mouseUp(int32_t x, int32_t y, int32_t m) override { record("up", x, y, m); }
    void key(int32_t code, int32_t m) override { record("key", code, m); }
    void keyUp(int32_t code, int32_t m) override { record("keyUp", code, m); }
    void tick() override { calls.push_back("tick"); }
    void idle() override { calls.push_back("idle"); }
    void mediaNotify(const qelValue& media, const qelValue& notice) override
    {
        calls.push_back("media " + text(media) + " " + text(notice));
    }
    void notify(int32_t parameter) override { record("notify", parameter); }
    void globalToLocal(int32_t& x, int32_t& y) override
    {
        x -= 10;
        y -= 20;
    }
    qelValue loadResourceTable() override { return qelNil; }
    void releaseResourceTable() override { }

private:
    template<typename... Ints> void record(const char* name, Ints... values)
    {
        std::string line = name;
        ((line += " " + std::to_string(values)), ...);
        calls.push_back(line);
    }
};

qelValue recordCursor(const qelValue& cursor)
{
    calls.push_back("cursor " + text(cursor));
    return qelNil;
}

qelEvent event(int32_t type, int32_t x = 0, int32_t y = 0, int32_t modifiers = 0, int32_t key = 0)
{
    qelEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.modifiers = modifiers;
    e.key = key;
    return e;
}

class Environments : public testing::Test {
protected:
    void SetUp() override
    {
        calls.clear();
        qelServices().setCursor = recordCursor;
        qelServices().waitCursor = [] { return qelStringValue("wait"); };
        qelFreeEventQueue();
    }
    void TearDown() override
    {
        qelFreeEventQueue();
        qelResetServices();
        qelResetMakers();
    }

    ErrorRecorder errors;
};

} // namespace

TEST_F(Environments, EachEventBitCallsItsOperationOnTheActiveForm)
{
    qelEnvironment environment;
    environment.makeCurrent();
    environment.activeForm = qelMakeObjectValue(QEL_FORM_TYPE, new RecordingForm);

    qelEvent notice = event(QEL_MEDIA_NOTICE_EVENT);
    notice.a = qelListOf({ "filme", "ended" });
    qelEvent user = event(QEL_USER_MESSAGE_EVENT, 0, 0, 0, 5);
    user.a = 9;
    std::vector<qelEvent> events { event(QEL_FOCUS_GAINED_EVENT), event(QEL_FOCUS_LOST_EVENT),
        event(QEL_MOUSE_MOVE_EVENT, 1, 2, 3), event(QEL_MOUSE_DOWN_EVENT, 4, 5, 8, 2), event(QEL_DRAG_EVENT, 6, 7, 8),
        event(QEL_MOUSE_UP_EVENT, 8, 9, 0), event(QEL_KEY_DOWN_EVENT, 0, 0, 4, 0x40000),
        event(QEL_KEY_UP_EVENT, 0, 0, 1, 65), event(QEL_TICK_EVENT), event(QEL_INACTIVITY_EVENT), notice,
        event(QEL_NOTIFY_EVENT, 0, 0, 77), user, event(QEL_COMMAND_EVENT),
        // The empty event and a type with two bits match nothing.
        event(0), event(QEL_MOUSE_MOVE_EVENT | QEL_MOUSE_DOWN_EVENT, 1, 1) };
    for (const qelEvent& e : events)
        EXPECT_EQ(environment.dispatch(e), 1);

    EXPECT_EQ(calls,
        (std::vector<std::string> { "cursor nil", "activate", "deactivate", "move 1 2 3", "down 4 5 8 2", "drag 6 7 8",
            "up 8 9 0", "key 262144 4", "keyUp 65 1", "tick", "idle", "media filme ended", "notify 77" }));

    // The quit event closes the form and ends the loop.
    calls.clear();
    EXPECT_EQ(environment.dispatch(event(QEL_QUIT_EVENT)), 0);
    EXPECT_EQ(calls, std::vector<std::string> { "close" });

    qelEvent local = event(QEL_MOUSE_DOWN_EVENT, 100, 100);
    qelLocalizeEvent(local);
    EXPECT_EQ(local.x, 90);
    EXPECT_EQ(local.y, 80);
}

TEST_F(Environments, WithoutAFormMovesResetTheCursorAndQuitEndsTheLoop)
{
    qelEnvironment environment;
    environment.makeCurrent();
    EXPECT_EQ(environment.dispatch(event(QEL_MOUSE_MOVE_EVENT, 5, 5)), 1);
    EXPECT_EQ(environment.dispatch(event(QEL_KEY_DOWN_EVENT, 0, 0, 0, 65)), 1);
    EXPECT_EQ(environment.dispatch(event(QEL_QUIT_EVENT)), 0);
    EXPECT_EQ(calls, std::vector<std::string> { "cursor nil" });
}

namespace {

class RecordingApp : public qelAppEnvironment {
public:
    using qelAppEnvironment::qelAppEnvironment;
    void registerClasses() override
    {
        calls.push_back("set-up");
        qelAppEnvironment::registerClasses();
    }
    void onStart() override
    {
        calls.push_back("start");
        qelAppEnvironment::onStart();
        activeForm = qelMakeObjectValue(QEL_FORM_TYPE, new RecordingForm);
        qelPostEvent(event(QEL_KEY_DOWN_EVENT, 0, 0, 0, QEL_KEY_F4));
        qelPostEvent(event(QEL_KEY_DOWN_EVENT, 0, 0, QEL_ALT_KEY, QEL_KEY_F4));
    }
    int32_t onQuit() override
    {
        calls.push_back("quit");
        return qelAppEnvironment::onQuit();
    }
    void shutdown() override
    {
        calls.push_back("shut-down");
        qelAppEnvironment::shutdown();
    }
};

} // namespace

TEST_F(Environments, AltF4QuitsAtOnceAndShutDownClosesTheForm)
{
    qelServices().audioVolume = [] { return 70; };
    qelServices().setAudioVolume = [](int32_t volume) { calls.push_back("volume " + std::to_string(volume)); };
    qelServices().destroyMainWindow = [](const qelValue&) { calls.push_back("window destroyed"); };
    RecordingApp application(qelNil);
    application.makeCurrent();
    calls.clear();
    application.run();

    EXPECT_EQ(calls,
        (std::vector<std::string> { "set-up", "cursor wait", "cursor nil", "start", "cursor wait", "key 262144 0",
            "key 262144 4", "quit", "shut-down", "close", "volume 70", "cursor nil", "window destroyed" }));
    EXPECT_EQ(application.settingsChanged, 0);
}

TEST_F(Environments, TheApplicationEnvironmentStoresItsDefaultsAndCursors)
{
    qelServices().cursorFromResource = [](int32_t id) { return qelMakeInt(id); };
    qelAppEnvironment application(qelNil);
    application.makeCurrent();
    EXPECT_EQ(calls, (std::vector<std::string> { "cursor wait", "cursor nil" }));
    EXPECT_TRUE(qelGetSetting("MediaPath") == "Media");
    EXPECT_TRUE(qelGetSetting("PhotoExtension") == "jpg");
    EXPECT_EQ(qelGetBoolSetting("DisableDrawingAttributeCaching", 0), 1);
    EXPECT_EQ(qelGetBoolSetting("TestMode", 1), 0);
    EXPECT_TRUE(qelTableOf(application.globals)->get("HandCursor") == 102);
    EXPECT_TRUE(qelTableOf(application.globals)->get("KeyCursor") == 104);
}

TEST_F(Environments, SetUpPointsResourcePathAtTheInstalledMediaAndCopiesTheGlobals)
{
    fs::path root = fs::temp_directory_path() / ("qel-setup-" + std::to_string(std::random_device {}()));
    fs::create_directories(root / "Media");
    qelSetAppDirectoryFromPath((root / "velarim").string().c_str());

    struct Case {
        const char* fullInstall;
        const char* resourcePath;
    } cases[] = { { nullptr, nullptr }, { "no", nullptr }, { "yes", "\\Media" } };
    for (const Case& c : cases) {
        RecordingApp application(qelNil);
        application.setSetting("SourceDisk", root.string().c_str());
        if (c.fullInstall)
            application.setSetting("FullInstall", c.fullInstall);
        application.makeCurrent();
        application.registerClasses();
        qelValue path = qelGetSetting("ResourcePath");
        if (c.resourcePath)
            EXPECT_EQ(text(path), root.string() + c.resourcePath);
        else
            EXPECT_TRUE(path.isNil()) << text(path);
        // No global.etn: nothing is copied.
        EXPECT_TRUE(qelTableOf(application.globals)->get("FadeTime").isNil());
    }

    // A non-table global.etn is left alone; a table's entries become globals.
    for (bool table : { false, true }) {
        qelValue content = table ? qelTable(4, 100, 75) : qelListOf({ 1, 2 });
        if (table) {
            qelPut(content, "FadeTime", 500);
            qelPut(content, "AliasTeste", "alvo.etn");
        }
        {
            qelValue stream = qelOpenFileStream(
                (root / "Media" / "Global.ETN").string().c_str(), qelFileStream::Writable | qelFileStream::Create, 0);
            qelEncode(stream, content);
        }
        RecordingApp application(qelNil);
        application.setSetting("SourceDisk", root.string().c_str());
        application.makeCurrent();
        application.registerClasses();
        qelTableObject* globals = qelTableOf(application.globals);
        // The two cursors (no control layer registers classes here) and the table's two entries.
        EXPECT_EQ(globals->count, table ? 4 : 2);
        if (table) {
            EXPECT_TRUE(globals->get("FadeTime") == 500);
        }
    }
    EXPECT_TRUE(errors.messages.empty());
    qelSetAppDirectoryFromPath("");
    fs::remove_all(root);
}
