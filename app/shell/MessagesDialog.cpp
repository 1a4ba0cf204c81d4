#include "app/shell/MessagesDialog.h"

#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"

namespace {

// The answers as the runtime's strings are written (cp1252).
constexpr const char* yes = "Sim";
constexpr const char* no = "N\xE3o";

} // namespace

void MessagesDialog::open(const qelValue& data)
{
    m_result = qelValue(no);
    qelMediaDialogObject::open(data);
}

void MessagesDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (name == yes) {
        m_result = qelValue(yes);
        endDialog();
    } else if (name == no || name == "Fechar") {
        m_result = qelValue(no);
        endDialog();
    }
}

void MessagesDialog::key(int32_t code, int32_t modifiers)
{
    if (code == QEL_KEY_ENTER) {
        m_result = qelValue(no);
        endDialog();
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}
