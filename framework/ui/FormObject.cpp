#include "framework/ui/FormObject.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Image.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/UiRefresh.h"

namespace {

int32_t listCount(const qelValue& list)
{
    qelListObject* object = qelListObjectOf(list);
    return object && object->kind() == QEL_GENERAL_LIST ? object->count : 0;
}

// Element n of a general list, resolved (the caller keeps n inside the list).
qelValue resolvedElement(const qelValue& list, int32_t n)
{
    return qelResolve(qelListObjectOf(list)->elementAt(n));
}

bool isBooleanTrue(const qelValue& value)
{
    return value.type() == QEL_BOOLEAN_TYPE && value.payload() != 0;
}

} // namespace

qelFormObject* qelFormOf(const qelValue& value)
{
    if (value.type() != QEL_FORM_TYPE || !value.object())
        return nullptr;
    return dynamic_cast<qelFormObject*>(value.object());
}

qelValue qelFormValue(qelFormObject* form)
{
    return qelMakeObjectValue(QEL_FORM_TYPE, form);
}

qelControlObject* qelFormObject::controlObject(const qelValue& value)
{
    return qelControlOf(qelResolve(value));
}

qelFormObject::qelFormObject(const qelValue& data)
    : properties(data)
{
}

qelFormObject::~qelFormObject() = default;

qelValue qelFormObject::printString(int32_t, int32_t quoted) const
{
    qelValue text = qelPrintValue(properties, quoted);
    int32_t length = qelCount(text);
    return qelValue("(form ") + qelMid(text, 7, length > 7 ? length - 7 : 0);
}

qelNamedObject* qelFormObject::newInstance(const qelValue& data)
{
    return new qelFormObject(data);
}

int32_t qelFormObject::hasProperty(const qelValue& key)
{
    qelTableObject* own = qelTableOf(properties);
    qelTableObject* loaded = qelTableOf(resources);
    return (own && own->find(key) >= 0) || (loaded && loaded->find(key) >= 0);
}

qelValue qelFormObject::getProperty(const qelValue& key)
{
    if (qelTableObject* own = qelTableOf(properties)) {
        if (own->find(key) >= 0)
            return own->get(key);
    }
    if (qelTableObject* loaded = qelTableOf(resources))
        return loaded->get(key);
    return qelNil;
}

void qelFormObject::setProperty(const qelValue& key, const qelValue& value)
{
    if (!qelTableOf(properties))
        properties = qelTable(4, 100, 75);
    qelTableOf(properties)->put(key, value);
}

void qelFormObject::removeProperty(const qelValue& key)
{
    if (qelTableObject* own = qelTableOf(properties))
        own->remove(key);
}

qelValue qelFormObject::propertyAt(int32_t slot)
{
    qelTableObject* own = qelTableOf(properties);
    return own ? own->valueAt(slot) : qelNil;
}

qelValue qelFormObject::perform(const qelValue& action, const qelValue&)
{
    if (action == "Draw")
        draw();
    else if (action == "DrawControls")
        drawControls();
    return qelNil;
}

qelValue qelFormObject::loadResourceTable()
{
    if (!resources.isNil())
        return resources;
    qelTableObject* own = qelTableOf(properties);
    qelValue table = own ? own->get("Resource Table") : qelNil;
    if (table.type() != QEL_TABLE_TYPE)
        table = qelLoadResource(table);
    if (table.type() != QEL_TABLE_TYPE) {
        removeProperty("LoadedResourceTable");
        return qelNil;
    }
    resources = table;
    setProperty("LoadedResourceTable", table);
    createControls();
    return resources;
}

void qelFormObject::releaseResourceTable()
{
    resources = qelNil;
    removeProperty("LoadedResourceTable");
    controls = qelNil;
    activeControl = qelNil;
    rolloverControl = qelNil;
    rolloverState = qelNil;
}

void qelFormObject::setResourceProperty(const qelValue& key, const qelValue& value)
{
    // The resource table is the form's own once loaded; before that there is none to write.
    if (qelTableObject* loaded = qelTableOf(resources))
        loaded->put(key, value);
}

void qelFormObject::draw()
{
    // A name stored under "Background Image" (the usual content) is followed to its picture.
    qelValue background = qelLoadImageResource("Background Image");
    if (!background.isNil()) {
        if (qelWindowObject* port = qelMainPort())
            port->drawImage(background, 0, 0, 0, 0, 0, 0);
    }
    drawControls();
}

void qelFormObject::createControls()
{
    controls = qelLoadResource("Control List");
    if (controls.isNil())
        return;
    activeControl = qelNil;
    qelValue list = controls;
    for (int32_t i = 0, n = listCount(list); i < n; ++i) {
        qelValue element = resolvedElement(list, i);
        qelControlObject* control = qelControlOf(element);
        if (!control)
            continue;
        control->initialize();
        if (control->canActivate() && isBooleanTrue(control->getProperty("Auto Activate")))
            activeControl = element;
    }
}

void qelFormObject::drawControls()
{
    qelValue list = controls;
    for (int32_t i = 0, n = listCount(list); i < n; ++i) {
        qelValue element = resolvedElement(list, i);
        if (qelControlObject* control = qelControlOf(element)) {
            if (control->isVisible())
                control->draw();
        }
    }
}

qelValue qelFormObject::controlList()
{
    return controls;
}

qelValue qelFormObject::setControlList(const qelValue& list)
{
    controls = list;
    return controls;
}

qelValue qelFormObject::findControl(const qelValue& key, const qelValue& value)
{
    qelValue wanted = qelResolve(value);
    qelValue list = controls;
    for (int32_t i = 0, n = listCount(list); i < n; ++i) {
        qelValue element = resolvedElement(list, i);
        qelControlObject* control = qelControlOf(element);
        if (control && qelResolve(control->getProperty(key)) == wanted)
            return element;
    }
    return qelNil;
}

qelValue qelFormObject::controlAt(int32_t x, int32_t y)
{
    int32_t localX = x - originX;
    int32_t localY = y - originY;
    qelValue list = controls;
    for (int32_t i = 0, n = listCount(list); i < n; ++i) {
        qelValue element = resolvedElement(list, i);
        qelControlObject* control = qelControlOf(element);
        if (control && control->isEnabled() && control->hitTest(localX, localY))
            return element;
    }
    return qelNil;
}

void qelFormObject::setActiveControl(const qelValue& control, int32_t on)
{
    qelControlObject* object = controlObject(control);
    qelControlObject* current = controlObject(activeControl);
    if (on) {
        if (!object || object == current || !object->canActivate())
            return;
        qelValue previous = activeControl;
        if (current)
            current->deactivate();
        activeControl = qelResolve(control);
        object->activate();
        return;
    }
    if (object && object == current) {
        qelValue keep = activeControl;
        object->deactivate();
        activeControl = qelNil;
    }
}

void qelFormObject::setControlEnabled(const qelValue& control, int32_t enable)
{
    qelControlObject* object = controlObject(control);
    if (!object)
        return;
    if (enable) {
        object->setProperty("Disabled", qelFalse);
        return;
    }
    setActiveControl(control, 0);
    object->setProperty("Disabled", qelTrue);
}

void qelFormObject::setControlHidden(const qelValue& control, int32_t hide)
{
    qelControlObject* object = controlObject(control);
    if (!object)
        return;
    if (hide) {
        setActiveControl(control, 0);
        object->setProperty("Hidden", qelTrue);
        return;
    }
    object->setProperty("Hidden", qelFalse);
}

int32_t qelFormObject::trackControl(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelControlObject* object = controlObject(control);
    return object ? object->track(x, y, modifiers, clicks) : 0;
}

void qelFormObject::handleControl(const qelValue& control)
{
    qelControlObject* object = controlObject(control);
    if (!object)
        return;
    qelValue target = object->getProperty("Target Form");
    if (!target.isNil())
        qelGoToForm(target, qelNil);
}

qelValue qelFormObject::rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers)
{
    qelControlObject* object = controlObject(control);
    return object ? object->rolloverOn(x, y, modifiers) : qelNil;
}

void qelFormObject::rolloverOff(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue&)
{
    qelControlObject* object = controlObject(control);
    if (object && object->isEnabled())
        object->rolloverOff(x, y, modifiers, rolloverState);
    else
        rolloverState = qelNil;
}

void qelFormObject::open(const qelValue&)
{
    loadResourceTable();
    originX = hasProperty("Origin X") ? qelIntValue(getProperty("Origin X")) : 0;
    originY = hasProperty("Origin Y") ? qelIntValue(getProperty("Origin Y")) : 0;

    qelValue background = qelLoadImageResource("Background Image");
    bool isImage = background.type() == QEL_IMAGE_TYPE;
    if (isImage) {
        width = qelWidth(background);
        height = qelHeight(background);
    } else {
        width = qelMediaWidth();
        height = qelMediaHeight();
    }

    qelWindowObject* port = qelMainPort();
    if (qelIsTrue(getProperty("Dialog"))) {
        if (isImage) {
            qelValue mask = qelLoadImageResource("Background Mask Image");
            if (mask.type() == QEL_IMAGE_TYPE)
                qelSetImageMask(background, mask);
            if (port)
                port->drawImage(background, originX, originY, 0, 0, 0, 0);
        }
    } else if (isImage && port) {
        port->selectPalette(background, 0, 0, width, height);
    }

    qelSetOrigin(originX, originY);
    drawControls();
    activate();
}

void qelFormObject::close()
{
    deactivate();
    activeControl = qelNil;
    if (!qelIsTrue(getProperty("Retain Resources")))
        releaseResourceTable();
}

void qelFormObject::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    // Handling the control may go to another form, which releases this one: it stays alive
    // until the press is handled.
    qelValue self = qelFormValue(this);
    qelValue target;
    if (tracking && !activeControl.isNil())
        target = activeControl;
    else
        target = controlAt(x, y);
    qelControlObject* object = controlObject(target);
    if (!object)
        return;
    if (object->canActivate() && object != controlObject(activeControl)) {
        if (qelControlObject* previous = controlObject(activeControl))
            previous->deactivate();
        activeControl = target;
        object->activate();
    }
    if (trackControl(target, x - originX, y - originY, modifiers, clicks))
        handleControl(target);
}

void qelFormObject::mouseMove(int32_t x, int32_t y, int32_t modifiers)
{
    if (tracking && !activeControl.isNil())
        return;
    qelValue self = qelFormValue(this);
    qelValue control = controlAt(x, y);
    int32_t localX = x - originX;
    int32_t localY = y - originY;
    qelControlObject* object = controlObject(control);
    qelControlObject* previous = controlObject(rolloverControl);
    if (object != previous) {
        if (previous) {
            qelValue leaving = rolloverControl;
            rolloverOff(leaving, localX, localY, modifiers, rolloverState);
        }
        rolloverControl = control;
        rolloverState = qelNil;
        if (object) {
            qelUiSetCursor(object->cursorAt(localX, localY));
            rolloverState = rolloverOn(control, localX, localY, modifiers);
        } else if (previous) {
            qelUiSetCursor(qelNil);
        }
    } else if (object) {
        qelUiSetCursor(object->cursorAt(localX, localY));
    }
}

void qelFormObject::key(int32_t code, int32_t modifiers)
{
    qelValue self = qelFormValue(this);
    qelValue control = activeControl;
    qelControlObject* object = controlObject(control);
    if (object && object->key(code, modifiers))
        handleControl(control);
}

void qelFormObject::activate()
{
    qelValue control = activeControl;
    if (qelControlObject* object = controlObject(control))
        object->activate();
}

void qelFormObject::deactivate()
{
    qelValue control = activeControl;
    if (qelControlObject* object = controlObject(control))
        object->deactivate();
}

void qelFormObject::mediaNotify(const qelValue& first, const qelValue& second)
{
    qelValue control = activeControl;
    if (qelControlObject* object = controlObject(control))
        object->mediaNotify(first, second);
}

void qelFormObject::globalToLocal(int32_t& x, int32_t& y)
{
    x -= originX;
    y -= originY;
}

qelEvent& qelFormObject::globalToLocal(qelEvent& event)
{
    event.x -= originX;
    event.y -= originY;
    return event;
}

qelEvent& qelFormObject::localToGlobal(qelEvent& event)
{
    event.x += originX;
    event.y += originY;
    return event;
}

int32_t qelFormObject::setTracking(int32_t flag)
{
    int32_t previous = tracking;
    tracking = flag;
    return previous;
}
