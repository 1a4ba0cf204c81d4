#include "framework/ui/DialogObject.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"

#include <algorithm>

namespace {

constexpr int32_t ESCAPE_KEY = 27;
constexpr int32_t MOUSE_EVENTS = QEL_MOUSE_MOVE_EVENT | QEL_MOUSE_DOWN_EVENT | QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT;

} // namespace

qelDialogObject* qelDialogOf(const qelValue& value)
{
    qelFormObject* form = qelFormOf(value);
    return form ? dynamic_cast<qelDialogObject*>(form) : nullptr;
}

qelDialogObject::qelDialogObject(const qelValue& data)
    : qelFormObject(data)
{
}

qelDialogObject::~qelDialogObject() = default;

qelNamedObject* qelDialogObject::newInstance(const qelValue& data)
{
    return new qelDialogObject(data);
}

void qelDialogObject::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(qelResolve(control));
    if (object && object->getProperty("Action") == "close")
        endDialog();
}

int32_t qelDialogObject::intResource(const char* name)
{
    return qelIntValue(qelLoadResource(name));
}

void qelDialogObject::open(const qelValue&)
{
    loadResourceTable();
    setControlList(qelLoadResource("Control List"));
    qelValue background = qelLoadImageResource("Background Image");
    if (!background.isNil()) {
        width = qelWidth(background);
        height = qelHeight(background);
    } else {
        width = intResource("Width");
        height = intResource("Height");
    }
    originX = intResource("Origin X");
    originY = intResource("Origin Y");
    qelSetOrigin(0, 0, &savedOriginX, &savedOriginY);
    savedBackground = qelGrabWindowImage(originX, originY, width, height);
    done = 0;
    qelSetOrigin(originX, originY);
    qelFlushEvents(MOUSE_EVENTS);
    draw();
    activate();
}

void qelDialogObject::close()
{
    deactivate();
    activeControl = qelNil;
    if (!savedBackground.isNil()) {
        qelValue background = savedBackground;
        savedBackground = qelNil;
        qelSetOrigin(originX, originY);
        qelShowImageAt(background, 0, 0, 0, 0, 0, 0);
    }
    releaseResourceTable();
    qelSetOrigin(savedOriginX, savedOriginY);
}

void qelDialogObject::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    if (x < originX || y < originY || x > originX + width || y > originY + height) {
        if (hasProperty("Dialog Beep Sound")) {
            // Only a sound can play: content naming a missing file stays silent.
            qelValue beep = qelResolve(getProperty("Dialog Beep Sound"));
            if (beep.type() == QEL_SOUND_TYPE)
                qelPlay(beep, 0, -1, 0);
        }
        return;
    }
    qelValue dragRect = qelLoadResource("Drag Rect");
    if (dragRect.type() == QEL_REGION_TYPE && qelContainsPoint(dragRect, x - originX, y - originY)) {
        drag(x, y);
        return;
    }
    qelFormObject::mouseDown(x, y, modifiers, clicks);
}

void qelDialogObject::key(int32_t code, int32_t modifiers)
{
    if (code == ESCAPE_KEY) {
        endDialog();
        return;
    }
    qelFormObject::key(code, modifiers);
}

void qelDialogObject::drag(int32_t x, int32_t y)
{
    dragWith(x, y, DragStyle {});
    activate();
}

void qelDialogObject::dragWith(int32_t x, int32_t y, const DragStyle& style)
{
    qelValue self = qelFormValue(this);
    int32_t mediaWidth = qelMediaWidth();
    int32_t mediaHeight = qelMediaHeight();
    int32_t minX = 10;
    int32_t maxX = mediaWidth - 10;
    int32_t minY = 10;
    int32_t maxY = mediaHeight - style.bottomMargin;

    deactivate();
    qelSetOrigin(0, 0);

    qelValue picture;
    bool inside = originX >= 0 && originY >= 0 && originX + width < mediaWidth && originY + height < mediaHeight;
    if (style.pictureFromScreen && inside) {
        picture = qelGrabWindowImage(originX, originY, width, height);
    } else {
        // The dialog is drawn at the screen's corner, taken, and the corner put back.
        qelValue corner = qelGrabWindowImage(0, 0, width, height);
        int32_t keptX = originX;
        int32_t keptY = originY;
        originX = 0;
        originY = 0;
        if (style.pictureFromScreen)
            qelShowImageAt(qelLoadImageResource(dragBackdrop()), 0, 0, 0, 0, 0, 0);
        draw();
        originX = keptX;
        originY = keptY;
        picture = qelGrabWindowImage(0, 0, width, height);
        qelShowImageAt(corner, 0, 0, 0, 0, 0, 0);
    }

    if (style.flushDrags)
        qelFlushEvents(QEL_DRAG_EVENT);
    int32_t dx = x - originX;
    int32_t dy = y - originY;
    while (true) {
        qelEvent event;
        qelGetEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, -1);
        // The empty event comes only when no window layer can post anything: no release will
        // ever come, so the dialog stays where it is.
        if (event.type != QEL_DRAG_EVENT)
            break;
        int32_t px = std::clamp(event.x, minX, std::max(minX, maxX));
        int32_t py = std::clamp(event.y, minY, std::max(minY, maxY));
        qelShowImageAt(savedBackground, originX, originY, 0, 0, 0, 0);
        originX = px - dx;
        originY = py - dy;
        if (style.copyIntoSaved && !savedBackground.isNil())
            qelCopyWindowArea(savedBackground, originX, originY, width, height);
        else
            savedBackground = qelGrabWindowImage(originX, originY, width, height);
        qelShowImageAt(picture, originX, originY, 0, 0, 0, 0);
        qelRefreshWindowArea(0, 0, 0, 0);
    }
    qelSetOrigin(originX, originY);
}

qelValue qelRunDialog(const qelValue& dialogOrName, const qelValue& data)
{
    qelValue dialog = dialogOrName;
    if (dialog.type() != QEL_FORM_TYPE && !dialog.isNil())
        dialog = qelLoadResource(dialog);
    qelDialogObject* object = qelDialogOf(dialog);
    if (!object) {
        // A modal run needs a dialog object; without one there is nothing to run.
        qelError("Cannot find dialog named '" + dialogOrName + "'");
        return qelNil;
    }
    // A dialog that is running already (a second quit reaching the same quit dialog) is not run
    // again inside itself, which would take over its saved screen and controls.
    if (object->running)
        return qelNil;

    qelValue previous = qelActiveForm();
    if (qelFormEventProtocol* form = qelFormEventsOf(previous))
        form->deactivate();
    qelSetActiveForm(dialog);
    object->running = 1;
    object->open(data);
    while (!object->done) {
        qelEvent event;
        qelGetEvent(event, QEL_ALL_EVENTS, -1);
        qelEnvironment* environment = qelCurrentEnv();
        // The empty event comes only when no window layer can post anything: nothing more will
        // come to end the dialog.
        if (!environment || event.type == 0) {
            object->done = 1;
            break;
        }
        if (!environment->dispatch(event)) {
            qelSetQuitFlag(1);
            object->done = 1;
        }
    }
    qelValue result = object->result();
    object->close();
    object->running = 0;
    qelSetActiveForm(previous);
    if (qelFormEventProtocol* form = qelFormEventsOf(previous))
        form->activate();
    return result;
}

qelValue qelDoDialog(const qelValue& dialog)
{
    return qelRunDialog(dialog, qelNil);
}
