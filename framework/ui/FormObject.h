#pragma once

// qelFormObject: the framework's screen (value type 23). It owns a property table (the data table
// it was made from, kept itself), the resource table loaded for it, its control list, the control
// that has the focus and the control under the pointer. The environment hands it every input
// event; the form finds the control concerned, activates it, lets it follow the mouse and reports
// finished actions to its own handleControl, which application screens override.
//
// Property lookup reads the property table, then the resource table. Resource names ("Control
// List", "Background Image") resolve through the resource loader, which asks the current form
// first: a form loads its resources only while it is the current form, so navigation makes it
// current before it opens it.
//
// Events arrive in window coordinates; hot spots, rollover and tracking use form-local ones
// (window coordinates minus the form's origin).

#include "framework/display/Geometry.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelControlObject;

class qelFormObject : public qelNamedObject,
                      public qelPropertyProtocol,
                      public qelFormEventProtocol,
                      public qelGeometryProtocol {
public:
    explicit qelFormObject(const qelValue& data);
    ~qelFormObject() override;

    // "(form " followed by the property table's text less its leading "(table ".
    qelValue printString(int32_t typeCode, int32_t quoted) const override;
    const char* className() const override { return "qelFormObject"; }
    qelNamedObject* newInstance(const qelValue& data) override;

    int32_t hasProperty(const qelValue& key) override;
    qelValue getProperty(const qelValue& key) override;
    void setProperty(const qelValue& key, const qelValue& value) override;
    void removeProperty(const qelValue& key) override;
    qelValue propertyAt(int32_t slot) override;
    // "Draw" and "DrawControls"; every action answers nil.
    virtual qelValue perform(const qelValue& action, const qelValue& data);
    virtual qelValue formName() { return name; }
    // Reads "Resource Table" (a table, or a name or reference loaded as a resource) and builds
    // the controls; nothing when the table is loaded already. Answers the resource table.
    qelValue loadResourceTable() override;
    void releaseResourceTable() override;
    virtual void setResourceProperty(const qelValue& key, const qelValue& value);
    virtual int32_t originXValue() { return originX; }
    virtual int32_t originYValue() { return originY; }
    virtual int32_t widthValue() { return width; }
    virtual int32_t heightValue() { return height; }
    // The background image at the port origin, then the controls.
    virtual void draw();
    virtual void createControls();
    // Every visible control in list order: later ones paint over earlier ones.
    virtual void drawControls();
    virtual qelValue controlList();
    virtual qelValue setControlList(const qelValue& list);
    // The first control whose property under the key, resolved, equals the value resolved.
    virtual qelValue findControl(const qelValue& key, const qelValue& value);
    // The first enabled control in list order whose hit test holds at the window point: the
    // earlier control wins where controls overlap, although the later one is drawn on top.
    virtual qelValue controlAt(int32_t x, int32_t y);
    virtual void setActiveControl(const qelValue& control, int32_t on);
    virtual qelValue activeControlValue() { return activeControl; }
    virtual void setControlEnabled(const qelValue& control, int32_t enable);
    virtual void setControlHidden(const qelValue& control, int32_t hide);
    // x and y form-local.
    virtual int32_t trackControl(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, int32_t clicks);
    // A control reports that it was used: the base follows its "Target Form".
    virtual void handleControl(const qelValue& control);
    virtual qelValue rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers);
    virtual void rolloverOff(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue& state);
    virtual void open(const qelValue& data);
    virtual void afterOpen() { }
    // Navigation calls this instead of close and open when the form is already current.
    virtual void reenter(const qelValue& data) { }
    void close() override;
    // What navigation records with the form's name; the form gets it back as its open data.
    virtual qelValue historyText() { return qelNil; }
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    void mouseDrag(int32_t x, int32_t y, int32_t modifiers) override { }
    void mouseUp(int32_t x, int32_t y, int32_t modifiers) override { }
    void key(int32_t code, int32_t modifiers) override;
    void keyUp(int32_t code, int32_t modifiers) override { }
    void activate() override;
    void deactivate() override;
    void mediaNotify(const qelValue& first, const qelValue& second) override;
    void tick() override { }
    void idle() override { }
    virtual void command(int32_t code) { }
    void notify(int32_t parameter) override { }
    virtual void valueHook(const qelValue& value) { }
    void globalToLocal(int32_t& x, int32_t& y) override;
    qelEvent& globalToLocal(qelEvent& event);
    qelEvent& localToGlobal(qelEvent& event);
    // Stores the flag and answers the previous one.
    virtual int32_t setTracking(int32_t flag);

    int32_t geometryLeft() override { return originX; }
    int32_t geometryTop() override { return originY; }
    int32_t geometryWidth() override { return width; }
    int32_t geometryHeight() override { return height; }

    qelValue name;
    qelValue controls;
    qelValue activeControl;
    qelValue rolloverControl;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t width = 0;
    int32_t height = 0;
    qelValue rolloverState;
    int32_t tracking = 0;
    qelValue properties;
    qelValue resources;

private:
    // The control value, resolved, when it holds a control.
    static qelControlObject* controlObject(const qelValue& value);
};

// The form object of a form value, or null.
qelFormObject* qelFormOf(const qelValue& value);
qelValue qelFormValue(qelFormObject* form);
