#include "app/atlas/database/BDadosHForm.h"

#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"

void BDadosHForm::open(const qelValue& data)
{
    m_sectionNamePending = 1;
    BarraMenuForm::open(data);
}

qelValue BDadosHForm::historyText()
{
    return qelValue("Tela inicial do Banco de dados");
}

void BDadosHForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    bool region = name == "Regi\xE3o";
    bool bloc = name == "Bloco econ\xF4mico";
    if (!(name == "Pa\xEDses" || name == "Estados" || region || bloc)) {
        BarraMenuForm::handleControl(control);
        return;
    }
    if (m_sectionNamePending) {
        qelValue image = getProperty("SectionName Image");
        if (image.isNil())
            return;
        qelShowImageAt(image, getInt("SectionNameX", 0), getInt("SectionNameY", 0), 0, 0, 0, 0);
        qelRefreshWindowArea(0, 0, 0, 0);
        m_sectionNamePending = 0;
    }

    qelValue dialogData = qelTable(4, 100, 75);
    qelPut(dialogData, "Selection", name);
    // A button without its picture list hands the dialog no photo.
    qelValue added = object->getProperty("AddedImage");
    qelValue firstAdded = added.type() == QEL_LIST_TYPE && qelCount(added) > 0 ? qelGet(added, 0) : qelNil;
    qelPut(dialogData, "SelPhoto Image",
        firstAdded.type() == QEL_LIST_TYPE && qelCount(firstAdded) > 0 ? qelGet(firstAdded, 0) : qelNil);
    qelPut(dialogData, "SelPesq Image", getProperty(name + " SelPesq"));
    qelPut(dialogData, "SelContents Image", getProperty(name + " SelContents"));
    qelValue chosen = qelRunDialog("BDHFDialog", dialogData);
    if (chosen.type() != QEL_TABLE_TYPE)
        return;

    qelValue action = qelGet(chosen, "Action");
    qelValue search;
    if (action == "Abrir" || action == "Modificar") {
        // A copy: the keys put here stay out of the saved search kept in the user's file.
        search = qelCopy(qelGet(chosen, "Pesquisa"));
        if (search.type() != QEL_TABLE_TYPE)
            return;
        qelPut(search, "Abrir", qelMakeBoolean(action == "Abrir" ? 1 : 0));
    } else {
        search = qelTable(3, 100, 75);
        qelPut(search, "Name", qelValue("Minha Pesquisa"));
        qelPut(search, "Tipo", name);
    }
    qelValue condition;
    if (region || bloc) {
        condition = qelDoDialog(region ? "BDRegDialog" : "BDBlocoDialog");
        if (condition.isNil())
            return;
    }
    qelPut(search, "BR Cond", condition);
    qelValue found = qelRunDialog("BDMCDialog", search);
    if (found.type() == QEL_TABLE_TYPE && qelContainsKey(found, "DataRecs"))
        goToForm("BDadosForm", found);
}
