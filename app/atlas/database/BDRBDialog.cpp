#include "app/atlas/database/BDRBDialog.h"

#include "framework/runtime/Builtins.h"
#include "framework/ui/ControlObject.h"

namespace {

constexpr int32_t escapeKey = 27;

} // namespace

void BDRBDialog::open(const qelValue& data)
{
    loadResourceTable();
    m_choice = hasProperty("Asean") ? qelValue("Asean") : qelValue("Centro-Oeste");
    qelMediaDialogObject::open(data);
}

void BDRBDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (name == "Cancelar" || name == "Fechar") {
        m_choice = qelNil;
        endDialog();
    } else if (name == "Ok") {
        endDialog();
    } else if (object->hasProperty("Option")) {
        m_choice = name;
    } else {
        qelMediaDialogObject::handleControl(control);
    }
}

void BDRBDialog::key(int32_t code, int32_t modifiers)
{
    // Escape leaves as "Cancelar" does: nothing chosen.
    if (code == escapeKey)
        m_choice = qelNil;
    qelMediaDialogObject::key(code, modifiers);
}
