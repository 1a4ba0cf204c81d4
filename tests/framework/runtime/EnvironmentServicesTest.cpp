// The environment's services that reach the window system and the file system: text through the
// clipboard, the confirm box when it is cancelled or closed, and changing the current folder.

#include "HeadlessFixture.h"

#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/StringObject.h"
#include "platform/window/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

TEST(EnvironmentServices, ClipboardTextRoundTripsUpToItsFirstNul)
{
    HeadlessFixture fixture;
    EXPECT_TRUE(qelPasteTextFromClipboard().isNil());
    qelCopyTextToClipboard("Concei\xE7\xE3o");
    EXPECT_TRUE(qelPasteTextFromClipboard() == "Concei\xE7\xE3o");
    // A value that is not a string leaves the clipboard as it was.
    qelCopyTextToClipboard(qelMakeInt(5));
    EXPECT_TRUE(qelPasteTextFromClipboard() == "Concei\xE7\xE3o");
    fixture.system->setClipboardText(std::string("Bel\xE9m\0resto", 10));
    EXPECT_TRUE(qelPasteTextFromClipboard() == "Bel\xE9m");
}

TEST(EnvironmentServices, ConfirmBoxCancelledOrClosedAnswersZero)
{
    {
        HeadlessFixture fixture(1000, "answer 1\nanswer 2\nwait 86400000\n");
        EXPECT_EQ(qelConfirmBox("Continuar?"), 1);
        EXPECT_EQ(qelConfirmBox("Continuar?"), 0);
    }
    // A box that cannot be shown, or that the user closes, answers as Cancel.
    struct ClosedBoxes : ClockBackend {
        using ClockBackend::ClockBackend;
        int messageBox(const std::string&, const std::string&, uint32_t) override { return -1; }
    };
    platform::HeadlessBackend::Options options;
    options.exitWhenStuck = false;
    platform::WindowSystem system(std::make_unique<ClosedBoxes>(1000, options));
    qelSetWindowSystem(&system);
    EXPECT_EQ(qelConfirmBox("Continuar?"), 0);
    qelSetWindowSystem(nullptr);
}

TEST(EnvironmentServices, ChangeDirectoryFindsTheFolderInAnyCaseAndAnswersThePreviousOne)
{
    fs::path root = fs::temp_directory_path() / ("qel-chdir-" + std::to_string(std::random_device {}()));
    fs::create_directories(root / "Media" / "Atlas");
    fs::path start = fs::current_path();
    fs::current_path(root);

    qelValue previous = qelChangeDirectory("MEDIA\\atlas");
    EXPECT_TRUE(previous == root.string().c_str());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root / "Media" / "Atlas"));
    EXPECT_TRUE(qelChangeDirectory("nao-existe").isNil());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), root / "Media" / "Atlas"));

    fs::current_path(start);
    fs::remove_all(root);
}
