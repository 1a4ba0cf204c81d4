#include "Harness.h"
#include "platform/window/CursorFile.h"

#include <filesystem>
#include <fstream>

using namespace platform;
using namespace platform::testing;

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A cursor file of one w x h image at `bits` per pixel with the given rows (top-down).
std::vector<uint8_t> cursorFile(int w, int h, int bits, const std::vector<uint32_t>& palette,
    const std::vector<std::vector<uint8_t>>& colorRows, const std::vector<std::vector<uint8_t>>& maskRows, int hotX,
    int hotY)
{
    std::vector<uint8_t> image;
    put32(image, 40);
    put32(image, uint32_t(w));
    put32(image, uint32_t(h * 2));
    put16(image, 1);
    put16(image, uint32_t(bits));
    for (int i = 0; i < 6; ++i)
        put32(image, 0);
    for (uint32_t c : palette)
        put32(image, c);
    for (int y = h - 1; y >= 0; --y)
        image.insert(image.end(), colorRows[size_t(y)].begin(), colorRows[size_t(y)].end());
    for (int y = h - 1; y >= 0; --y)
        image.insert(image.end(), maskRows[size_t(y)].begin(), maskRows[size_t(y)].end());
    std::vector<uint8_t> file;
    put16(file, 0);
    put16(file, 2);
    put16(file, 1);
    file.push_back(uint8_t(w));
    file.push_back(uint8_t(h));
    file.push_back(0);
    file.push_back(0);
    put16(file, uint32_t(hotX));
    put16(file, uint32_t(hotY));
    put32(file, uint32_t(image.size()));
    put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// 2 x 2, 1 bit: row 0 = colours 1, 0; row 1 = 0, 1; the mask makes (1, 1) transparent.
std::vector<uint8_t> smallCursor()
{
    return cursorFile(2, 2, 1, { 0x00FF0000, 0x000000FF }, { { 0x80, 0, 0, 0 }, { 0x40, 0, 0, 0 } },
        { { 0x00, 0, 0, 0 }, { 0x40, 0, 0, 0 } }, 1, 0);
}

} // namespace

TEST(CursorFile, DecodesPaletteAndAlphaImages)
{
    auto small = decodeCursorFile(smallCursor());
    ASSERT_TRUE(small);
    EXPECT_EQ(small->hotX, 1);
    EXPECT_EQ(small->hotY, 0);
    EXPECT_EQ(small->argb, (std::vector<uint32_t> { 0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0x00000000 }));

    // 32 bits with alpha: the alpha is used, the mask ignored.
    std::vector<uint8_t> row { 0x10, 0x20, 0x30, 0x80 };
    auto alpha = decodeCursorFile(cursorFile(1, 1, 32, {}, { row }, { { 0x80, 0, 0, 0 } }, 0, 0));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->argb, (std::vector<uint32_t> { 0x80302010 }));
}

TEST(CursorFile, RefusesMalformedFiles)
{
    auto good = smallCursor();
    auto with = [&](size_t at, uint8_t value) {
        auto b = good;
        b[at] = value;
        return b;
    };
    std::vector<std::vector<uint8_t>> bad = {
        {}, std::vector<uint8_t>(good.begin(), good.begin() + 21), // no whole directory entry
        std::vector<uint8_t>(good.begin(), good.end() - 1), // masks cut short
        with(2, 3), // not a cursor or icon
        with(4, 0), // no images
        with(6 + 12, 200), // image offset past the end
        with(6 + 11, 0x80), // image size past the end
        with(22 + 4, 0), // width 0
        with(22 + 8, 3), // odd double height
        with(22 + 14, 2), // 2 bits per pixel
        with(22 + 16, 1), // compressed
        with(22 + 32, 3), // palette larger than 1 bit can index
        with(22 + 0, 0xFF), // header larger than the image
    };
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(decodeCursorFile(bad[i])) << i;
    EXPECT_FALSE(readCursorFile("/nonexistent/hand.cur"));
}

TEST(Services, CursorsAreHandlesAndSettingRecordsThem)
{
    auto path = std::filesystem::temp_directory_path()
        / ("cursor-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".cur");
    {
        auto bytes = smallCursor();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    Harness h;
    WindowSystem& s = h.system;
    EXPECT_EQ(s.standardCursor(IDC_IBEAM), IDC_IBEAM);
    EXPECT_EQ(s.standardCursor(12345), 0u);
    uint32_t hand = s.loadCursorFile(path.string());
    ASSERT_NE(hand, 0u);
    EXPECT_EQ(s.loadCursorFile("/nonexistent.cur"), 0u);
    EXPECT_EQ(s.setCursor(hand), IDC_ARROW);
    EXPECT_EQ(s.setCursor(IDC_WAIT), hand);
    EXPECT_EQ(s.setCursor(0), IDC_WAIT); // unknown: nothing changes
    EXPECT_EQ(s.cursor(), IDC_WAIT);
    s.setCursor(hand);
    EXPECT_FALSE(s.destroyCursor(IDC_ARROW));
    EXPECT_TRUE(s.destroyCursor(hand)); // the current one: the arrow takes over
    EXPECT_EQ(s.cursor(), IDC_ARROW);
    EXPECT_FALSE(s.destroyCursor(hand));
    const auto& log = h.headless->cursorChanges();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].standardId, 0u);
    EXPECT_EQ(log[0].hotX, 1);
    EXPECT_EQ(log[1].standardId, IDC_WAIT);
    EXPECT_EQ(log[3].standardId, IDC_ARROW);
    std::filesystem::remove(path);
}

TEST(Services, ClipboardBeepAndBoxesThatCannotBeShown)
{
    // A back end whose boxes fail (no display) answers as a closed box would.
    struct NoBoxes : HeadlessBackend {
        int messageBox(const std::string&, const std::string&, uint32_t) override { return -1; }
    };
    Harness h(std::make_unique<NoBoxes>());
    EXPECT_EQ(h.system.messageBox("t", "c", MB_OK | MB_ICONHAND), IDOK);
    EXPECT_EQ(h.system.messageBox("t", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(h.system.messageBox("t", "c", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(h.system.messageBox("t", "c", MB_YESNO), IDNO);
    EXPECT_EQ(h.system.messageBox("t", "c", 0x0F), IDOK); // an unknown button set is an OK box

    EXPECT_FALSE(h.system.clipboardText());
    EXPECT_TRUE(h.system.setClipboardText("Bras\xEDlia"));
    EXPECT_EQ(h.system.clipboardText(), "Bras\xEDlia");
    EXPECT_EQ(h.headless->clipboardWrites(), (std::vector<std::string> { "Bras\xEDlia" }));
    h.system.beep(MB_ICONHAND);
    EXPECT_EQ(h.headless->beeps(), (std::vector<uint32_t> { MB_ICONHAND }));
}
