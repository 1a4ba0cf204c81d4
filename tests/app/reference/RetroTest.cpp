// The review of the year: the article lists the chooser shows (a small set written here for the
// heading rules, then the almanac's disk), the home screen's sections and the table it runs the
// chooser with, the switch to the second set, and the review page filled from the disk's
// articles: its labels, background, region buttons, header, pictures, the scroll to the chosen
// article, and a fill that fails leaving the page as it was.

#include "app/reference/RetroForm.h"
#include "app/reference/RetroHF.h"
#include "app/reference/ReviewLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/Registrations.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Value.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/History.h"
#include "framework/ui/MediaDialogObject.h"
#include "framework/ui/Perform.h"
#include "platform/sys/Folders.h"
#include "platform/text/FreeTypeFontProvider.h"
#include "tests/app/StandIns.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using StandInDialog = qel::test::CopyingStandInDialog;

namespace fs = std::filesystem;

std::vector<std::string> rows(const qelValue& list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out.push_back(qelCString(qelGet(list, i)));
    return out;
}

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : qelCString(qelPrintValue(value, 1));
}

// A temporary folder, removed at the end.
struct TempFolder {
    TempFolder()
        : path(fs::temp_directory_path() / ("velarim-retro-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    fs::path path;
};

// A copy of the almanac's disk in a temporary folder: its media files linked, except those left
// out or written anew by the test.
struct DiskCopy {
    explicit DiskCopy(const std::vector<std::string>& leftOut)
    {
        fs::path source = fs::path(QEL_BUILD_DIR) / "disk" / "Media";
        fs::create_directories(media());
        for (const fs::directory_entry& file : fs::directory_iterator(source)) {
            std::string name = file.path().filename().string();
            if (std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end())
                fs::create_symlink(file.path(), media() / name);
        }
    }
    fs::path media() const { return folder.path / "Media"; }
    TempFolder folder;
};

// ---- The heading rules, on a set written here ----------------------------------------------

struct Article {
    int32_t category, region, month;
    const char* title;
};

// Writes the "Retro" set: the articles as records 0.., and the category list.
void writeSet(const fs::path& media, const std::vector<Article>& articles, const char* sections)
{
    qelValue data = qelCreateArchive(qelValue((media / "Retro.DAT").string().c_str()), 0);
    for (size_t n = 0; n < articles.size(); ++n) {
        const Article& a = articles[n];
        qelValue record = qelMakeList(8, 100, QEL_GENERAL_LIST);
        for (qelValue element : { qelMakeInt(int32_t(n)), qelMakeInt(a.category), qelMakeInt(a.region),
                 qelMakeInt(a.month), qelValue(a.title), qelValue("{\\b h}"), qelValue("corpo"), qelNil })
            qelAddItem(record, element);
        qelArchiveOf(data)->add(record);
    }
    qelArchiveOf(data)->flush();
    qelValue lists = qelCreateArchive(qelValue((media / "RTCatLst.DTT").string().c_str()), 0);
    qelArchiveOf(lists)->add(UiFixture::read(sections));
    qelArchiveOf(lists)->flush();
}

TEST(ReviewCategoryList, HeadingsFollowEveryChangeOfGroupAndOnlyTheRegionAsked)
{
    UiFixture ui;
    TempFolder disk;
    fs::create_directories(disk.path / "Media");
    ui.environment->setSetting("SourceDisk", disk.path.string().c_str());
    ui.environment->setSetting("MediaPath", "Media");
    // Category 6 lists months 1, 1, 2, 1 (one of the "Mundo" region in between); month 3 (key
    // 13) lists categories 2, 2, 8; key 7 lists a record number the archive does not hold.
    writeSet(disk.path / "Media",
        { { 6, 1, 1, "A" }, { 6, 1, 1, "B" }, { 6, 2, 2, "Fora" }, { 6, 1, 2, "C" }, { 6, 1, 1, "D" },
            { 2, 1, 3, "E" }, { 2, 1, 3, "F" }, { 8, 1, 3, "G" } },
        "(table (6 (intlist 0 1 2 3 4)) (13 (intlist 5 6 7)) (7 (intlist 99 7)))");

    struct Case {
        int32_t key, region;
        std::vector<std::string> expected;
    } cases[] = {
        { 6, 1, { "Janeiro", "->A", "->B", "Fevereiro", "->C", "Janeiro", "->D" } },
        { 6, 2, { "Fevereiro", "->Fora" } },
        { 13, 1, { "Ci\xEAncias", "->E", "->F", "Pol\xEDtica", "->G" } },
        { 13, 2, {} },
        // A number past the archive is passed over; the record it does hold is listed.
        { 7, 1, { "Mar\xE7o", "->G" } },
    };
    for (const Case& c : cases) {
        qelValue list = reviewCategoryList(c.key, c.region, false);
        ASSERT_TRUE(qelListObjectOf(list)) << c.key;
        EXPECT_EQ(rows(list), c.expected) << "section " << c.key << ", region " << c.region;
    }
    EXPECT_TRUE(reviewCategoryList(1, 1, false).isNil()) << "a section the category list does not hold";
    EXPECT_TRUE(reviewCategoryList(6, 1, true).isNil()) << "the other set is not on this disk";
    EXPECT_TRUE(recordedErrors().empty());
}

// ---- The almanac's disk ----------------------------------------------------------------------

class ReviewOnTheDisk : public testing::Test {
protected:
    void SetUp() override
    {
        setenv(platform::userFolderVariable().c_str(), user.path.string().c_str(), 1);
        ui.environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        qelInstallTextMapMaker();
        qelUseResourcePictures();
        qelInstallTextView();
        // The environment took its control classes when it was made: the text view comes after.
        ui.environment->registerClass(qelMakeControlPrototype("TextView"));
        ui.environment->registerClass(new RetrospectivaHF);
        ui.environment->registerClass(new RetroForm);
        velarimRegister(0, velarimRegistrations.size());
        ui.environment->setGlobal(qelValue("DisabledMenuItemsTable"), qelTable(4, 100, 75));
        chooser = new StandInDialog;
        ui.environment->setGlobal(qelValue("RetroDlg"), qelFormValue(chooser));
        // The media index, through which the page finds the pictures its articles name.
        ASSERT_EQ(DBLists::instance().open(), 1);
    }
    void TearDown() override
    {
        DBLists::instance().release();
        unsetenv(platform::userFolderVariable().c_str());
        EXPECT_TRUE(recordedErrors().empty()) << (recordedErrors().empty() ? "" : recordedErrors().front());
    }

    template<typename Form> Form* current()
    {
        return dynamic_cast<Form*>(qelFormOf(ui.environment->activeForm));
    }

    static qelValue control(qelFormObject* form, const char* name)
    {
        return qelResolve(form->getProperty(name));
    }

    static bool disabled(qelFormObject* form, const char* name)
    {
        return qelIsTrue(qelGet(control(form, name), "Disabled"));
    }

    static qelValue pageData(const char* title, bool month)
    {
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, qelValue("Text"), qelValue(title));
        qelPut(data, qelValue("Mes"), month ? qelTrue : qelFalse);
        return data;
    }

    RetroForm* openPage(const char* title, bool month)
    {
        qelHistoryGoTo("RetroForm", pageData(title, month));
        return current<RetroForm>();
    }

    // The pixels of a strip of the screen, for comparing what two drawings left there.
    std::vector<uint32_t> strip(int x, int y, int w, int h)
    {
        std::vector<uint32_t> pixels;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                pixels.push_back(ui.pixel(i, j));
        return pixels;
    }

    TempFolder user;
    UiFixture ui;
    StandInDialog* chooser = nullptr;
};

// Titles of the disk (content/almanac/data/retro.tbl), cp1252.
const char* const guga = "Guga \xE9 campe\xE3o em Roland Garros";
const char* const copaAmerica = "Brasil vence a Copa Am\xE9rica";

TEST_F(ReviewOnTheDisk, TheListsOfACategoryAndOfAMonth)
{
    struct Case {
        int32_t key, region;
        std::vector<std::string> expected;
    } cases[] = {
        // "Esportes" in Brazil: its months as headings, by date.
        { 6, 1,
            { "Junho", std::string("->") + guga, std::string("->") + copaAmerica, "Dezembro",
                "->Brasil \xE9 campe\xE3o das Confedera\xE7\xF5" "es" } },
        // August in the world: its categories as headings.
        { 18, 2,
            { "Acidentes", "->Avi\xE3o da Korean Air cai em Guam", "->Diana morre em acidente em Paris" } },
        // "Educação" holds no article of the world.
        { 5, 2, {} },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rows(reviewCategoryList(c.key, c.region, false)), c.expected) << "section " << c.key;
    }
}

TEST_F(ReviewOnTheDisk, TheHomeSwitchesToThe98SetAndKeepsItInItsHistoryEntry)
{
    qelHistoryGoTo("RetrospectivaHF", qelNil);
    RetrospectivaHF* home = current<RetrospectivaHF>();
    ASSERT_NE(home, nullptr);
    for (int32_t n = 1; n <= 10; ++n)
        EXPECT_FALSE(disabled(home, qelCString(reviewCategoryName(n)))) << n;
    for (int32_t m = 1; m <= 12; ++m)
        EXPECT_FALSE(disabled(home, qelCString(reviewMonthName(m)))) << m;
    EXPECT_FALSE(disabled(home, "Retro98")) << "the disk has the 1998 set";
    EXPECT_EQ(text(home->getProperty("Background Image")), "rthome.bmp");
    qelValue entry = home->historyText();
    EXPECT_EQ(text(qelGet(entry, "History Text")), "Tela inicial da Retrospectiva");
    EXPECT_FALSE(qelIsTrue(qelGet(entry, "Retro98")));

    home->handleControl(control(home, "Retro98"));
    home = current<RetrospectivaHF>();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->reviewSet(), 1);
    EXPECT_EQ(text(home->getProperty("Background Image")), "rthome98.bmp");
    EXPECT_TRUE(disabled(home, "Retro98")) << "the set shown";
    // content/almanac/data/retro98.tbl has no article of these sections.
    for (const char* absent : { "Educa\xE7\xE3o", "Sa\xFA" "de", "Janeiro", "Fevereiro", "Junho" })
        EXPECT_TRUE(disabled(home, absent)) << absent;
    for (const char* present : { "Acidentes", "Esportes", "Viol\xEAncia", "Mar\xE7o", "Julho", "Dezembro" })
        EXPECT_FALSE(disabled(home, present)) << present;
    entry = home->historyText();
    EXPECT_TRUE(qelIsTrue(qelGet(entry, "Retro98")));

    // The 1998 set's lists, and its article opens the page in that set.
    EXPECT_EQ(rows(reviewCategoryList(20, 2, true)),
        (std::vector<std::string> { "Ci\xEAncias", "->John Glenn volta ao espa\xE7o", "Cultura",
            "->Jos\xE9 Saramago ganha o Nobel" }));
    qelValue answer = qelTable(4, 100, 75);
    qelPut(answer, qelValue("Text"), qelValue("->Jos\xE9 Saramago ganha o Nobel"));
    qelPut(answer, qelValue("Index"), qelMakeInt(3));
    chooser->answer = answer;
    home->handleControl(control(home, "Outubro"));
    EXPECT_TRUE(qelIsTrue(qelGet(chooser->received, "Retro98")));
    RetroForm* page = current<RetroForm>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->reviewSet(), 1);
    EXPECT_EQ(text(page->m_currentSubcategory), "Cultura");
    EXPECT_EQ(text(qelGet(page->currentArticle(), review::titleElement)), "Jos\xE9 Saramago ganha o Nobel");
    EXPECT_TRUE(qelIsTrue(qelGet(page->m_categoryMenus, "Retro98"))) << "the pop-ups' choices carry the set";

    // Going back to the home's entry shows the 1998 set again.
    home->loadSections(entry);
    EXPECT_EQ(home->reviewSet(), 1);
    EXPECT_EQ(text(home->getProperty("Background Image")), "rthome98.bmp");
}

TEST_F(ReviewOnTheDisk, WithoutThe98SetItsButtonIsOffAndItsHistoryEntryShowsTheRetroSet)
{
    DiskCopy disk({ "RTCLst98.DTT" });
    ui.environment->setSetting("SourceDisk", disk.folder.path.string().c_str());
    qelHistoryGoTo("RetrospectivaHF", qelNil);
    RetrospectivaHF* home = current<RetrospectivaHF>();
    ASSERT_NE(home, nullptr);
    EXPECT_TRUE(disabled(home, "Retro98"));

    qelValue back98 = qelTable(2, 100, 75);
    qelPut(back98, qelValue("Retro98"), qelTrue);
    home->loadSections(back98);
    EXPECT_EQ(home->reviewSet(), 0);
    EXPECT_EQ(text(home->getProperty("Background Image")), "rthome.bmp");
    for (int32_t m = 1; m <= 12; ++m)
        EXPECT_FALSE(disabled(home, qelCString(reviewMonthName(m)))) << m;
}

TEST_F(ReviewOnTheDisk, ASectionClickRunsTheChooserAndItsArticleOpensThePage)
{
    EXPECT_EQ(text(RetrospectivaHF::extraPictureKey(qelValue("Mar\xE7o"))), "MarVLSB");
    EXPECT_EQ(text(RetrospectivaHF::extraPictureKey(qelValue("Ci\xEAncias"))), "CieVLSB");

    qelHistoryGoTo("RetrospectivaHF", qelNil);
    RetrospectivaHF* home = current<RetrospectivaHF>();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->firstClickPending(), 1);

    // A heading chosen opens nothing.
    chooser->answer = UiFixture::read("(table (\"Text\" \"Junho\") (\"Index\" 0))");
    home->handleControl(control(home, "Junho"));
    EXPECT_EQ(chooser->runs, 1);
    EXPECT_EQ(qelIntValue(qelGet(chooser->received, "SCatID")), 16);
    EXPECT_FALSE(qelIsTrue(qelGet(chooser->received, "Retro98")));
    EXPECT_EQ(home->firstClickPending(), 0) << "the section picture is drawn once";
    EXPECT_EQ(current<RetrospectivaHF>(), home);

    qelValue answer = qelTable(4, 100, 75);
    qelPut(answer, qelValue("Text"), "->" + qelValue(guga));
    qelPut(answer, qelValue("Index"), qelMakeInt(1));
    chooser->answer = answer;
    home->handleControl(control(home, "Junho"));
    RetroForm* page = current<RetroForm>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(qelIsTrue(qelGet(page->currentData(), "Mes"))) << "reached through a month";
    EXPECT_EQ(text(page->m_currentSubcategory), "Esportes");
}

TEST_F(ReviewOnTheDisk, ACategoryPageAndAMonthPageOfOneArticle)
{
    // Blanks after the arrow are trimmed before the title is looked up.
    std::string spaced = std::string("->  ") + guga + "  ";
    RetroForm* page = openPage(spaced.c_str(), false);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(text(page->m_currentCategory), "Esportes");
    EXPECT_EQ(text(page->m_currentSubcategory), "Junho");
    EXPECT_EQ(page->m_categoryId, 6);
    EXPECT_EQ(text(page->m_categoryKey), "Categoria");
    EXPECT_EQ(text(page->getProperty("Background Image")), "rtcat06.bmp");
    EXPECT_EQ(text(qelGet(control(page, "SCategName"), "Text")), "Junho");
    EXPECT_EQ(qelGet(control(page, "SCategName"), "Foreground Color"), page->getProperty("Cat6 TxColor"));
    EXPECT_TRUE(disabled(page, "Brasil")) << "the region shown";
    EXPECT_FALSE(disabled(page, "Mundo"));
    EXPECT_EQ(text(qelGet(page->historyText(), "History Text")), std::string("Retrospeciva: ") + guga);
    // The menu bar's pop-up is the categories'; its choices carry the set.
    EXPECT_TRUE(qelContainsKey(page->m_categoryMenus, qelValue("CascadeTable")));
    EXPECT_FALSE(qelIsTrue(qelGet(page->m_categoryMenus, "Retro98")));
    std::vector<uint32_t> categoryHeader = strip(0, 24, 400, 36);

    page = openPage(spaced.c_str(), true);
    EXPECT_EQ(text(page->m_currentCategory), "Junho");
    EXPECT_EQ(text(page->m_currentSubcategory), "Esportes");
    EXPECT_EQ(page->m_categoryId, 16);
    EXPECT_EQ(text(page->m_categoryKey), "M\xEAs");
    EXPECT_EQ(text(page->getProperty("Background Image")), "rtmeses.bmp");
    EXPECT_EQ(text(qelGet(control(page, "SCategName"), "Text")), "Esportes");
    std::vector<uint32_t> juneHeader = strip(0, 24, 400, 36);
    EXPECT_NE(juneHeader, categoryHeader);

    // Every month shares the page's background: the header drawn over it tells them apart.
    page = openPage("->Morre Betinho", true);
    EXPECT_EQ(page->m_categoryId, 18);
    EXPECT_NE(strip(0, 24, 400, 36), juneHeader) << "August's header is not June's";
}

TEST_F(ReviewOnTheDisk, ThePageScrollsToTheChosenArticleAndKeepsItselfOnAnUnknownTitle)
{
    // The disk's faces at their sizes: the group's second article lies below the view's height.
    qelSetFontProvider(std::make_shared<platform::text::FreeTypeFontProvider>());
    RetroForm* page = openPage((std::string("->") + guga).c_str(), false);
    ASSERT_NE(page, nullptr);
    qelValue texto = control(page, "Texto");
    // The marker stands after the article's heading: the view starts at its body.
    int32_t first = qelIntValue(qelPerform(texto, "GetValue", qelNil));
    EXPECT_LT(first, 5) << "the first article is at the top";

    page = openPage((std::string("->") + copaAmerica).c_str(), false);
    EXPECT_GT(qelIntValue(qelPerform(texto, "GetValue", qelNil)), first) << "the second article is scrolled to";
    EXPECT_EQ(text(qelGet(page->currentArticle(), review::titleElement)), copaAmerica);

    // A title the index does not know leaves the page as it was.
    EXPECT_FALSE(page->fill(pageData("->Nenhum artigo", true)));
    EXPECT_EQ(text(qelGet(page->currentArticle(), review::titleElement)), copaAmerica);
    EXPECT_EQ(text(page->m_categoryKey), "Categoria");
}

// The pictures the text view placed on its pages.
int32_t placedPictures(const qelValue& texto)
{
    TextView* view = dynamic_cast<TextView*>(qelControlOf(texto));
    if (!view || !qelListObjectOf(view->bitmaps))
        return 0;
    int32_t count = 0;
    for (int32_t i = 0; i < qelCount(view->bitmaps); ++i)
        count += qelGet(qelGet(view->bitmaps, i), 1).type() == QEL_IMAGE_TYPE ? 1 : 0;
    return count;
}

TEST_F(ReviewOnTheDisk, ThePageShowsThePicturesItsArticlesName)
{
    // Guga's article names the clay court (rtsaibro.bmp); the other June sports article none.
    RetroForm* page = openPage((std::string("->") + guga).c_str(), false);
    ASSERT_NE(page, nullptr);
    qelValue texto = control(page, "Texto");
    TextView* view = dynamic_cast<TextView*>(qelControlOf(texto));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(qelContainsKey(view->imageList, qelValue("rtsaibro.bmp")));
    EXPECT_EQ(placedPictures(texto), 1);

    // A page whose articles name no picture keeps none of the page before.
    page = openPage("->Morre Betinho", false);
    EXPECT_TRUE(view->imageList.isNil());
    EXPECT_EQ(placedPictures(texto), 0);
}

TEST_F(ReviewOnTheDisk, AFillThatFailsLeavesTheArticleDataSetAndMenusOfThePageShown)
{
    // A disk on which "Morre Betinho" names a picture the media index does not know.
    DiskCopy disk({ "Retro.DAT" });
    {
        qelValue original = qelOpenArchive(qelValue((fs::path(QEL_BUILD_DIR) / "disk/Media/Retro.DAT").string().c_str()), 0);
        qelValue copy = qelCreateArchive(qelValue((disk.media() / "Retro.DAT").string().c_str()), 0);
        for (int32_t n = 0; n < qelCount(original); ++n) {
            qelValue record = qelCopy(qelGet(original, n));
            if (qelGet(record, review::titleElement) == "Morre Betinho")
                qelPut(record, review::picturesElement, UiFixture::read("(list \"semfoto.bmp\")"));
            qelArchiveOf(copy)->add(record);
        }
        qelArchiveOf(copy)->flush();
    }
    ui.environment->setSetting("SourceDisk", disk.folder.path.string().c_str());

    RetroForm* page = openPage((std::string("->") + guga).c_str(), false);
    ASSERT_NE(page, nullptr);
    qelValue shownData = page->currentData();
    auto expectGugasPage = [&](const char* after) {
        EXPECT_EQ(page->currentData(), shownData) << after;
        EXPECT_EQ(text(qelGet(page->currentArticle(), review::titleElement)), guga) << after;
        EXPECT_EQ(page->reviewSet(), 0) << after;
        EXPECT_EQ(page->m_categoryId, 6) << after;
        EXPECT_EQ(text(page->m_categoryKey), "Categoria") << after;
        EXPECT_EQ(text(page->getProperty("Background Image")), "rtcat06.bmp") << after;
        EXPECT_EQ(text(qelGet(page->historyText(), "History Text")), std::string("Retrospeciva: ") + guga) << after;
        EXPECT_FALSE(qelIsTrue(qelGet(page->m_categoryMenus, "Retro98"))) << after << ": the pop-ups keep the set shown";
    };

    // Betinho's page cannot be filled: its picture is unknown.
    qelHistoryGoTo("RetroForm", pageData("->Morre Betinho", true));
    ASSERT_EQ(current<RetroForm>(), page);
    expectGugasPage("an unknown picture");

    // The 1998 set holds no such title.
    qelValue other = pageData((std::string("->") + guga).c_str(), false);
    qelPut(other, qelValue("Retro98"), qelTrue);
    qelHistoryGoTo("RetroForm", other);
    ASSERT_EQ(current<RetroForm>(), page);
    expectGugasPage("a title of the other set");
}

} // namespace
