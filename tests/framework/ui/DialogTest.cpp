// Modal dialogs over a patterned screen, driven by headless scripts: the result on Escape and on
// a closing control, the screen put back exactly, dragging with the held point kept inside the
// media area, the quit of Alt+F4, and the refusals of the modal run.

#include "ScreenProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Factories.h"
#include "framework/ui/MediaDialogObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t red = 0x0000FF;

// A dialog whose key handler lets the test look at the screen while the dialog runs, and whose
// result is what the test sets.
template<typename Base> class Probe : public Base {
public:
    using Base::Base;
    void key(int32_t code, int32_t modifiers) override
    {
        if (onKey)
            onKey(*this);
        Base::key(code, modifiers);
    }
    qelValue result() override { return answer; }

    std::function<void(Probe&)> onKey;
    qelValue answer;
};

// 200 x 120 red dialog at (100, 80), dragged by its top 20 rows, with a closing hot spot at
// (150, 90) of its own coordinates.
qelValue dialogData()
{
    qelValue data = UiFixture::read("(table (\"Resource Table\" (table (\"Origin X\" 100) (\"Origin Y\" 80)"
                                    " (\"Drag Rect\" (rect 0 0 200 20))"
                                    " (\"Control List\" (list (control (\"Class\" \"HotSpot\")"
                                    " (\"Hot Spot\" (rect 150 90 40 20)) (\"Action\" \"close\")))))))");
    qelPut(qelGet(data, "Resource Table"), "Background Image", solidImage(200, 120, red));
    return data;
}

template<typename Base> qelValue makeDialog(Probe<Base>*& probe)
{
    probe = new Probe<Base>(dialogData());
    return qelFormValue(probe);
}

// The rectangle (x, y, w, h) of the screen is all red.
bool redAt(UiFixture& ui, int x, int y, int w, int h)
{
    for (int j = std::max(y, 0); j < std::min(y + h, 480); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, 640); ++i)
            if (ui.pixel(i, j) != pixelOf(red))
                return false;
    return true;
}

} // namespace

TEST(Dialog, EscapeEndsWithNilAndTheScreenComesBack)
{
    UiFixture ui("key Escape\n");
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    Probe<qelDialogObject>* probe = nullptr;
    qelValue dialog = makeDialog(probe);
    probe->answer = qelNil;
    bool drawn = false;
    probe->onKey = [&](auto& d) { drawn = redAt(ui, 100, 80, 200, 120) && ui.pixel(99, 79) == patternPixel(99, 79); };

    EXPECT_TRUE(qelRunDialog(dialog, qelNil).isNil());
    EXPECT_TRUE(drawn);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    EXPECT_TRUE(probe->savedBackground.isNil());
    EXPECT_TRUE(qelActiveForm().isNil());
}

TEST(Dialog, AClosingControlEndsWithTheDialogsResultAndReactivatesTheFormBelow)
{
    UiFixture ui("click 260 180\n");
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    // The form below has the focus on a control; the dialog takes it away while it runs.
    qelValue control = qelMakeControl(UiFixture::read("(table (\"Class\" \"HotSpot\") (\"Hot Spot\" (rect 0 0 5 5)))"));
    auto* below = new qelFormObject(qelNil);
    below->controls = qelListOf({ control });
    below->activeControl = control;
    qelValue belowForm = qelFormValue(below);
    qelSetActiveForm(belowForm);
    below->activate();

    Probe<qelDialogObject>* probe = nullptr;
    qelValue dialog = makeDialog(probe);
    probe->answer = "ok";
    EXPECT_EQ(qelRunDialog(dialog, qelNil), "ok");
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    EXPECT_EQ(qelActiveForm(), belowForm);
    EXPECT_TRUE(qelIsTrue(qelGet(control, "Active")));
}

TEST(Dialog, DraggingKeepsTheHeldPointInsideAndTheScreenFollows)
{
    struct Case {
        bool media;
        const char* script;
        int32_t x;
        int32_t y;
    } cases[] = {
        // Held at (10, 5) of the dialog; the pointer stops 10 pixels from the top-left corner.
        { false, "down 110 85\nmove 60 60\nmove 0 0\nup 0 0\nkey Escape\n", 0, 5 },
        // At the bottom-right corner the dialog passes the edge; the held point does not.
        { false, "down 110 85\nmove 639 479\nup 639 479\nkey Escape\n", 620, 465 },
        // A media dialog keeps the pointer 20 pixels above the bottom.
        { true, "down 110 85\nmove 639 479\nup 639 479\nkey Escape\n", 620, 455 },
        // A release without a move leaves the dialog where it was.
        { true, "down 110 85\nup 110 85\nkey Escape\n", 100, 80 },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        qelValue dialog;
        qelDialogObject* object = nullptr;
        bool drawnThere = false;
        bool oldPlaceBack = false;
        auto look = [&](qelDialogObject& d) {
            drawnThere = redAt(ui, c.x, c.y, 200, 120);
            oldPlaceBack = c.x == 100 || ui.pixel(299, 199) == patternPixel(299, 199);
        };
        if (c.media) {
            Probe<qelMediaDialogObject>* probe = nullptr;
            dialog = makeDialog(probe);
            probe->onKey = look;
            object = probe;
        } else {
            Probe<qelDialogObject>* probe = nullptr;
            dialog = makeDialog(probe);
            probe->onKey = look;
            object = probe;
        }
        qelRunDialog(dialog, qelNil);
        EXPECT_EQ(object->originX, c.x) << c.script;
        EXPECT_EQ(object->originY, c.y) << c.script;
        EXPECT_TRUE(drawnThere) << c.script;
        EXPECT_TRUE(oldPlaceBack) << c.script;
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.script;
        if (c.media) {
            // The media dialog remembers where it was left.
            EXPECT_EQ(qelGet(qelGet(object->properties, "Resource Table"), "Origin X"), c.x);
            EXPECT_EQ(qelGet(qelGet(object->properties, "Resource Table"), "Origin Y"), c.y);
        }
    }
}

TEST(Dialog, APressOutsideIsSwallowed)
{
    // The press outside would have closed nothing anyway; the one on the hot spot afterwards must
    // still be the one that ends the dialog, so the outside press left no tracking behind.
    UiFixture ui("click 50 50\nclick 301 201\nclick 260 180\n");
    Probe<qelDialogObject>* probe = nullptr;
    qelValue dialog = makeDialog(probe);
    probe->answer = "ok";
    EXPECT_EQ(qelRunDialog(dialog, qelNil), "ok");
    EXPECT_TRUE(ui.headless->scriptFinished());
}

TEST(Dialog, AltF4InAMediaDialogAsksToQuitOnce)
{
    // The wait keeps the script from closing the window when it ends, which a look for
    // events would now see.
    UiFixture ui("key alt+F4\nwait 1000\n");
    qelSetQuitFlag(0);
    Probe<qelMediaDialogObject>* probe = nullptr;
    qelValue dialog = makeDialog(probe);
    qelRunDialog(dialog, qelNil);
    EXPECT_EQ(qelQuitFlag(), 1);
    // The quit that ended the dialog was the only one: none is left for the main loop.
    qelEvent event;
    qelPeekEvent(event, QEL_QUIT_EVENT, 0);
    EXPECT_EQ(event.type, 0);
    qelSetQuitFlag(0);
}

TEST(Dialog, TheModalRunRefusesWhatItCannotRun)
{
    UiFixture ui("key F2\nkey Escape\n");
    // A name that loads nothing is reported and answers nil.
    EXPECT_TRUE(qelRunDialog("NoSuchDialog", qelNil).isNil());
    ASSERT_EQ(recordedErrors().size(), 1u);
    EXPECT_EQ(recordedErrors()[0], "Cannot find dialog named 'NoSuchDialog'");

    // A running dialog is not run again inside itself: its saved screen stays its own.
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    Probe<qelDialogObject>* probe = nullptr;
    qelValue dialog = makeDialog(probe);
    qelValue inner = "unset";
    probe->onKey = [&](qelDialogObject& d) {
        if (inner == "unset")
            inner = qelRunDialog(dialog, qelNil);
    };
    qelRunDialog(dialog, qelNil);
    EXPECT_TRUE(inner.isNil());
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

// A media dialog's Tab does not skip disabled and hidden stops by itself, as a media form's does;
// but they cannot take the focus, so Tab passes over them rather than staying on the stop before.
TEST(Dialog, AMediaDialogsTabPassesOverStopsThatRefuseTheFocus)
{
    UiFixture ui("key Tab\nkey Tab\nkey Tab\nkey Tab\nkey Escape\n");
    auto* probe = new Probe<qelMediaDialogObject>(dialogData());
    qelValue dialog = qelFormValue(probe);
    std::vector<std::string> active;
    probe->onKey = [&](qelMediaDialogObject& d) {
        if (d.getProperty("TabStopList").isNil()) {
            qelValue stops = qelMakeList(4, 100, QEL_GENERAL_LIST);
            for (const char* name : { "a", "b", "c", "d" }) {
                std::string text = std::string("(table (\"Class\" \"HotSpot\") (\"Name\" \"") + name
                    + "\") (\"Hot Spot\" (rect 0 30 10 10)))";
                qelValue control = qelMakeControl(UiFixture::read(text.c_str()));
                if (std::string(name) == "b")
                    qelPut(control, "Disabled", qelTrue);
                if (std::string(name) == "c")
                    qelPut(control, "Hidden", qelTrue);
                qelListObjectOf(stops)->append(control);
            }
            d.setProperty("TabStopList", stops);
            d.setActiveControl(qelListObjectOf(stops)->elementAt(0), 1);
        }
        active.push_back(qelCString(qelGet(d.activeControl, "Name")));
    };
    qelRunDialog(dialog, qelNil);
    EXPECT_EQ(active, (std::vector<std::string> { "a", "d", "a", "d", "a" }));
}
