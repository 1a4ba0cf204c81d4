#include "app/reference/VerbHForm.h"

#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"

void VerbHForm::open(const qelValue& data)
{
    m_firstClick = 1;
    BarraMenuForm::open(data);
}

qelValue VerbHForm::historyText()
{
    return qelValue("Tela inicial de Verbetes");
}

void VerbHForm::showSectionName()
{
    qelValue image = qelResolve(getProperty("SectionName Image"));
    if (image.isNil())
        return;
    int32_t x = qelIntValue(qelResolve(getProperty("SectionNameX")));
    int32_t y = qelIntValue(qelResolve(getProperty("SectionNameY")));
    qelShowImageAt(image, x, y, 0, 0, 0, 0);
    qelRefreshWindowArea(0, 0, 0, 0);
    m_firstClick = 0;
}

void VerbHForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (!object || !object->hasProperty("PopUpX")) {
        BarraMenuForm::handleControl(control);
        return;
    }
    // A screen without its name picture still opens its menus; it only has nothing to show.
    if (m_firstClick)
        showSectionName();
    qelValue name = qelResolve(object->getProperty("Name"));
    qelValue result = runSectionDialog(name, control);
    qelTableObject* table = qelTableOf(result);
    if (table && table->find("Text") >= 0)
        openEntry(result);
}

qelValue VerbHForm::runSectionDialog(const qelValue& name, const qelValue& control)
{
    qelTableObject* subMenus = qelTableOf(m_subMenus);
    qelValue menu = subMenus ? qelResolve(subMenus->get(name)) : qelNil;
    if (name == "Indice")
        return qelRunDialog(qelValue("VerbetesDlg"), menu);
    if (name == "Roteiros")
        return qelDoDialog(qelValue("VBDialogHF"));
    // The stored table itself takes the button's picture: the menu shows it while it is open.
    if (qelTableObject* table = qelTableOf(menu))
        table->put("AddedImage", qelControlOf(control)->getProperty("AddedImage"));
    return qelRunDialog(qelValue("PopUpMenu"), menu);
}

void VerbHForm::openEntry(const qelValue& result)
{
    goToForm(qelValue("VerbeteForm"), result);
}
