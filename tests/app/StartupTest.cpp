#include "app/Startup.h"
#include "platform/window/Backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<const char*> args, velarimOptions& options)
{
    args.insert(args.begin(), "velarim");
    return velarimParseOptions(int(args.size()), const_cast<char**>(args.data()), options);
}

TEST(Startup, OptionsAreTakenAnywhereAndTheOtherWordsFormTheCommandLine)
{
    velarimOptions options;
    ASSERT_TRUE(parse({ "--headless", "x", "--disk", "/tmp/disk", "", "--screens", "shots", "Agenda" }, options));
    EXPECT_TRUE(options.headless);
    EXPECT_FALSE(options.help);
    EXPECT_EQ(options.disk, "/tmp/disk");
    EXPECT_EQ(options.screens, "shots");
    EXPECT_EQ(options.words, (std::vector<std::string> { "x", "", "Agenda" }));

    velarimOptions plain;
    ASSERT_TRUE(parse({ "--help" }, plain));
    EXPECT_TRUE(plain.help);
    EXPECT_FALSE(plain.headless);
    EXPECT_EQ(plain.screens, ".");
    EXPECT_TRUE(plain.words.empty());
}

TEST(Startup, WrongOptionsAndAnUnreadableScriptAreRefused)
{
    for (std::vector<const char*> args : { std::vector<const char*> { "--headless", "--script" },
             std::vector<const char*> { "--script", "x.txt" }, std::vector<const char*> { "--disk" } }) {
        velarimOptions options;
        EXPECT_FALSE(parse(args, options)) << args.size();
    }
    velarimOptions options;
    ASSERT_TRUE(parse({ "--headless", "--script", "/nonexistent/script.txt" }, options));
    EXPECT_EQ(velarimMakeBackend(options), nullptr);
    // Without a script the headless back end always starts.
    velarimOptions headless;
    headless.headless = true;
    headless.screens = testing::TempDir();
    EXPECT_NE(velarimMakeBackend(headless), nullptr);
}

} // namespace
