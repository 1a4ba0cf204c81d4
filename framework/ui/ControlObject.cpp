#include "framework/ui/ControlObject.h"

#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/UiRefresh.h"

namespace {

// The text of a table less its leading "(table ", behind the object's own keyword.
qelValue printedAs(const char* keyword, const qelValue& table, int32_t quoted)
{
    qelValue text = qelPrintValue(table, quoted);
    int32_t length = qelCount(text);
    return qelValue(keyword) + qelMid(text, 7, length > 7 ? length - 7 : 0);
}

// The current form's object when this control is its active control.
qelFormObject* formWhoseActiveControlIs(const qelControlObject* control)
{
    qelFormObject* form = qelFormOf(qelActiveForm());
    if (!form)
        return nullptr;
    return qelControlOf(qelResolve(form->activeControl)) == control ? form : nullptr;
}

} // namespace

qelControlObject* qelControlOf(const qelValue& value)
{
    if (value.type() != QEL_CONTROL_TYPE || !value.object())
        return nullptr;
    return dynamic_cast<qelControlObject*>(value.object());
}

qelValue qelControlValue(qelControlObject* control)
{
    return qelMakeObjectValue(QEL_CONTROL_TYPE, control);
}

qelControlObject::qelControlObject(const qelValue& data)
    : properties(data)
{
}

qelControlObject::~qelControlObject() = default;

qelValue qelControlObject::printString(int32_t, int32_t quoted) const
{
    return printedAs("(control ", properties, quoted);
}

qelNamedObject* qelControlObject::newInstance(const qelValue& data)
{
    return new qelControlObject(data);
}

int32_t qelControlObject::hasProperty(const qelValue& key)
{
    qelTableObject* table = qelTableOf(properties);
    return table && table->find(key) >= 0;
}

qelValue qelControlObject::getProperty(const qelValue& key)
{
    qelTableObject* table = qelTableOf(properties);
    return table ? table->get(key) : qelNil;
}

int32_t qelControlObject::getBool(const qelValue& key, int32_t defaultValue)
{
    if (!hasProperty(key))
        return defaultValue;
    return qelIsTrue(qelTableOf(properties)->get(key)) ? 1 : 0;
}

int32_t qelControlObject::getInt(const qelValue& key, int32_t defaultValue)
{
    if (!hasProperty(key))
        return defaultValue;
    return qelIntValue(qelTableOf(properties)->get(key));
}

void qelControlObject::setProperty(const qelValue& key, const qelValue& value)
{
    // A control made without a table (a prototype) gets one at its first write.
    if (!qelTableOf(properties))
        properties = qelTable(4, 100, 75);
    qelTableOf(properties)->put(key, value);
}

void qelControlObject::setBool(const qelValue& key, int32_t flag)
{
    setProperty(key, qelMakeBoolean(flag));
}

void qelControlObject::setInt(const qelValue& key, int32_t n)
{
    setProperty(key, qelMakeInt(n));
}

void qelControlObject::removeProperty(const qelValue& key)
{
    if (qelTableObject* table = qelTableOf(properties))
        table->remove(key);
}

qelValue qelControlObject::propertyAt(int32_t slot)
{
    qelTableObject* table = qelTableOf(properties);
    return table ? table->valueAt(slot) : qelNil;
}

qelValue qelControlObject::perform(const qelValue& action, const qelValue& data)
{
    if (action == "Draw") {
        draw();
    } else if (action == "Activate") {
        activate();
    } else if (action == "Deactivate") {
        deactivate();
    } else if (action == "Key") {
        return qelMakeBoolean(key(qelIntAt(data, 0), qelIntAt(data, 1)) != 0);
    } else if (action == "Track") {
        return qelMakeBoolean(track(qelIntAt(data, 0), qelIntAt(data, 1), qelIntAt(data, 2), qelIntAt(data, 3)) != 0);
    }
    return qelNil;
}

int32_t qelControlObject::isVisible()
{
    return !getBool("Hidden", 0);
}

int32_t qelControlObject::isEnabled()
{
    return !getBool("Disabled", 0) && isVisible();
}

int32_t qelControlObject::isActive()
{
    return getBool("Active", 0);
}

int32_t qelControlObject::canActivate()
{
    return isEnabled();
}

void qelControlObject::activate()
{
    setBool("Active", 1);
}

void qelControlObject::deactivate()
{
    setBool("Active", 0);
}

qelValue qelControlObject::hotSpot()
{
    qelValue spot = qelResolve(getProperty("Hot Spot"));
    return spot.type() == QEL_REGION_TYPE ? spot : qelNil;
}

int32_t qelControlObject::hitTest(int32_t x, int32_t y)
{
    // Only a region can hold a point: any other stored value (content gone wrong) is never hit,
    // rather than a type error that would end the program.
    qelValue spot = hotSpot();
    return !spot.isNil() && qelContainsPoint(spot, x, y);
}

qelValue qelControlObject::getHelp()
{
    return isEnabled() ? getProperty("Help") : qelNil;
}

qelValue qelControlObject::getCursor()
{
    qelValue cursor = getProperty("Cursor");
    if (cursor.isNil() || cursor.type() == QEL_CURSOR_TYPE)
        return cursor;
    return qelLoadResource(cursor);
}

int32_t qelControlObject::track(int32_t, int32_t, int32_t, int32_t)
{
    qelValue spot = hotSpot();
    trackStart();
    drawPressed();
    PressEnd end = followPress(spot);
    if (end.inside)
        draw();
    trackEnd();
    return end.inside ? 1 : 0;
}

int32_t qelControlObject::pressMoved(int32_t inside, int32_t crossed)
{
    if (!crossed)
        return 0;
    if (inside) {
        qelUiSetCursor(getCursor());
        drawPressed();
    } else {
        draw();
        qelUiSetCursor(qelNil);
    }
    return 1;
}

qelControlObject::PressEnd qelControlObject::followPress(const qelValue& spot)
{
    PressEnd end;
    bool changed = false;
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        // An empty event comes only when no window layer can post anything: no button-up will
        // ever come, so the press ends where it is.
        if (event.type == 0) {
            end.releasedInside = end.inside;
            break;
        }
        if (event.type != QEL_DRAG_EVENT && event.type != QEL_MOUSE_UP_EVENT)
            continue;
        qelLocalizeEvent(event);
        bool contains = !spot.isNil() && qelContainsPoint(spot, event.x, event.y);
        if (event.type == QEL_MOUSE_UP_EVENT) {
            end.releasedInside = contains;
            break;
        }
        bool crossed = contains != end.inside;
        end.inside = contains;
        if (pressMoved(contains, crossed))
            changed = true;
        if (changed) {
            qelUiUpdateWindow();
            trackChanged();
        }
    }
    return end;
}

int32_t qelControlObject::setFormTracking(int32_t flag)
{
    qelFormObject* form = formWhoseActiveControlIs(this);
    return form ? form->setTracking(flag) : 0;
}

int32_t qelControlObject::hotSpotLeft()
{
    qelValue spot = hotSpot();
    return spot.isNil() ? 0 : qelLeft(spot);
}

int32_t qelControlObject::hotSpotTop()
{
    qelValue spot = hotSpot();
    return spot.isNil() ? 0 : qelTop(spot);
}

int32_t qelControlObject::hotSpotWidth()
{
    qelValue spot = hotSpot();
    return spot.isNil() ? 0 : qelWidth(spot);
}

int32_t qelControlObject::hotSpotHeight()
{
    qelValue spot = hotSpot();
    return spot.isNil() ? 0 : qelHeight(spot);
}

void qelControlObject::releaseFocus()
{
    qelFormObject* form = formWhoseActiveControlIs(this);
    if (!form)
        return;
    // The form may hold the last other reference: keep this control alive through the call.
    qelValue self = qelControlValue(this);
    form->setActiveControl(self, 0);
}
