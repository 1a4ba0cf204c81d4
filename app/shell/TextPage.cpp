#include "app/shell/TextPage.h"

#include "app/shell/TrimBlanks.h"
#include "framework/display/WindowServices.h"
#include "framework/richtext/RtfParser.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/DialogObject.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"
#include "framework/ui/VideoView.h"

#include <cstring>
#include <string>

namespace textpage {

Link splitLink(const qelValue& context)
{
    Link link;
    qelValue pieces = qelTokenize(context, ":");
    int32_t count = pieces.type() == QEL_LIST_TYPE ? qelCount(pieces) : 0;
    link.type = count > 0 ? qelGet(pieces, 0) : qelEmptyString();
    // A link without a colon has no target: it is read as an empty one.
    link.target = count > 1 ? qelGet(pieces, 1) : qelEmptyString();
    link.lowerTarget = qelLowerCase(link.target);
    link.prefix = qelLeft(link.lowerTarget, 2);
    return link;
}

bool typeIn(const qelValue& type, const char* const* names)
{
    for (; *names; ++names) {
        if (type == *names)
            return true;
    }
    return false;
}

void unknownAction(const qelValue& type, const qelValue& target)
{
    qelMessageBox(qelValue("A\xE7\xE3o deconhecida: ") + type + "[" + target + "]");
}

bool isValidInfo(const qelValue& lowerName)
{
    qelValue valid = qelLoadResource("ValidInfos");
    return valid.type() == QEL_LIST_TYPE && qelIndexOf(valid, lowerName) >= 0;
}

bool isKnownForm(const qelValue& name)
{
    if (!name.isString())
        return false;
    qelValue found;
    if (qelFormObject* active = qelFormOf(qelActiveForm()); active && active->hasProperty(name))
        found = active->getProperty(name);
    else if (qelEnvironment* environment = qelCurrentEnv(); environment && environment->globals.type() == QEL_TABLE_TYPE)
        found = qelGet(environment->globals, name);
    // A registered name may stand for another name (16 steps, as the resource loader follows).
    for (int step = 0; step < 16 && found.isString(); ++step) {
        qelEnvironment* environment = qelCurrentEnv();
        found = environment ? qelGet(environment->globals, found) : qelNil;
    }
    return found.type() == QEL_FORM_TYPE;
}

LinkForm linkForm(const qelValue& link)
{
    LinkForm result;
    qelValue parts = qelTokenize(link, ";");
    int32_t count = parts.type() == QEL_LIST_TYPE ? qelCount(parts) : 0;
    if (count == 0)
        return result;
    result.form = qelGet(parts, 0);
    if (result.form == "VerbeteForm" || result.form == "MidiasForm") {
        if (count != 2)
            return result;
        result.data = qelTable(4, 100, 75);
        qelPut(result.data, "Text", trimBlanks(qelLowerCase(qelGet(parts, 1))));
        qelPut(result.data, "FullList", qelTrue);
    } else if (result.form == "AtlasForm") {
        result.data = count > 1 ? trimBlanks(qelGet(parts, 1)) : qelEmptyString();
    }
    result.opens = true;
    return result;
}

namespace {

void setStatus(const char* name, bool hidden)
{
    qelValue status = qelLoadResource(name);
    qelControlObject* control = qelControlOf(status);
    if (!control)
        return;
    control->setProperty("Hidden", qelMakeBoolean(hidden ? 1 : 0));
    qelPerformAction(status, "Draw");
}

} // namespace

void showStatus(const char* name)
{
    setStatus(name, false);
    qelRefreshWindowArea(0, 0, 0, 0);
}

void hideStatus(const char* name)
{
    setStatus(name, true);
    qelRefreshWindowArea(0, 0, 0, 0);
}

qelValue plainText(const qelValue& rtf, const qelValue& font)
{
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, "Type", "RTF");
    qelPut(request, "Buffer", rtf);
    qelPut(request, "Font", font);
    qelValue runs = qelGet(qelParseRTF(request), "TextRuns");
    std::string out;
    for (int32_t i = 0, n = runs.type() == QEL_LIST_TYPE ? qelCount(runs) : 0; i < n; ++i) {
        qelValue run = qelGet(runs, i);
        if (run.type() == QEL_INT_TYPE) {
            if (run.payload() == QEL_RTF_PAR)
                out += '\n';
            continue;
        }
        if (run.type() != QEL_LIST_TYPE || qelCount(run) < 2)
            continue;
        qelValue kind = qelGet(run, 0);
        if (kind.type() == QEL_INT_TYPE && (kind.payload() == QEL_RTF_TEXT || kind.payload() == QEL_RTF_LINK))
            out += qelCString(qelGet(run, 1));
    }
    return qelStringValueN(out.data(), int32_t(out.size()));
}

qelValue dropCapLetter(const qelValue& text)
{
    if (!text.isString())
        return qelEmptyString();
    int32_t at = qelFindString(text, ".bmp", 0);
    if (at < 2 || qelCharAt(text, at - 2) != ' ')
        return qelEmptyString();
    return qelMid(text, at - 1, 1);
}

void copyToClipboard(const qelValue& title, const qelValue& text, const qelValue& letter, const qelValue& font)
{
    // The title and the text are recovered apart, so that the drop-cap letter goes back at the
    // head of the text and not before the title.
    qelValue result = title.isNil() ? qelEmptyString() : plainText(title + "\\par\\par ", font);
    if (letter.isString())
        result = result + letter;
    result = result + plainText(text, font);
    qelCopyTextToClipboard(result);
}

void printText(const qelValue& control, const qelValue& attributes, const qelValue& font)
{
    qelControlObject* view = qelControlOf(control);
    if (!view)
        return;
    qelValue kept = view->getProperty("Font");
    view->setProperty("Font", font);
    qelValue options = attributes.type() == QEL_TABLE_TYPE ? qelCopy(attributes) : qelTable(4, 100, 75);
    if (qelGet(options, "Text").isNil())
        qelPut(options, "Text", view->getProperty("Text"));
    qelPerform(control, "Print", options);
    view->setProperty("Font", kept);
}

void stopMediaControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    object->setProperty("Disabled", qelTrue);
    qelPerformAction(control, "Stop");
    qelPerformAction(control, "Uninitialize");
}

bool controlPlays(const qelValue& control, const qelValue& movie)
{
    auto* view = dynamic_cast<VideoView*>(qelControlOf(control));
    return view && !view->movie.isNil() && view->movie == movie;
}

qelValue linkSoundPath(const qelValue& name)
{
    if (!name.isString() || qelCount(name) == 0 || qelFindChar(name, '/', 0) >= 0 || qelFindChar(name, '\\', 0) >= 0
        || qelFindString(name, "..", 0) >= 0)
        return qelNil;
    // The extension goes on the bare file name itself: a dot in the folders above it (a hidden
    // folder of the user's) does not make the name a full one.
    qelValue file = qelFindChar(name, '.', 0) < 0 ? name + "." + qelGetSetting("AudioExtension") : name;
    return qelPathJoin(qelMediaPath(), qelValue("Sounds/") + file);
}

void setWaitCursor()
{
    qelEnvironmentServices& services = qelServices();
    services.setCursor(services.waitCursor());
}

void openSearchDialog(const qelValue& name)
{
    setWaitCursor();
    if (name == "SearchDlg")
        return;
    if (name == "RecallDlg") {
        qelDoDialog(name);
        return;
    }
    qelError(qelValue("Unknown Dialog"));
}

void scrollText(qelFormObject& page, int32_t key)
{
    const char* verb = scrollVerb(key);
    if (!verb || !page.hasProperty("Texto"))
        return;
    qelValue texto = qelResolve(page.getProperty("Texto"));
    if (!page.activeControl.isNil() && qelResolve(page.activeControl) == texto)
        return;
    qelPerformAction(texto, verb);
}

const char* scrollVerb(int32_t key)
{
    switch (key) {
    case QEL_KEY_HOME:
        return "Home";
    case QEL_KEY_END:
        return "End";
    case QEL_KEY_PAGE_UP:
        return "PageUp";
    case QEL_KEY_PAGE_DOWN:
        return "PageDown";
    case QEL_KEY_UP:
        return "LineUp";
    case QEL_KEY_DOWN:
        return "LineDown";
    default:
        return nullptr;
    }
}

} // namespace textpage
