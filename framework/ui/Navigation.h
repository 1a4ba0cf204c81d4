#pragma once

// Going from the current form to another. The current form is recorded (unless its "Include In
// History" is the boolean false), then closed; the target (a form value, or a resource name,
// which may name another name) becomes the current form and is opened with the data, then told
// that it is open. Going to the form that is already current only re-enters it.
//
// This plain navigation records the forms left in the environment's history list, without a
// limit; the navigation history (History.h) is its twin with back and forward.

#include "framework/runtime/Value.h"

#include <cstdint>

void qelGoToFormEx(const qelValue& target, const qelValue& data, int32_t record);
// Appends [name, value] to the environment's history list unless the last entry is equal.
void qelPushFormHistory(const qelValue& name, const qelValue& value);

// The steps both navigations share. Whether the current form is to be recorded (it has no
// "Include In History" that is the boolean false).
bool qelFormIsRecorded(const qelValue& form);
// Makes the target the current form (loading it by name when it is not a form value), then
// opens it and tells it so; the current form must already be closed. A target that names no
// form is the error "Cannot find form named '<target>'", and the current form stays nil.
void qelOpenTargetForm(const qelValue& target, const qelValue& data);
// Leaves the current form for the target: records the current form through `push` when
// `record` is set and the form is recorded, runs `afterRecording` (when given) whenever there
// was a current form, then re-enters the form when it is the target (answering false) or closes
// it and opens the target (answering true).
using qelFormRecorder = void (*)(const qelValue& name, const qelValue& value);
bool qelLeaveFormFor(const qelValue& target, const qelValue& data, int32_t record, qelFormRecorder push,
    void (*afterRecording)() = nullptr);
