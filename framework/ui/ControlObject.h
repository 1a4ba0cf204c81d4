#pragma once

// qelControlObject: the root of every control (value type 22). Its whole state is its property
// table, the data table it was made from (kept itself, not copied), so resource files configure
// controls and forms change them with qelPut:
//
//   "Hidden"        truth   not drawn and never hit
//   "Disabled"      truth   ignores the mouse, cannot take the focus
//   "Active"        truth   has the focus (written by activate and deactivate)
//   "Hot Spot"      region  the clickable area in form-local coordinates (or a reference to one)
//   "Help"          any     help text, answered while the control is enabled
//   "Cursor"        cursor  or a cursor resource name; nil is the arrow
//   "Target Form"   name    read by the form when the control is used
//   "Auto Activate" bool    must be the boolean true for the form to give the control the focus
//
// The operations are the ones a form calls on its controls, with neutral defaults; the media
// control layer and the concrete control classes override them.

#include "framework/display/Geometry.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelControlObject : public qelNamedObject, public qelPropertyProtocol, public qelGeometryProtocol {
public:
    explicit qelControlObject(const qelValue& data);
    ~qelControlObject() override;

    // "(control " followed by the property table's text less its leading "(table ".
    qelValue printString(int32_t typeCode, int32_t quoted) const override;
    const char* className() const override { return "qelControlObject"; }
    qelNamedObject* newInstance(const qelValue& data) override;

    // Called once by the form for every control it builds.
    virtual void initialize() { }
    int32_t hasProperty(const qelValue& key) override;
    qelValue getProperty(const qelValue& key) override;
    // Absent: the default; present: its truth (qelIsTrue).
    virtual int32_t getBool(const qelValue& key, int32_t defaultValue);
    // Absent: the default; present: qelIntValue of it.
    virtual int32_t getInt(const qelValue& key, int32_t defaultValue);
    void setProperty(const qelValue& key, const qelValue& value) override;
    virtual void setBool(const qelValue& key, int32_t flag);
    virtual void setInt(const qelValue& key, int32_t n);
    void removeProperty(const qelValue& key) override;
    qelValue propertyAt(int32_t slot) override;
    // "Draw", "Activate", "Deactivate", "Key" (code, modifiers) and "Track" (x, y, modifiers,
    // clicks); any other action answers nil.
    virtual qelValue perform(const qelValue& action, const qelValue& data);
    virtual void draw() { }
    // The pressed look during tracking.
    virtual void drawPressed() { }
    virtual int32_t isVisible();
    virtual int32_t isEnabled();
    virtual int32_t isActive();
    virtual int32_t canActivate();
    virtual void activate();
    virtual void deactivate();
    // Nonzero: the key used the control, and the form handles it.
    virtual int32_t key(int32_t code, int32_t modifiers) { return 0; }
    // Form-local point in the resolved "Hot Spot".
    virtual int32_t hitTest(int32_t x, int32_t y);
    virtual qelValue getHelp();
    virtual qelValue getCursor();
    virtual qelValue cursorAt(int32_t x, int32_t y) { return getCursor(); }
    // What the form keeps while the rollover lasts, handed back to rolloverOff.
    virtual qelValue rolloverOn(int32_t x, int32_t y, int32_t modifiers) { return qelNil; }
    virtual void rolloverOff(int32_t x, int32_t y, int32_t modifiers, const qelValue& state) { }
    // Follows the mouse while the button is held; nonzero when it was last inside the hot spot.
    virtual int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks);
    // One drag of a press (followPress): inside tells whether the tracked area holds the pointer,
    // crossed whether that changed with this drag. Answers whether the control drew. Here: on
    // entering, the control's cursor and the pressed look; on leaving, the normal look and the arrow.
    virtual int32_t pressMoved(int32_t inside, int32_t crossed);
    virtual void trackStart() { }
    virtual void trackChanged() { }
    virtual void trackEnd() { }
    virtual void mediaNotify(const qelValue& first, const qelValue& second) { }
    // When this control is the current form's active control, sets that form's tracking flag and
    // answers the previous one; otherwise 0.
    virtual int32_t setFormTracking(int32_t flag);
    virtual int32_t hotSpotLeft();
    virtual int32_t hotSpotTop();
    virtual int32_t hotSpotWidth();
    virtual int32_t hotSpotHeight();
    // Gives up the focus on the current form when this control has it.
    virtual void releaseFocus();

    int32_t geometryLeft() override { return hotSpotLeft(); }
    int32_t geometryTop() override { return hotSpotTop(); }
    int32_t geometryWidth() override { return hotSpotWidth(); }
    int32_t geometryHeight() override { return hotSpotHeight(); }

    qelValue properties;

    // How a followed press ended: whether the pointer was inside at the last drag (true when there
    // was none), and whether the button-up itself was inside.
    struct PressEnd {
        bool inside = true;
        bool releasedInside = true;
    };

protected:
    // The "Hot Spot" resolved when it is a region, else nil.
    qelValue hotSpot();
    // The press loop of every tracking control: takes drag and button-up events (others stay
    // queued) until the button-up, each made local to the form, and hands every drag to
    // pressMoved. From the first drag that drew on, every drag brings the window up to date and
    // calls trackChanged.
    PressEnd followPress(const qelValue& spot);
};

// The control object of a control value, or null.
qelControlObject* qelControlOf(const qelValue& value);
// A control value over the object (which gains its first reference).
qelValue qelControlValue(qelControlObject* control);
