// The text page and text dialog bases: every link rule fed through a fake text view's
// "GetContext" on a screen and in a dialog, the scrolling keys and the media they stop, the
// clipboard text of copy, the caption box's closing press and the sound file of an "audio:" link.

#include "app/shell/CaptionDialog.h"
#include "app/shell/TextPage.h"
#include "app/shell/VLTextDialog.h"
#include "app/shell/VLTextForm.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A text view as the pages see it: it answers "GetContext" with the link it is given and
// records every other verb and the keys it hears.
class FakeTextView : public qelControlObject {
public:
    explicit FakeTextView(const qelValue& data)
        : qelControlObject(data)
    {
    }
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        if (action == "GetContext")
            return context;
        verbs.push_back(qelCString(action));
        return qelNil;
    }
    int32_t key(int32_t code, int32_t modifiers) override
    {
        ++keys;
        return 0;
    }
    int32_t canActivate() override { return 1; }

    qelValue context;
    std::vector<std::string> verbs;
    int keys = 0;
};

// Where navigation went: the form's name and what it was opened with.
std::vector<std::string>& opened()
{
    static std::vector<std::string> log;
    return log;
}

std::string describe(const qelValue& data)
{
    if (data.type() == QEL_TABLE_TYPE) {
        return std::string(qelCString(qelGet(data, "Text"))) + (qelIsTrue(qelGet(data, "FullList")) ? " full" : "");
    }
    return data.isNil() ? "nil" : qelCString(qelPrintValue(data, 1));
}

// A registered form that only notes its opening.
class TargetForm : public qelFormObject {
public:
    explicit TargetForm(const char* formName)
        : qelFormObject(qelNil)
    {
        name = formName;
    }
    void open(const qelValue& data) override { opened().push_back(std::string(qelCString(name)) + " " + describe(data)); }
};

struct Pages {
    // Every message box is answered OK.
    explicit Pages(const char* script = "answer 1\nanswer 1\nanswer 1\nanswer 1\nanswer 1\nanswer 1\nanswer 1\n"
                                        "answer 1\nwait 86400000\n")
        : ui(script)
    {
        opened().clear();
        for (const char* form : { "MidiasForm", "VerbeteForm", "AtlasForm", "CreditsForm", "in0012", "mm0001" })
            ui.environment->setGlobal(form, qelFormValue(new TargetForm(form)));
        ui.environment->setGlobal("ValidInfos", UiFixture::read("(list \"in0012\" \"mm0001\")"));
        texto = new FakeTextView(UiFixture::read("(table (\"Name\" \"Texto\") (\"HyperLink\" true))"));
        textoValue = qelControlValue(texto);
        video = new FakeTextView(UiFixture::read("(table (\"Name\" \"VideoControl\"))"));
        anim = new FakeTextView(UiFixture::read("(table (\"Name\" \"AnimControl\"))"));
        qelValue resources = qelTable(4, 100, 75);
        qelPut(resources, "Texto", textoValue);
        qelPut(resources, "VideoControl", qelControlValue(video));
        qelPut(resources, "AnimControl", qelControlValue(anim));
        qelValue properties = qelTable(4, 100, 75);
        qelPut(properties, "Resource Table", resources);
        page = new VLTextForm(properties);
        pageValue = qelFormValue(page);
        page->resources = resources;
        qelValue dialogProperties = qelTable(4, 100, 75);
        qelPut(dialogProperties, "Resource Table", resources);
        dialog = new VLTextDialog(dialogProperties);
        dialogValue = qelFormValue(dialog);
        dialog->resources = resources;
        screen = qelFormValue(new TargetForm("Screen"));
    }

    // What a click on hot text with this link does: the form opened (or "" for none) and the
    // message box shown (or "").
    std::pair<std::string, std::string> follow(qelFormObject& form, const qelValue& context)
    {
        opened().clear();
        size_t boxes = ui.headless->messageBoxes().size();
        texto->context = context;
        // The page stays the current form between clicks (navigation leaves it).
        qelSetActiveForm(&form == page ? pageValue : screen);
        form.handleControl(textoValue);
        std::string box = ui.headless->messageBoxes().size() > boxes ? ui.headless->messageBoxes().back().text : "";
        return { opened().empty() ? "" : opened().back(), box };
    }

    UiFixture ui;
    FakeTextView* texto = nullptr;
    FakeTextView* video = nullptr;
    FakeTextView* anim = nullptr;
    qelValue textoValue;
    VLTextForm* page = nullptr;
    qelValue pageValue;
    VLTextDialog* dialog = nullptr;
    qelValue dialogValue;
    qelValue screen;
};

struct LinkCase {
    const char* context;
    const char* screen; // the form opened from a screen ("" none), or the box's text after "!"
    const char* dialog; // the same from a dialog
};

// The box's text as the program hands it to the window system (cp1252).
const std::string unknown = "A\xE7\xE3o deconhecida: ";

TEST(VLTextPages, EveryLinkRuleOnAScreenAndInADialog)
{
    const LinkCase cases[] = {
        { "foto:BR001", "MidiasForm br001 full", "MidiasForm br001 full" },
        { "anim:Voo", "MidiasForm voo full", "MidiasForm voo full" },
        { "bandeira:Brasil", "MidiasForm brasil full", "MidiasForm brasil full" },
        { "crono:Seculo", "MidiasForm seculo full", "MidiasForm seculo full" },
        { "livro:Lusiadas", "MidiasForm lusiadas full", "MidiasForm lusiadas full" },
        { "tabela:Pib", "MidiasForm pib full", "MidiasForm pib full" },
        { "video:Posse", "MidiasForm posse full", "MidiasForm posse full" },
        // "imagem": an infographic page on a screen when listed, else nothing; media otherwise.
        { "imagem:in0012", "in0012 nil", "MidiasForm in0012 full" },
        { "imagem:MB0099", "", "MidiasForm mb0099 full" },
        { "imagem:xy0012", "MidiasForm xy0012 full", "MidiasForm xy0012 full" },
        { "info:IN0012", "in0012 nil", "in0012 nil" },
        { "info:in0099", "", "" },
        // "mapa": a listed map page, else the atlas on a screen; always media in a dialog.
        { "mapa:MM0001", "mm0001 nil", "MidiasForm mm0001 full" },
        { "mapa:Brasil", "AtlasForm \"brasil\"", "MidiasForm brasil full" },
        { "jump:VerbeteForm;Brasil", "VerbeteForm brasil full", "VerbeteForm brasil full" },
        { "jump:VerbeteForm", "", "" },
        { "jump:MidiasForm;a;b", "", "" },
        { "jump:AtlasForm; Europa ", "AtlasForm \"Europa\"", "AtlasForm \"Europa\"" },
        { "jump:CreditsForm", "CreditsForm nil", "CreditsForm nil" },
        // A form that is not registered is reported, never gone to.
        { "jump:Nenhuma;x", "!jump[Nenhuma;x]", "!jump[Nenhuma;x]" },
        { "Foto:x", "!Foto[x]", "!Foto[x]" },
        { "semalvo", "!semalvo[]", "!semalvo[]" },
    };
    Pages pages;
    for (const LinkCase& c : cases) {
        for (bool onScreen : { true, false }) {
            const char* want = onScreen ? c.screen : c.dialog;
            qelFormObject& form = onScreen ? static_cast<qelFormObject&>(*pages.page) : *pages.dialog;
            auto [target, box] = pages.follow(form, qelStringValue(c.context));
            if (want[0] == '!') {
                EXPECT_EQ(target, "") << c.context;
                EXPECT_EQ(box, unknown + (want + 1)) << c.context;
            } else {
                EXPECT_EQ(target, want) << c.context << (onScreen ? " on a screen" : " in a dialog");
                EXPECT_EQ(box, "") << c.context;
            }
        }
    }
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

TEST(VLTextPages, NoLinkUnderTheClickDoesNothingOnAScreenAndClosesAClosingDialogControl)
{
    Pages pages;
    pages.texto->setProperty("Action", "close");
    EXPECT_EQ(pages.follow(*pages.page, qelNil), std::make_pair(std::string(), std::string()));
    EXPECT_EQ(pages.dialog->done, 0);
    pages.follow(*pages.dialog, qelNil);
    EXPECT_EQ(pages.dialog->done, 1);
}

TEST(VLTextPages, KeysStopTheActiveMediumFirstAndThenScrollTheTextOnce)
{
    // Three Down arrows on a screen with both media active: the animation stops, then the
    // video, then the text scrolls one line.
    {
        Pages pages;
        pages.page->setAnimActive(1);
        pages.page->setVideoActive(1);
        for (int i = 0; i < 3; ++i)
            pages.page->key(QEL_KEY_DOWN, 0);
        EXPECT_EQ(pages.anim->verbs, (std::vector<std::string> { "Stop", "Uninitialize" }));
        EXPECT_EQ(pages.video->verbs, (std::vector<std::string> { "Stop", "Uninitialize" }));
        EXPECT_TRUE(qelIsTrue(pages.video->getProperty("Disabled")));
        EXPECT_EQ(pages.texto->verbs, (std::vector<std::string> { "LineDown" }));
    }
    // Each scrolling key has its verb; other keys none.
    {
        Pages pages;
        for (int32_t key : { QEL_KEY_HOME, QEL_KEY_END, QEL_KEY_PAGE_UP, QEL_KEY_PAGE_DOWN, QEL_KEY_UP, int32_t('A') })
            pages.page->key(key, 0);
        EXPECT_EQ(pages.texto->verbs,
            (std::vector<std::string> { "Home", "End", "PageUp", "PageDown", "LineUp" }));
    }
    // A dialog: the video stops first, then the key scrolls.
    {
        Pages pages;
        pages.dialog->setVideoActive(1);
        pages.dialog->key(QEL_KEY_PAGE_DOWN, 0);
        pages.dialog->key(QEL_KEY_PAGE_DOWN, 0);
        EXPECT_EQ(pages.video->verbs, (std::vector<std::string> { "Stop", "Uninitialize" }));
        EXPECT_EQ(pages.texto->verbs, (std::vector<std::string> { "PageDown" }));
    }
    // The text view as the active control hears the key itself and is not told again.
    {
        Pages pages;
        pages.page->activeControl = pages.textoValue;
        pages.page->key(QEL_KEY_DOWN, 0);
        EXPECT_EQ(pages.texto->keys, 1);
        EXPECT_TRUE(pages.texto->verbs.empty());
    }
}

TEST(VLTextPages, APressWhileAMediumPlaysOnlyStopsIt)
{
    Pages pages;
    pages.page->setVideoActive(1);
    pages.page->mouseDown(10, 10, 0, 1);
    EXPECT_EQ(pages.page->videoActive(), 0);
    EXPECT_EQ(pages.video->verbs, (std::vector<std::string> { "Stop", "Uninitialize" }));
}

TEST(VLTextPages, CopyPutsTheTitleTwoLineBreaksAndTheTextWithItsAccents)
{
    struct Case {
        bool onScreen;
        const char* title; // nullptr: none
        const char* text;
        const char* clipboard; // cp1252, as the program hands it to the window system
    } cases[] = {
        // Escaped characters and tabs are left out; accented letters written as such stay.
        { true, "Bras\xEDl", "O pa\xEDs {\\b maior}\\'e9\\tab x\\par {\\uldb S\xE3o Paulo}!\\{jump:VerbeteForm;S\xE3o Paulo\\}.",
            "Bras\xEDl\n\nO pa\xEDs maiorx\nS\xE3o Paulo." },
        // The drop-cap letter goes back at the head of the text, after the title.
        { true, "Quaresma", "{bmc Q.bmp\\}uando chove", "Quaresma\n\nQuando chove" },
        { true, nullptr, "{bmc Q.bmp\\}uando chove", "Quando chove" },
        // A dialog does not recover it.
        { false, "Quaresma", "{bmc Q.bmp\\}uando chove", "Quaresma\n\nuando chove" },
    };
    for (const Case& c : cases) {
        Pages pages;
        qelValue title = c.title ? qelStringValue(c.title) : qelNil;
        if (c.onScreen)
            pages.page->copyText(title, qelStringValue(c.text));
        else
            pages.dialog->copyText(title, qelStringValue(c.text));
        ASSERT_FALSE(pages.ui.headless->clipboardWrites().empty()) << c.text;
        EXPECT_EQ(pages.ui.headless->clipboardWrites().back(), c.clipboard) << c.text;
    }
}

TEST(VLTextPages, ASoundLinkPlaysAFileOfTheSoundsFolderOnly)
{
    UiFixture ui;
    // A dot in a folder above the disk does not make a bare name a full one.
    ui.environment->setSetting("SourceDisk", "/home/u/.local/disco");
    ui.environment->setSetting("MediaPath", "Media");
    ui.environment->setSetting("AudioExtension", "wav");
    struct Case {
        const char* name;
        const char* path; // nullptr: refused
    } cases[] = {
        { "hino", "/home/u/.local/disco\\Media\\Sounds/hino.wav" },
        { "hino.mid", "/home/u/.local/disco\\Media\\Sounds/hino.mid" },
        { "../VL98.ini", nullptr },
        { "a/b", nullptr },
        { "a\\b", nullptr },
        { "", nullptr },
    };
    for (const Case& c : cases) {
        qelValue path = textpage::linkSoundPath(qelStringValue(c.name));
        if (c.path)
            EXPECT_EQ(std::string(qelCString(path)), c.path) << c.name;
        else
            EXPECT_TRUE(path.isNil()) << c.name;
    }
}

// Notes whether the dialog was ended by a press.
class CaptionProbe : public CaptionDialog {
public:
    using CaptionDialog::CaptionDialog;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override
    {
        pressing = true;
        CaptionDialog::mouseDown(x, y, modifiers, clicks);
        pressing = false;
    }
    void endDialog() override
    {
        endedByPress = endedByPress || pressing;
        CaptionDialog::endDialog();
    }
    bool pressing = false;
    bool endedByPress = false;
};

// The caption box at (100, 80): without a size its rectangle is 5 x 5 at its origin.
TEST(CaptionDialog, APressOutsideItsRectangleClosesIt)
{
    struct Case {
        const char* size;
        const char* press;
        bool closes;
    } cases[] = {
        { "", "click 102 82\n", false },
        { "", "click 110 90\n", true },
        { "(\"Width\" 200) (\"Height\" 60)", "click 250 120\n", false },
        { "(\"Width\" 200) (\"Height\" 60)", "click 350 120\n", true },
    };
    for (const Case& c : cases) {
        UiFixture ui((std::string(c.press) + "key Escape\n").c_str());
        std::string text = std::string("(table (\"Resource Table\" (table (\"Origin X\" 100) (\"Origin Y\" 80) ") + c.size
            + " (\"Control List\" (list)))))";
        auto* caption = new CaptionProbe(UiFixture::read(text.c_str()));
        qelValue value = qelFormValue(caption);
        qelRunDialog(value, qelNil);
        EXPECT_EQ(caption->endedByPress, c.closes) << c.press << c.size;
    }
}

} // namespace
