#include "app/reference/JMidiaHForm.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"

void JMidiaHForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    if (!object || !object->hasProperty("TypeID")) {
        BarraMenuForm::handleControl(control);
        return;
    }
    int32_t type = qelIntValue(object->getProperty("TypeID"));
    qelValue data = qelResolve(qelGet(m_subMenus, object->getProperty("Name")));
    // A button without its entry still opens its category.
    if (data.type() != QEL_TABLE_TYPE)
        data = qelTable(4, 100, 75);
    qelPut(data, "SCatID", qelMakeInt(type));
    bool textCategory = type == 4 || type == 8 || type == 10;
    qelValue result = qelRunDialog(textCategory ? "MidiasDlg" : "MidiaHFDialog", data);
    if (result.type() != QEL_TABLE_TYPE)
        return;
    if (qelContainsKey(result, "Jump")) {
        goToForm(qelGet(result, "Form"), qelGet(result, "Data"));
    } else if (type == 7) {
        qelValue valid = qelResolve(qelLoadResource("ValidInfos"));
        qelValue page = qelGet(result, "FName");
        if (page.isString() && valid.type() == QEL_LIST_TYPE) {
            qelValue lower = qelLowerCase(page);
            if (qelIndexOf(valid, lower) >= 0)
                goToForm(lower, qelNil);
        }
    } else if (qelContainsKey(result, "Text")) {
        goToForm("MidiasForm", result);
    }
}

qelValue JMidiaHForm::historyText()
{
    return qelValue("Tela inicial de M\xED" "dias");
}
