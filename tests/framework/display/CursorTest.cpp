#include "WindowFixture.h"

#include "framework/display/Cursor.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/ProcessId.h"

#include "../runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace platform;

struct CursorFixture : WindowFixture {
    CursorFixture() { qelReleaseCursors(); }
    ~CursorFixture() { qelReleaseCursors(); }
    size_t applied() const { return headless->cursorChanges().size(); }
};

TEST(Cursor, NilShowsTheArrowAndTheSetterAnswersThePreviousCursor)
{
    CursorFixture fixture;
    qelValue wait = qelWaitCursor();
    EXPECT_TRUE(qelSetCursor(wait).isNil());
    EXPECT_EQ(qelCurrentCursorHandle(), IDC_WAIT);
    EXPECT_EQ(qelSetCursor(qelNil), wait);
    EXPECT_EQ(qelCurrentCursorHandle(), IDC_ARROW);
    EXPECT_EQ(fixture.headless->cursorChanges().back().standardId, IDC_ARROW);
    EXPECT_EQ(qelSetCursor(qelIBeamCursor()), qelNil);
}

TEST(Cursor, TheCachingSettingIsReadOnceAndDecidesWhetherAnUnchangedCursorIsApplied)
{
    for (bool caching : { false, true }) {
        CursorFixture fixture;
        fixture.environment.setBoolSetting("DisableDrawingAttributeCaching", caching);
        qelValue arrow = qelArrowCursor();
        size_t before = fixture.applied();
        qelSetCursor(arrow);
        qelSetCursor(arrow);
        EXPECT_EQ(fixture.applied() - before, caching ? 1u : 2u) << caching;
        // Changing the setting later changes nothing.
        fixture.environment.setBoolSetting("DisableDrawingAttributeCaching", !caching);
        qelSetCursor(arrow);
        EXPECT_EQ(fixture.applied() - before, caching ? 1u : 3u) << caching;
        // A different cursor is always applied.
        qelSetCursor(qelWaitCursor());
        EXPECT_EQ(fixture.applied() - before, caching ? 2u : 4u) << caching;
    }
}

TEST(Cursor, TheWindowAppliesTheCurrentCursorWhenAskedForIt)
{
    CursorFixture fixture;
    fixture.send(WM_SETCURSOR, fixture.window->handle, HTCLIENT);
    size_t before = fixture.applied();
    qelSetCursor(qelWaitCursor());
    fixture.send(WM_SETCURSOR, fixture.window->handle, HTCLIENT);
    EXPECT_EQ(fixture.applied() - before, 2u);
    EXPECT_EQ(fixture.headless->cursorChanges().back().standardId, IDC_WAIT);
}

// A 1 x 1 cursor file, 32 bits per pixel, hot spot (0, 0).
std::string tinyCursorFile()
{
    std::string bytes;
    auto u16 = [&](uint16_t v) { bytes += char(v & 0xFF), bytes += char(v >> 8); };
    auto u32 = [&](uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); };
    u16(0), u16(2), u16(1);
    bytes += char(1), bytes += char(1), bytes += char(0), bytes += char(0);
    u16(0), u16(0), u32(40 + 4 + 4), u32(22);
    u32(40), u32(1), u32(2), u16(1), u16(32), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
    u32(0xFF000000), u32(0);
    return bytes;
}

TEST(Cursor, ResourceCursorsComeFromTheProgramFolderAndAreOwned)
{
    CursorFixture fixture;
    std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "cursor-resources";
    std::filesystem::create_directories(folder / "cursors");
    std::ofstream(folder / "cursors" / "102.cur", std::ios::binary) << tinyCursorFile();
    qelSetAppDirectoryFromPath((folder.string() + "/velarim").c_str());

    qelValue hand = qelCursorFromResource(0x10066); // the low 16 bits: 102
    ASSERT_EQ(hand.type(), QEL_CURSOR_TYPE);
    auto* object = hand.objectAs<qelCursorObject>();
    EXPECT_EQ(object->owned, 1);
    uint32_t handle = uint32_t(object->handle.payload());
    qelSetCursor(hand);
    EXPECT_EQ(fixture.headless->cursorChanges().back().width, 1);
    qelSetCursor(qelNil);
    hand = qelNil; // the last reference destroys the platform cursor
    EXPECT_FALSE(fixture.system->destroyCursor(handle));

    ErrorRecorder errors;
    qelValue key = qelCursorFromResource(104);
    EXPECT_EQ(errors.messages, std::vector<std::string> { "Cannot find cursor resource: 104" });
    EXPECT_EQ(key.type(), QEL_CURSOR_TYPE);
    EXPECT_TRUE(key.objectAs<qelCursorObject>()->handle.isNil());
    EXPECT_EQ(key.objectAs<qelCursorObject>()->owned, 0);

    // Standard cursors are never destroyed.
    qelValue arrow = qelArrowCursor();
    EXPECT_EQ(arrow.objectAs<qelCursorObject>()->owned, 0);
    qelSetAppDirectoryFromPath("");
}

TEST(Cursor, TheWindowTakesTheProgramIconBesideTheCursors)
{
    // A folder of this process's own: two test runs at once must not see each other's icon.
    std::filesystem::path folder
        = std::filesystem::path(testing::TempDir()) / ("icon-resources-" + std::to_string(platform::processId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "cursors");
    qelSetAppDirectoryFromPath((folder.string() + "/velarim").c_str());
    {
        WindowFixture without;
        EXPECT_TRUE(without.headless->windowParams().iconArgb.empty()) << "the desktop's own icon";
    }
    std::ofstream(folder / "cursors" / "101.ico", std::ios::binary) << tinyCursorFile();
    {
        WindowFixture with;
        EXPECT_EQ(with.headless->windowParams().iconWidth, 1);
        EXPECT_EQ(with.headless->windowParams().iconArgb.size(), 1u);
    }
    qelSetAppDirectoryFromPath("");
    std::filesystem::remove_all(folder);
}

} // namespace
