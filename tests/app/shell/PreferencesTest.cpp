// PREFS.DAT as the program reads it: only a table of plain values is taken; anything else (a
// damaged, cut or planted file) is set aside whole and the shipped preferences stay. A table read
// back is written again byte for byte.

#include "app/shell/PlainDecoder.h"
#include "app/shell/Preferences.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Folders.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes key(const std::string& text)
{
    Bytes out { 0x22, uint8_t(text.size()) };
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

// The shipped table as the program first writes it: room for 8, 8 pairs in slot order.
const Bytes shipped = Bytes { 0x09, 8, 0, 0, 0, 8, 0, 0, 0 } + key("ShowIntro") + Bytes { 0x1E } + key("Volume")
    + Bytes { 0x20, 75 } + key("PlayNarrator") + Bytes { 0x1E } + key("FullScreenVideo") + Bytes { 0x1F }
    + key("ShowFullScreen") + Bytes { 0x1F } + key("SoundEffects") + Bytes { 0x1E } + key("MaximizeWindow")
    + Bytes { 0x1F } + key("RolloverHelp") + Bytes { 0x1E };

Bytes encoded(const qelValue& value)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    EXPECT_TRUE(qelEncode(stream, value));
    auto* memory = static_cast<qelMemoryStream*>(qelStreamOf(stream));
    return Bytes(memory->data(), memory->data() + memory->tell());
}

qelValue decoded(const Bytes& bytes, std::string& error)
{
    return decodePlainValue(bytes.data(), bytes.size(), error);
}

} // namespace

TEST(PlainDecoder, ATableReadBackIsWrittenAsItWasRead)
{
    UiFixture ui;
    std::string error;
    qelValue prefs = decoded(shipped, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(encoded(prefs), shipped);
    // Every plain type, nested: lists of both kinds, floats, strings long and short, ints of each
    // width, nil.
    qelValue mixed = UiFixture::read("(table (\"a\" (list 1 300 -70000 2.5 \"x\" nil (table (\"b\" false)))) (7 \"sete\"))");
    Bytes bytes = encoded(mixed);
    EXPECT_EQ(encoded(decoded(bytes, error)), bytes);
    EXPECT_EQ(error, "");
    Bytes ints = { 0x08, 2, 0, 0, 0, 3, 5, 0, 0, 0, 0x2C, 1, 0, 0 };
    EXPECT_EQ(encoded(decoded(ints, error)), ints);
}

TEST(PlainDecoder, AnythingButPlainDataIsRefusedBeforeItIsMade)
{
    UiFixture ui;
    auto tableOf = [](const Bytes& value) { return Bytes { 0x09, 4, 0, 0, 0, 1, 0, 0, 0 } + key("k") + value; };
    Bytes deep;
    for (int i = 0; i < 40; ++i)
        deep = deep + Bytes { 0x23, 1 };
    deep = deep + Bytes { 0 };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        { "empty", {} },
        { "cut short", Bytes(shipped.begin(), shipped.begin() + 30) },
        { "bytes after the table", shipped + Bytes { 0 } },
        { "a form", tableOf({ 0x17, 0x09, 1, 0, 0, 0, 0, 0, 0, 0 }) },
        { "a control", tableOf({ 0x16, 0x09, 1, 0, 0, 0, 0, 0, 0, 0 }) },
        { "a reference", tableOf({ 0x1A, 0x22, 1, 'x' }) },
        { "an image", tableOf({ 0x12, 0x22, 1, 'x', 0 }) },
        { "a date", tableOf({ 0x1D, 0, 0, 0, 0, 0, 0, 0, 0 }) },
        { "a buffer", tableOf({ 0x07, 1, 0, 0, 0, 'x' }) },
        { "two thousand million pairs", Bytes { 0x09, 8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F } + key("k") + Bytes { 0 } },
        { "a billion slots", Bytes { 0x09, 0, 0xCA, 0x9A, 0x3B, 0, 0, 0, 0 } },
        { "a string longer than the file", tableOf({ 0x06, 0xFF, 0xFF, 0xFF, 0x0F, 'x' }) },
        { "a negative string length", tableOf({ 0x06, 0xFF, 0xFF, 0xFF, 0xFF }) },
        { "an int list longer than the file", tableOf({ 0x08, 0xFF, 0xFF, 0xFF, 0x0F, 3 }) },
        { "a list of another kind", tableOf({ 0x08, 0, 0, 0, 0, 7 }) },
        { "a list for a key", Bytes { 0x09, 4, 0, 0, 0, 1, 0, 0, 0, 0x23, 0, 0 } },
        { "nested forty deep", tableOf(deep) },
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_TRUE(decoded(c.bytes, error).isNil()) << c.what;
        EXPECT_NE(error, "") << c.what;
    }
}

namespace {

// The program's globals with the shipped preferences, and a user folder of its own.
struct PreferencesFixture {
    PreferencesFixture()
        : user(fs::temp_directory_path() / ("velarim-prefs-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.c_str(), 1);
        std::string error;
        qelValue table = qelTable(4, 100, 75);
        qelPut(table, qelValue("Preferences"), decoded(shipped, error));
        ui.environment->setGlobal(qelValue("GlobalTable"), table);
    }
    ~PreferencesFixture()
    {
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }
    void write(const Bytes& bytes)
    {
        std::ofstream(user / "PREFS.DAT", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    Bytes read(const char* name)
    {
        std::ifstream in(user / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    qelValue stored() { return qelGet(qelLoadResource("GlobalTable"), qelValue("Preferences")); }

    UiFixture ui;
    fs::path user;
};

} // namespace

TEST(Preferences, ADamagedFileIsSetAsideAndTheShippedTableStays)
{
    PreferencesFixture f;
    Bytes planted = Bytes { 0x09, 4, 0, 0, 0, 1, 0, 0, 0 } + key("ShowIntro") + Bytes { 0x17, 0x09, 1, 0, 0, 0, 0, 0, 0, 0 };
    f.write(planted);
    qelSetPreference("ShowIntro", qelFalse);
    loadPreferences();
    EXPECT_EQ(f.read("PREFS.BAD"), planted);
    EXPECT_FALSE(fs::exists(f.user / "PREFS.DAT"));
    // Nothing applied; the table kept is the shipped one, its volume 75.
    EXPECT_FALSE(qelGetBoolSetting("ShowIntro", 1));
    EXPECT_EQ(qelIntValue(qelGet(f.stored(), qelValue("Volume"))), 75);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(Preferences, AnEmptyFileIsLeftAloneAndAStoredTableIsApplied)
{
    {
        PreferencesFixture f;
        f.write({});
        loadPreferences();
        EXPECT_TRUE(fs::exists(f.user / "PREFS.DAT"));
        EXPECT_FALSE(fs::exists(f.user / "PREFS.BAD"));
    }
    // A stored table without "PlayNarrator": the switches it holds are applied, the one it lacks
    // keeps its setting.
    PreferencesFixture f;
    f.write(Bytes { 0x09, 4, 0, 0, 0, 2, 0, 0, 0 } + key("ShowIntro") + Bytes { 0x1F } + key("SoundEffects") + Bytes { 0x1F });
    qelSetPreference("ShowIntro", qelTrue);
    qelSetPreference("PlayNarrator", qelTrue);
    loadPreferences();
    EXPECT_FALSE(qelGetBoolSetting("ShowIntro", 1));
    EXPECT_FALSE(qelGetBoolSetting("SoundEffects", 1));
    EXPECT_TRUE(qelGetBoolSetting("PlayNarrator", 0));
    EXPECT_EQ(qelCount(f.stored()), 2);
}
