#include "framework/ui/Navigation.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormObject.h"

bool qelFormIsRecorded(const qelValue& form)
{
    qelFormObject* object = qelFormOf(form);
    if (!object)
        return false;
    qelValue include = object->getProperty("Include In History");
    return !(include.type() == QEL_BOOLEAN_TYPE && include.payload() == 0);
}

void qelOpenTargetForm(const qelValue& target, const qelValue& data)
{
    qelValue form = target;
    if (form.type() != QEL_FORM_TYPE) {
        form = qelLoadResource(target);
        if (form.type() != QEL_FORM_TYPE && !form.isNil())
            form = qelLoadResource(form);
    }
    qelFormObject* object = qelFormOf(form);
    if (!object) {
        // Nothing that is not a form may become the current form: the environment would hand
        // events to it.
        qelSetActiveForm(qelNil);
        qelError(qelValue("Cannot find form named '") + target + "'");
        return;
    }
    // The form must be current while it opens: its resources resolve through it.
    qelSetActiveForm(form);
    object->open(data);
    object->afterOpen();
}

bool qelLeaveFormFor(const qelValue& target, const qelValue& data, int32_t record, qelFormRecorder push,
    void (*afterRecording)())
{
    qelValue current = qelActiveForm();
    if (qelFormObject* form = qelFormOf(current)) {
        qelValue name = form->formName();
        if (record && qelFormIsRecorded(current))
            push(name, form->historyText());
        if (afterRecording)
            afterRecording();
        if (name == target) {
            form->reenter(data);
            return false;
        }
        form->close();
    }
    qelSetActiveForm(qelNil);
    qelOpenTargetForm(target, data);
    return true;
}

void qelGoToFormEx(const qelValue& target, const qelValue& data, int32_t record)
{
    qelLeaveFormFor(target, data, record, qelPushFormHistory);
}

void qelPushFormHistory(const qelValue& name, const qelValue& value)
{
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment)
        return;
    qelValue entry = qelMakeList(2, 100, QEL_GENERAL_LIST);
    qelListObjectOf(entry)->append(name);
    qelListObjectOf(entry)->append(value);
    qelListObject* list = qelListObjectOf(environment->history);
    if (!list) {
        environment->history = qelMakeList(4, 100, QEL_GENERAL_LIST);
        qelListObjectOf(environment->history)->append(entry);
        return;
    }
    if (list->count > 0) {
        qelListObject* last = qelListObjectOf(list->elementAt(list->count - 1));
        if (last && last->count >= 2 && last->elementAt(0) == name && last->elementAt(1) == value)
            return;
    }
    list->append(entry);
}
