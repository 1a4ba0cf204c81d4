#pragma once

// Group: an invisible control that holds other controls of its form ("List": control values or
// references to them, resolved at each use) and shows, hides, enables, disables and draws them
// together. Made ready by the form (or by its first verb), it hides and disables itself, so that
// only its members are seen and hit. Verbs: "isVisible", "isEnabled" (the group's "Visible" and
// "Enabled"), "Show" and "Enable" (truth), "AddControl", "DelControl", "Draw"; any other verb
// answers nil.

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class Group : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    ~Group() override;

    const char* className() const override { return "Group"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Group(data); }
    void initialize() override { init(); }
    qelValue perform(const qelValue& action, const qelValue& data) override;

    // Takes "List" as the member list (the same list, not a copy) or stores a new empty one.
    virtual void init();
    // Every member's "Hidden" becomes the opposite of the flag, then the member draws.
    virtual void show(int32_t flag);
    // Every member's "Disabled" becomes the opposite of the flag; nothing is drawn.
    virtual void enable(int32_t flag);
    virtual void addControl(const qelValue& control);
    // Removes every entry equal to the control.
    virtual void delControl(const qelValue& control);
    virtual void drawMembers();

    qelValue members;
    int32_t initialized = 0;

protected:
    // Member i, a reference followed; nil past the end.
    qelValue member(int32_t index);
};
