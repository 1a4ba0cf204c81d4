#pragma once

// RadioGroup: a Group of RadioButtons that keeps one of them selected. "Notify" (sent by a
// clicked button) and "SetSelected" (the application's choice), each with a name, select the
// member whose "Name" is that text and deselect every other; other verbs are the Group's.

#include "framework/ui/Group.h"

class RadioGroup : public Group {
public:
    using Group::Group;
    ~RadioGroup() override;

    const char* className() const override { return "RadioGroup"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new RadioGroup(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;

    // Every member performs "Select": true for the one of that name (exact text), false for the
    // others; a name no member has deselects them all.
    virtual void select(const qelValue& name);
};
