// The timeline: its pages and their crossing into the neighbouring eras, the year search after
// and before Christ, the restore from its history table and from a word search result, the press
// that leaves the list. The screen's controls are stand-ins that keep what they are told; the
// events are an archive on a disk of the test's own.

#include "app/reference/LinhaTempoForm.h"
#include "framework/display/Region.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A control that keeps its text and answers "getText" with it.
class StandIn : public qelControlObject {
public:
    using qelControlObject::qelControlObject;
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        if (action == "SetText")
            text = data;
        else if (action == "getText")
            return text;
        else if (action == "Draw")
            ++draws;
        else if (action == "Select")
            selected = qelIsTrue(data);
        return qelNil;
    }
    bool disabled() { return qelIsTrue(getProperty("Disabled")); }

    qelValue text;
    int draws = 0;
    bool selected = false;
};

// Era sizes of the test's timeline: one era shorter than a page, one of exactly a page and one
// of 30 events starting at item 31.
constexpr int32_t eraSizes[6] = { 5, 14, 12, 30, 8, 11 };
const char* const eraNames[6]
    = { "BigBang", "PreHist\xf3ria", "Antiguidade", "IdadeM\xe9" "dia", "IdadeModerna", "IdadeContempor\xe2nea" };

struct Era {
    int32_t begin;
    int32_t end;
};

qelValue eventOf(int32_t item, int32_t year, int32_t era)
{
    qelValue event = qelMakeList(5, 100, QEL_GENERAL_LIST);
    qelAddItem(event, qelMakeInt(item));
    qelAddItem(event, qelMakeInt(year));
    qelAddItem(event, qelValue("sem uso"));
    qelAddItem(event, qelStringValue(("e" + std::to_string(item)).c_str()));
    qelAddItem(event, qelMakeInt(era));
    return event;
}

class Timeline : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-ltempo-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        ui.environment->setSetting("dat", (root / "Media").string().c_str());
        // Years: 100 apart, the first 4000 before Christ, so eras 0 to 3 reach back before it.
        {
            // The writer keeps other openers out until it goes.
            qelValue archive = qelCreateArchive(qelStringValue((root / "Media" / "TimeLine.dat").string().c_str()), 0);
            int32_t item = 0;
            for (int32_t era = 0; era < 6; ++era) {
                eras.push_back({ item, item + eraSizes[era] - 1 });
                for (int32_t n = 0; n < eraSizes[era]; ++n, ++item)
                    qelArchiveOf(archive)->add(eventOf(item, -4000 + 100 * item, era + 1));
            }
            ASSERT_TRUE(qelArchiveOf(archive)->flush());
        }

        resources = qelTable(4, 100, 75);
        qelValue group = qelMakeList(6, 100, QEL_GENERAL_LIST);
        for (int32_t era = 0; era < 6; ++era) {
            qelValue button = add(eraNames[era]);
            qelControlOf(button)->setProperty("TypeID", qelMakeInt(era));
            qelControlOf(button)->setProperty("Begin", qelMakeInt(eras[size_t(era)].begin));
            qelControlOf(button)->setProperty("End", qelMakeInt(eras[size_t(era)].end));
            qelAddItem(group, button);
            qelPut(resources, qelValue(eraNames[era]) + "Img", qelValue(eraNames[era]) + ".bmp");
        }
        qelPut(resources, "ControlGroup", group);
        // The lines start hidden, as the screen has them.
        for (int k = 1; k <= 12; ++k) {
            lines.push_back(standIn(add(("Texto" + std::to_string(k)).c_str())));
            lines.back()->setProperty("Disabled", qelTrue);
        }
        const std::pair<const char*, int32_t> moves[]
            = { { "PreviousPage", -12 }, { "PreviousLine", -1 }, { "NextLine", 1 }, { "NextPage", 12 } };
        for (const auto& [name, by] : moves)
            qelControlOf(add(name))->setProperty("Move", qelMakeInt(by));
        for (const char* name : { "CompBackground", "What2Find", "IrPara", "AC", "DC" })
            add(name);
        qelPut(resources, "ViewerBounds", UiFixture::read("(rect 20 60 600 360)"));

        qelValue properties = qelTable(4, 100, 75);
        qelPut(properties, "Resource Table", resources);
        form = new LinhaTempoForm(properties);
        formValue = qelFormValue(form);
        form->resources = resources;
        qelSetActiveForm(formValue);
        form->open(UiFixture::read("(table (\"NoFade\" true))"));
    }
    void TearDown() override
    {
        form->close();
        qelSetActiveForm(qelNil);
        fs::remove_all(root);
    }

    qelValue add(const char* name)
    {
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, "Name", name);
        qelValue control = qelControlValue(new StandIn(data));
        qelPut(resources, name, control);
        return control;
    }
    static StandIn* standIn(const qelValue& control) { return static_cast<StandIn*>(qelControlOf(control)); }
    StandIn* named(const char* name) { return standIn(qelGet(resources, name)); }
    void press(const char* name) { form->handleControl(qelGet(resources, name)); }
    void search(const char* typed, const char* era = "DC")
    {
        press(era);
        named("What2Find")->text = qelStringValue(typed);
        press("IrPara");
    }

    // The shown lines: their events' numbers while enabled, "-" for the hidden ones.
    std::string shown()
    {
        std::string out;
        for (StandIn* line : lines) {
            out += out.empty() ? "" : " ";
            std::string text = line->text.isString() ? qelCString(line->text) : "?";
            out += line->disabled() ? "-" : text.substr(text.empty() ? 0 : 1);
        }
        return out;
    }
    // The events from..to on the lines, the rest hidden.
    static std::string page(int32_t from, int32_t to)
    {
        std::string out;
        for (int32_t k = 0; k < 12; ++k) {
            out += k ? " " : "";
            out += from + k <= to ? std::to_string(from + k) : "-";
        }
        return out;
    }

    UiFixture ui;
    fs::path root;
    std::vector<Era> eras;
    std::vector<StandIn*> lines;
    qelValue resources;
    LinhaTempoForm* form = nullptr;
    qelValue formValue;
};

} // namespace

TEST_F(Timeline, OpensOnTheEraPictureAndAnEraButtonShowsItsFirstPage)
{
    EXPECT_EQ(form->m_entryCount, 80);
    EXPECT_EQ(form->m_topLine, -1);
    EXPECT_EQ(shown(), page(0, -1));
    press("IdadeM\xe9" "dia");
    EXPECT_EQ(form->m_era, 3);
    EXPECT_EQ(shown(), page(31, 42));
    EXPECT_EQ(named("CompBackground")->getProperty("Image"), "IdadeM\xe9" "dia.bmp");
    EXPECT_FALSE(named("CompBackground")->disabled());
    EXPECT_TRUE(named("BigBang")->disabled()) << "the era picture's buttons are off under the list";
    EXPECT_FALSE(named("NextPage")->disabled());
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(Timeline, LinesAndPagesMoveWithinAnEraAndCrossIntoItsNeighbours)
{
    press("IdadeM\xe9" "dia");
    press("NextLine");
    EXPECT_EQ(shown(), page(32, 43));
    // To the era's last event, one line at a time: the page shrinks to one line.
    for (int32_t n = 0; n < 28; ++n)
        press("NextLine");
    EXPECT_EQ(form->m_topLine, 60);
    EXPECT_EQ(shown(), page(60, 60));
    // One more enters the next era at its first event.
    press("NextLine");
    EXPECT_EQ(form->m_era, 4);
    EXPECT_EQ(shown(), page(61, 68));
    EXPECT_EQ(named("CompBackground")->getProperty("Image"), "IdadeModerna.bmp");

    // Back a line from an era's first event: the previous era's last twelve when it has twelve
    // or more, else its first event on the first line.
    press("PreviousLine");
    EXPECT_EQ(form->m_era, 3);
    EXPECT_EQ(shown(), page(49, 60));
    press("PreviousPage");
    EXPECT_EQ(shown(), page(37, 48));
    // A page back past the era's first event shows the previous era's last page.
    press("PreviousPage");
    EXPECT_EQ(form->m_era, 2);
    EXPECT_EQ(shown(), page(19, 30)) << "an era of exactly twelve";
    press("PreviousLine");
    EXPECT_EQ(form->m_era, 1);
    EXPECT_EQ(shown(), page(7, 18));
    press("PreviousPage");
    EXPECT_EQ(form->m_era, 0);
    EXPECT_EQ(shown(), page(0, 4)) << "an era of five starts at its first";
    // Nothing lies before the first era: the page starts at its first event.
    press("PreviousPage");
    EXPECT_EQ(form->m_era, 0);
    EXPECT_EQ(shown(), page(0, 4));
}

TEST_F(Timeline, MovingPastTheLastEventLeavesThePageWhereItWas)
{
    press("IdadeContempor\xe2nea");
    EXPECT_EQ(shown(), page(69, 79));
    press("NextPage");
    EXPECT_EQ(shown(), page(69, 79));
    for (int32_t n = 0; n < 10; ++n)
        press("NextLine");
    EXPECT_EQ(shown(), page(79, 79));
    press("NextLine");
    EXPECT_EQ(form->m_topLine, 79);
    EXPECT_EQ(form->m_era, 5);
}

TEST_F(Timeline, TheYearSearchAfterAndBeforeChrist)
{
    struct Case {
        const char* typed;
        const char* era;
        int32_t top;
        int32_t shownEra;
    };
    // Item n is the year -4000 + 100 n.
    const Case cases[] = {
        { "1500", "DC", 55, 3 },
        { "1450", "DC", 55, 3 }, // the first event of the year or later
        { "500", "AC", 35, 3 },
        { "  -500", "DC", 35, 3 }, // a typed sign counts too
        { "3950", "AC", 1, 0 },
        { "4000", "AC", 0, 0 },
        { "999999", "AC", 0, 0 },
        { "2900", "DC", 68, 5 }, // within the last page: the last twelve events
        { "9999999999", "DC", 68, 5 }, // held at the 32-bit limit: later than every event
        { "", "DC", 40, 3 }, // no number is year 0
        { "ano", "DC", 40, 3 },
        { "1500 d.C.xy", "DC", 55, 3 }, // eleven characters lose their last two
        { "-2300 AC", "AC", 63, 4 }, // minus before Christ is after Christ
    };
    for (const Case& c : cases) {
        press("BigBang");
        form->mouseDown(5, 5, 0, 1);
        search(c.typed, c.era);
        EXPECT_EQ(form->m_topLine, c.top) << c.typed << " " << c.era;
        EXPECT_EQ(form->m_era, c.shownEra) << c.typed << " " << c.era;
    }
    // The last page shows the last era's events as far as they go and the earlier ones before.
    search("2900");
    EXPECT_EQ(shown(), page(68, 79));
    EXPECT_EQ(form->m_yearSign, 1);
    search("10", "AC");
    EXPECT_EQ(form->m_yearSign, -1);
}

TEST_F(Timeline, TheSearchOnAThreeThousandEventTimelineFindsEveryYear)
{
    // The search as the benchmark times it: 3,000 events, three to a year from 500 before
    // Christ, six eras of 500.
    std::string path = (root / "Media" / "Grande.dat").string();
    {
        qelValue writer = qelCreateArchive(qelStringValue(path.c_str()), 0);
        for (int32_t item = 0; item < 3000; ++item)
            qelArchiveOf(writer)->add(eventOf(item, -500 + item / 3, 1 + item / 500));
        ASSERT_TRUE(qelArchiveOf(writer)->flush());
    }
    qelValue archive = qelOpenArchive(qelStringValue(path.c_str()), 0);
    for (int32_t year : { -500, -1, 0, 1, 250, 499 }) {
        TimelineStop stop = timelineFindYear(archive, 3000, year);
        EXPECT_EQ(stop.item, 3 * (year + 500)) << year;
        EXPECT_EQ(stop.era, stop.item / 500) << year;
    }
    TimelineStop past = timelineFindYear(archive, 3000, 500);
    EXPECT_EQ(past.item, 3000);
    EXPECT_EQ(past.era, 5) << "the era of the last event";
    EXPECT_EQ(timelinePageStart(past.item, 3000), 2988);
    EXPECT_EQ(timelinePageStart(2989, 3000), 2988);
    EXPECT_EQ(timelinePageStart(2988, 3000), 2988);
    EXPECT_EQ(timelinePageStart(3, 5), 0) << "a timeline shorter than a page";
}

TEST_F(Timeline, TheHistoryTableRestoresTheEraAndTheLine)
{
    press("AC");
    press("Antiguidade");
    press("NextLine");
    qelValue state = form->historyText();
    EXPECT_EQ(qelGet(state, "History Text"), "Linha do Tempo: Antiguidade");
    EXPECT_EQ(qelGet(state, "Index"), qelMakeInt(20));
    EXPECT_EQ(qelGet(state, "Multiplier"), qelMakeInt(-1));
    EXPECT_EQ(qelGet(state, "Begin"), qelMakeInt(19));
    EXPECT_EQ(qelGet(state, "End"), qelMakeInt(30));
    EXPECT_EQ(qelGet(state, "Era"), qelMakeInt(2));

    // A fresh visit opens on the era picture with the sign after Christ, and the table gives
    // the page back.
    form->close();
    form->open(UiFixture::read("(table (\"NoFade\" true))"));
    EXPECT_EQ(form->m_topLine, -1);
    EXPECT_EQ(form->m_yearSign, 1);
    form->reenter(state);
    EXPECT_EQ(shown(), page(20, 30));
    EXPECT_EQ(form->m_yearSign, -1);
    EXPECT_TRUE(named("AC")->selected && !named("DC")->selected) << "the sign shown is the one restored";
    EXPECT_EQ(named("CompBackground")->getProperty("Image"), "Antiguidade.bmp");
    EXPECT_TRUE(named("BigBang")->disabled());

    // A state left on the era picture names the era last shown and restores its list view
    // without a line.
    form->mouseDown(5, 5, 0, 1);
    qelValue picture = form->historyText();
    EXPECT_EQ(qelGet(picture, "Index"), qelMakeInt(-1));
    EXPECT_EQ(qelGet(picture, "History Text"), "Linha do Tempo: Antiguidade");
    form->reenter(picture);
    EXPECT_EQ(shown(), page(0, -1));
    EXPECT_FALSE(named("CompBackground")->disabled());
    EXPECT_FALSE(named("NextLine")->disabled());

    // Anything but a table changes nothing.
    press("BigBang");
    form->reenter(qelNil);
    form->reenter(qelMakeInt(4));
    EXPECT_EQ(shown(), page(0, 4));
}

TEST_F(Timeline, AWordSearchResultShowsTheEventItNames)
{
    qelValue result = UiFixture::read(
        "(table (\"Text\" \"e44\") (\"BrowseList\" (list 524299 524332 524340)) (\"Index\" 1))");
    form->reenter(result);
    EXPECT_EQ(form->m_era, 3);
    EXPECT_EQ(form->m_eraBegin, 31);
    EXPECT_EQ(shown(), page(44, 55));
    // A position outside the list, or an event the archive lacks, leaves the page as it is.
    for (const char* bad : { "(table (\"BrowseList\" (list 524299)) (\"Index\" 3))",
             "(table (\"BrowseList\" (list 524299)) (\"Index\" -1))",
             "(table (\"BrowseList\" (list 525000)) (\"Index\" 0))", "(table (\"BrowseList\" 7) (\"Index\" 0))" }) {
        form->reenter(UiFixture::read(bad));
        EXPECT_EQ(shown(), page(44, 55)) << bad;
    }
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(Timeline, APressOutsideTheViewerGoesBackToTheEraPicture)
{
    press("Antiguidade");
    form->mouseDown(300, 200, 0, 1);
    EXPECT_EQ(form->m_topLine, 19) << "inside the viewer the list stays";
    form->mouseDown(300, 460, 0, 1);
    EXPECT_EQ(form->m_topLine, -1);
    EXPECT_EQ(shown(), page(0, -1));
    EXPECT_TRUE(named("CompBackground")->disabled());
    EXPECT_TRUE(named("NextLine")->disabled());
    EXPECT_FALSE(named("Antiguidade")->disabled());
    // The era picture's buttons answer again, and an era starts at its first event.
    press("IdadeModerna");
    EXPECT_EQ(shown(), page(61, 68));
}
