#include "app/atlas/AtlasHForm.h"

#include "app/atlas/AtlasThemes.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"

#include <cstring>

namespace {

// The buttons whose entry of "SubMenus" is the data of the list chooser (cp1252).
const char* const listButtons[] = { "Indice", "\xC1sia", "\xC1" "frica", "Europa", "Oceania" };

bool isListButton(const qelValue& name)
{
    if (!name.isString())
        return false;
    for (const char* button : listButtons) {
        if (std::strcmp(qelCString(name), button) == 0)
            return true;
    }
    return false;
}

bool holdsText(const qelValue& value)
{
    return value.type() == QEL_TABLE_TYPE && qelContainsKey(value, "Text");
}

} // namespace

void AtlasHForm::open(const qelValue& data)
{
    m_sectionNamePending = 1;
    BarraMenuForm::open(data);
}

qelValue AtlasHForm::historyText()
{
    return qelValue("Tela inicial do Atlas");
}

void AtlasHForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (!object->hasProperty("PopUpX")) {
        if (name == "VideoControl")
            atlasStopVideo(control);
        else
            BarraMenuForm::handleControl(control);
        return;
    }
    if (m_sectionNamePending) {
        qelValue image = qelResolve(getProperty("SectionName Image"));
        // Why: without the section's name the screen is not ready for its menus; the click ends.
        if (image.isNil())
            return;
        qelShowImageAt(image, getInt("SectionNameX", 0), getInt("SectionNameY", 0), 0, 0, 0, 0);
        qelRefreshWindowArea(0, 0, 0, 0);
        m_sectionNamePending = 0;
    }
    qelValue entry = m_subMenus.type() == QEL_TABLE_TYPE ? qelResolve(qelGet(m_subMenus, name)) : qelNil;
    if (isListButton(name)) {
        qelValue choice = qelRunDialog("AtlasDlg", entry);
        if (holdsText(choice))
            goToForm("AtlasForm", qelGet(choice, "Text"));
        return;
    }
    // A button without a menu of its own opens nothing (the menu's added picture has no table
    // to go into).
    if (entry.type() != QEL_TABLE_TYPE)
        return;
    qelPut(entry, "AddedImage", object->getProperty("AddedImage"));
    followMenuChoice(qelRunDialog("PopUpMenu", entry));
}

void AtlasHForm::followMenuChoice(const qelValue& choice)
{
    if (holdsText(choice)) {
        qelValue text = qelGet(choice, "Text");
        AtlasTheme theme = atlasTheme(text);
        if (theme.video)
            playThemeVideo(qelValue(theme.video), false);
        else if (theme.infoPage)
            showInfoPage(qelValue(theme.infoPage));
        else
            goToForm("AtlasForm", text);
        return;
    }
    if (choice.type() == QEL_LIST_TYPE && qelCount(choice) > 1 && qelGet(choice, 1).isString())
        goToForm(qelGet(choice, 1), qelNil);
}

void AtlasHForm::showInfoPage(const qelValue& name)
{
    atlasShowInfoPage(*this, name);
}

void AtlasHForm::playThemeVideo(const qelValue& name, bool untilStopped)
{
    atlasPlayVideo(*this, name, untilStopped);
}
