#pragma once

// Control classes that are registered by name and made from their data tables, with the fields
// their behaviour keeps; what they draw, track and answer beyond the media control layer comes
// with each class's own work.

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class TextField : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    const char* className() const override { return "TextField"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TextField(data); }
    void drawPressed() override { }
    int32_t canActivate() override { return 1; }
    // The field's own rectangle.
    int32_t hotSpotLeft() override { return left; }
    int32_t hotSpotTop() override { return top; }
    int32_t hotSpotWidth() override { return fieldWidth; }
    int32_t hotSpotHeight() override { return fieldHeight; }

    int32_t left = 0;
    int32_t top = 0;
    int32_t fieldWidth = 0;
    int32_t fieldHeight = 0;
    int32_t state = 0;
    qelValue values[6];
};

class TextCombo : public TextField {
public:
    using TextField::TextField;
    const char* className() const override { return "TextCombo"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TextCombo(data); }

    qelValue comboValue;
};

class Group : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    const char* className() const override { return "Group"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Group(data); }

    // The member controls.
    qelValue members;
    int32_t initialized = 0;
};

class RadioGroup : public Group {
public:
    using Group::Group;
    const char* className() const override { return "RadioGroup"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new RadioGroup(data); }
};
