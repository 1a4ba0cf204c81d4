#include "app/shell/VLTextForm.h"

#include "app/shell/TextPage.h"
#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"

namespace {

// Link types that open the media page on a screen, whatever their target.
const char* const mediaTypes[] = { "anim", "bandeira", "crono", "foto", "livro", "tabela", "video", nullptr };
// Targets of "imagem" links that are infographic pages rather than media.
const char* const infoPrefixes[] = { "in", "mm", "mb", nullptr };

bool isEndNotice(const qelValue& message)
{
    return message == "ended" || message == "aborted";
}

} // namespace

void VLTextForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (object && object->hasProperty("HyperLink")) {
        qelValue context = qelPerform(control, "GetContext", qelNil);
        // No link under the click (or a value that is no link) does nothing.
        if (context.isString())
            followLink(context);
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
        stopMedia();
        return;
    }
    BarraMenuForm::handleControl(control);
}

void VLTextForm::followLink(const qelValue& context)
{
    textpage::Link link = textpage::splitLink(context);
    bool image = link.type == "imagem";
    bool infoImage = image && textpage::typeIn(link.prefix, infoPrefixes);
    if (textpage::typeIn(link.type, mediaTypes) || (image && !infoImage)) {
        openLink(qelValue("MidiasForm;") + link.lowerTarget);
    } else if (link.type == "info" || infoImage) {
        openInfo(link.lowerTarget);
    } else if (link.type == "mapa") {
        if (textpage::isValidInfo(link.lowerTarget))
            openInfo(link.lowerTarget);
        else
            openLink(qelValue("AtlasForm;") + link.lowerTarget);
    } else if (link.type == "audio") {
        playSound(link.target);
    } else if (link.type == "jump") {
        openLink(link.target);
    } else {
        textpage::unknownAction(link.type, link.target);
    }
}

void VLTextForm::openInfo(const qelValue& lowerName)
{
    // "ValidInfos" lists only registered pages, but a list out of step with the registrations
    // must not end the program.
    if (textpage::isValidInfo(lowerName) && textpage::isKnownForm(lowerName))
        goToForm(lowerName, qelNil);
}

void VLTextForm::openLink(const qelValue& link)
{
    qelValue self = qelFormValue(this);
    textpage::setWaitCursor();
    textpage::LinkForm target = textpage::linkForm(link);
    if (!target.opens) {
        qelServices().setCursor(qelNil);
        return;
    }
    // Going to a name that no form answers would end the program: the link is reported as an
    // action the page does not know instead.
    if (!textpage::isKnownForm(target.form)) {
        qelServices().setCursor(qelNil);
        textpage::unknownAction("jump", link);
        return;
    }
    goToForm(target.form, target.data);
}

void VLTextForm::openSearchDialog(const qelValue& name)
{
    textpage::openSearchDialog(name);
}

void VLTextForm::playSound(const qelValue& name)
{
    qelValue path = textpage::linkSoundPath(name);
    if (!path.isNil())
        playSound(path, 0);
}

void VLTextForm::key(int32_t code, int32_t modifiers)
{
    qelValue self = qelFormValue(this);
    BarraMenuForm::key(code, modifiers);
    if (m_animActive || m_videoActive) {
        stopMedia();
        return;
    }
    textpage::scrollText(*this, code);
}

void VLTextForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (m_animActive || m_videoActive) {
        stopMedia();
        return;
    }
    BarraMenuForm::mouseDown(x, y, modifiers, clicks);
}

void VLTextForm::mediaNotify(const qelValue& media, const qelValue& message)
{
    qelValue self = qelFormValue(this);
    if (media.type() == QEL_MOVIE_TYPE && isEndNotice(message)) {
        // The medium whose movie ended stops; when the controls cannot tell, the animation goes
        // first as one stop always does.
        qelValue anim = qelResolve(getProperty("AnimControl"));
        qelValue video = qelResolve(getProperty("VideoControl"));
        bool animSent = m_animActive && textpage::controlPlays(anim, media);
        bool videoSent = m_videoActive && textpage::controlPlays(video, media);
        bool known = textpage::controlPlays(anim, media) || textpage::controlPlays(video, media);
        if (animSent) {
            textpage::stopMediaControl(anim);
            m_animActive = 0;
            return;
        }
        if (videoSent) {
            textpage::stopMediaControl(video);
            m_videoActive = 0;
            return;
        }
        if (!known && (m_animActive || m_videoActive) && !(media == this->video)) {
            stopMedia();
            return;
        }
    }
    // Every other notice (the screen's own sound and video, the active control's movie) goes on
    // to the screen's handling.
    BarraMenuForm::mediaNotify(media, message);
}

void VLTextForm::stopMedia()
{
    if (m_animActive) {
        textpage::stopMediaControl(qelResolve(getProperty("AnimControl")));
        m_animActive = 0;
    } else if (m_videoActive) {
        textpage::stopMediaControl(qelResolve(getProperty("VideoControl")));
        m_videoActive = 0;
    }
}

void VLTextForm::copyText(const qelValue& title, const qelValue& text)
{
    qelValue self = qelFormValue(this);
    textpage::showStatus("Copiando");
    textpage::copyToClipboard(title, text, textpage::dropCapLetter(text), qelFontValue("Verdana", 9, 0));
    textpage::hideStatus("Copiando");
}

void VLTextForm::print()
{
    qelValue self = qelFormValue(this);
    textpage::setWaitCursor();
    textpage::showStatus("Imprimindo");
    textpage::printText(
        qelResolve(getProperty("Texto")), qelResolve(getProperty("PrintAttributes")), qelFontValue("Arial", 11, 0));
    qelServices().setCursor(qelNil);
    textpage::hideStatus("Imprimindo");
}
