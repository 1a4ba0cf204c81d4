#pragma once

// Actions: a named verb and a data value sent to a form or a control. Each class answers its own
// verbs and hands the others to its base; the verbs compare byte for byte ("Draw" is not
// "draw"). Any other target (references included: they are not followed) is the type error of
// argument 1 of "qelPerform(frmOrCtrl,action,data)", and the answer is nil.

#include "framework/runtime/Value.h"

qelValue qelPerform(const qelValue& target, const qelValue& action, const qelValue& data);
qelValue qelPerformAction(const qelValue& target, const qelValue& action);
