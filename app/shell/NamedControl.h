#pragma once

// A screen's or dialog's control by name: the control its property of that name refers to, else
// the one whose "Name" it is (a control the resource lists without a property of its own).

#include "framework/runtime/Value.h"

class qelFormObject;

qelValue namedControl(qelFormObject& form, const char* name);
