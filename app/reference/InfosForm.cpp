#include "app/reference/InfosForm.h"

#include "app/shell/PicturePrint.h"
#include "app/shell/TextPage.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

constexpr const char* infographicCategory = "Infogr\xE1" "fico";

// A picture given by value or by resource name.
qelValue picture(const qelValue& image)
{
    return image.type() == QEL_IMAGE_TYPE ? image : qelLoadImageResource(image);
}

} // namespace

void InfosForm::open(const qelValue& data)
{
    loadResourceTable();
    if (hasProperty("Copiar")) {
        qelValue copiar = qelResolve(getProperty("Copiar"));
        if (qelControlOf(copiar))
            qelPut(copiar, qelValue("Disabled"), qelFalse);
    }
    m_historyStep = hasProperty("History") ? 0 : 1;
    m_popUpShown = 0;
    m_popUpRect = qelNil;
    m_currentCategory = qelValue(infographicCategory);
    BarraMenuForm::open(data);
}

void InfosForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Voltar") {
        // Step 0 names no entry right after a page was opened (the history stands past its
        // last entry): every page goes back to the screen recorded last.
        goHistory(1);
    } else if (name == "Imprimir") {
        print();
    } else if (name == "Copiar") {
        copyPicture();
    } else if (object && object->hasProperty("PopUpId")) {
        hotSpot(control);
    } else {
        BarraMenuForm::handleControl(control);
    }
}

void InfosForm::hotSpot(const qelValue& control)
{
    qelValue list = qelResolve(getProperty("PopUpList"));
    if (!qelTableOf(list))
        return;
    qelValue id = qelControlOf(control)->getProperty("PopUpId");
    qelValue key = id.isString() ? qelValue("Item") + id : qelValue("Item") + qelIntValue(id);
    qelValue action = qelGet(list, key);
    if (action.type() == QEL_LIST_TYPE) {
        showPopUp(action);
        return;
    }
    if (!action.isString())
        return;
    std::string text(qelCString(action), size_t(qelCount(action)));
    size_t semicolon = text.find(';');
    std::string form = text.substr(0, semicolon);
    qelValue formName = qelStringValueN(form.data(), int32_t(form.size()));
    qelValue valid = qelResolve(qelLoadResource("ValidForms"));
    if (valid.type() != QEL_LIST_TYPE || qelIndexOf(valid, formName) < 0)
        return;
    // Listed but not on the disk: going there would end the program.
    if (!textpage::isKnownForm(formName))
        return;
    qelValue data;
    if (semicolon != std::string::npos) {
        size_t end = text.find(';', semicolon + 1);
        std::string piece = text.substr(semicolon + 1, end == std::string::npos ? std::string::npos : end - semicolon - 1);
        data = qelStringValueN(piece.data(), int32_t(piece.size()));
    }
    goToForm(formName, data);
}

void InfosForm::showPopUp(const qelValue& action)
{
    qelValue image = picture(qelGet(action, 0));
    qelValue popUp = qelResolve(getProperty("PopUpImage"));
    if (qelCount(action) < 3 || image.type() != QEL_IMAGE_TYPE || !qelControlOf(popUp))
        return;
    // A pop-up already shown goes first, so the page under it comes back whole.
    if (m_popUpShown)
        hidePopUp();
    int32_t x = qelIntValue(qelGet(action, 1));
    int32_t y = qelIntValue(qelGet(action, 2));
    m_popUpRect = qelRectValue(x, y, qelWidth(image), qelHeight(image));
    qelPut(popUp, qelValue("Image"), image);
    qelPut(popUp, qelValue("X"), qelValue(x));
    qelPut(popUp, qelValue("Y"), qelValue(y));
    qelPut(popUp, qelValue("Hidden"), qelFalse);
    qelPerformAction(popUp, "Draw");
    if (qelCount(action) >= 4 && qelGet(action, 3).isString()) {
        qelRefreshWindowArea(0, 0, 0, 0);
        playPopUpSound(qelPathJoin(qelMediaPath(), qelGet(action, 3)));
    }
    qelValue group = qelResolve(getProperty("ControlGroup"));
    if (qelControlOf(group))
        qelPerform(group, "Show", qelFalse);
    m_popUpShown = 1;
}

void InfosForm::hidePopUp()
{
    qelValue popUp = qelResolve(getProperty("PopUpImage"));
    if (qelControlOf(popUp)) {
        qelPut(popUp, qelValue("Hidden"), qelTrue);
        qelPerformAction(popUp, "Draw");
    }
    qelValue group = qelResolve(getProperty("ControlGroup"));
    if (qelControlOf(group))
        qelPerform(group, "Show", qelTrue);
    m_popUpShown = 0;
}

void InfosForm::playPopUpSound(const qelValue& path)
{
    playSound(path, 0);
}

void InfosForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (m_popUpShown == 1 && !qelContainsPoint(m_popUpRect, x - originX, y - originY)) {
        hidePopUp();
        return;
    }
    BarraMenuForm::mouseDown(x, y, modifiers, clicks);
}

void InfosForm::copyPicture()
{
    textpage::showStatus("Copiando");
    qelValue background = qelLoadImageResource("Background Image");
    if (background.type() == QEL_IMAGE_TYPE)
        qelCopyImageToClipboard(background);
    textpage::hideStatus("Copiando");
}

PicturePage InfosForm::printedPage()
{
    PicturePage page;
    page.documentName = "VL99 - Infogr\xE1" "fico";
    page.headerText = qelValue("Velarim 98 - Infogr\xE1" "fico");
    page.picture = qelLoadImageResource("Background Image");
    return page;
}

void InfosForm::print()
{
    printPicturePage(*this, printedPage());
}

qelValue InfosForm::historyText()
{
    return m_historyStep == 0 ? getProperty("History") : qelNil;
}
