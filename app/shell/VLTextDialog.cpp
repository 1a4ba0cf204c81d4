#include "app/shell/VLTextDialog.h"

#include "app/shell/TextPage.h"
#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"
#include "framework/ui/Perform.h"

namespace {

// Link types that open the media page from a dialog, whatever their target.
const char* const mediaTypes[]
    = { "anim", "bandeira", "crono", "foto", "livro", "video", "mapa", "tabela", "imagem", nullptr };

} // namespace

void VLTextDialog::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
}

void VLTextDialog::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (object && object->hasProperty("HyperLink")) {
        qelValue context = qelPerform(control, "GetContext", qelNil);
        if (context.isString())
            followLink(context);
        else
            qelDialogObject::handleControl(control);
        return;
    }
    qelValue name = object ? object->getProperty("Name") : qelNil;
    // The page's buttons, for pages that leave them to the base: the page's text, under its
    // "Title" when it has one.
    if (name == "Copiar") {
        qelControlObject* texto = qelControlOf(qelResolve(getProperty("Texto")));
        if (texto)
            copyText(getProperty("Title"), texto->getProperty("Text"));
        return;
    }
    if (name == "Imprimir") {
        print();
        return;
    }
    if (name == "VideoControl") {
        stopVideo();
        return;
    }
    qelDialogObject::handleControl(control);
}

void VLTextDialog::followLink(const qelValue& context)
{
    textpage::Link link = textpage::splitLink(context);
    if (textpage::typeIn(link.type, mediaTypes)) {
        openLink(qelValue("MidiasForm;") + link.target);
    } else if (link.type == "info") {
        if (textpage::isValidInfo(link.lowerTarget) && textpage::isKnownForm(link.lowerTarget))
            qelHistoryGoTo(link.lowerTarget, qelNil);
    } else if (link.type == "audio") {
        playSound(link.target);
    } else if (link.type == "jump") {
        openLink(link.target);
    } else {
        textpage::unknownAction(link.type, link.target);
    }
}

void VLTextDialog::openLink(const qelValue& link)
{
    qelValue self = qelFormValue(this);
    textpage::setWaitCursor();
    textpage::LinkForm target = textpage::linkForm(link);
    if (target.opens && !textpage::isKnownForm(target.form)) {
        qelServices().setCursor(qelNil);
        textpage::unknownAction("jump", link);
        return;
    }
    if (target.opens)
        qelHistoryGoTo(target.form, target.data);
    qelServices().setCursor(qelNil);
}

void VLTextDialog::openSearchDialog(const qelValue& name)
{
    textpage::openSearchDialog(name);
}

void VLTextDialog::playSound(const qelValue& name)
{
    qelValue path = textpage::linkSoundPath(name);
    if (!path.isNil())
        playSound(path, 0);
}

void VLTextDialog::key(int32_t code, int32_t modifiers)
{
    qelValue self = qelFormValue(this);
    qelMediaDialogObject::key(code, modifiers);
    if (m_videoActive) {
        stopVideo();
        return;
    }
    textpage::scrollText(*this, code);
}

void VLTextDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (m_videoActive) {
        stopVideo();
        return;
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

void VLTextDialog::mediaNotify(const qelValue& media, const qelValue& message)
{
    qelValue self = qelFormValue(this);
    if (m_videoActive && media.type() == QEL_MOVIE_TYPE && (message == "ended" || message == "aborted")) {
        stopVideo();
        return;
    }
    qelMediaDialogObject::mediaNotify(media, message);
}

void VLTextDialog::stopVideo()
{
    if (!m_videoActive)
        return;
    textpage::stopMediaControl(qelResolve(getProperty("VideoControl")));
    m_videoActive = 0;
}

void VLTextDialog::copyText(const qelValue& title, const qelValue& text)
{
    qelValue self = qelFormValue(this);
    textpage::showStatus("Copiando");
    textpage::copyToClipboard(title, text, qelNil, qelFontValue("Arial", 9, 0));
    textpage::hideStatus("Copiando");
}

void VLTextDialog::print()
{
    qelValue self = qelFormValue(this);
    textpage::showStatus("Imprimindo");
    textpage::setWaitCursor();
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    qelValue font = qelGet(attributes, "TextFont");
    if (font.type() != QEL_FONT_TYPE)
        font = qelFontValue("Arial", 9, 0);
    textpage::printText(qelResolve(getProperty("Texto")), attributes, font);
    qelServices().setCursor(qelNil);
    textpage::hideStatus("Imprimindo");
}
